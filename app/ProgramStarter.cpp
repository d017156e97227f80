#include "ProgramStarter.h"

#include "ContentPath.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace
{

bool isWindowsProgram(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(2) == "MZ";
}

} // namespace

void startProgram(const QString& path)
{
    const QString program = resolveContentPath(path);
    if (!isWindowsProgram(program)) {
        QProcess::startDetached(program, {});
        return;
    }
    const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
    if (!wine.isEmpty())
        QProcess::startDetached(wine, {program});
}
