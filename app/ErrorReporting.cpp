#include "ErrorReporting.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>

QString applicationTitle(const QString& programFilePath)
{
    const QString fileName = QFileInfo(programFilePath).fileName();
    const QString name = fileName.left(fileName.indexOf(QLatin1Char('.')));
    return name.left(1) + name.mid(1).toLower();
}

QString withFullStop(const QString& text)
{
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        return text + QLatin1Char('.');
    return text;
}

void showErrorBox(const QString& text)
{
    QMessageBox box(QMessageBox::Critical,
                    applicationTitle(QCoreApplication::applicationFilePath()), withFullStop(text),
                    QMessageBox::Ok);
    box.exec();
}
