#include "ProgramStarter.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace
{

// Writes an executable shell script that leaves `marker` behind when it runs.
void writeScript(const QString& path, const QString& marker)
{
    QFile script(path);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\necho ran > '" + marker.toUtf8() + "'\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

bool appears(const QString& path)
{
    QDeadlineTimer deadline(10000);
    while (!QFile::exists(path) && !deadline.hasExpired())
        QThread::msleep(10);
    return QFile::exists(path);
}

} // namespace

TEST(ProgramStarter, RunsTheWholePathAsOneProgramNeverThroughAShell)
{
    QTemporaryDir kit;
    const QString marker = kit.filePath(QStringLiteral("ran"));
    // Every shell metacharacter stays part of the file name.
    const QString name = QStringLiteral("a;b $(touch injected) `touch injected2` c&d.sh");
    writeScript(kit.filePath(name), marker);

    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(kit.path()));
    startProgram(kit.filePath(name));
    EXPECT_TRUE(appears(marker));
    EXPECT_FALSE(QFile::exists(kit.filePath(QStringLiteral("injected"))));
    EXPECT_FALSE(QFile::exists(kit.filePath(QStringLiteral("injected2"))));
    QDir::setCurrent(before);
}

TEST(ProgramStarter, FindsTheProgramWhenOnlyCaseDiffers)
{
    QTemporaryDir kit;
    const QString marker = kit.filePath(QStringLiteral("ran"));
    QDir(kit.path()).mkpath(QStringLiteral("Atividades"));
    writeScript(kit.filePath(QStringLiteral("Atividades/Jogo.SH")), marker);
    startProgram(kit.filePath(QStringLiteral("atividades/jogo.sh")));
    EXPECT_TRUE(appears(marker));
}

TEST(ProgramStarter, FailuresPassSilently)
{
    QTemporaryDir kit;
    QFile notExecutable(kit.filePath(QStringLiteral("texto.txt")));
    ASSERT_TRUE(notExecutable.open(QIODevice::WriteOnly));
    notExecutable.write("just text\n");
    notExecutable.close();
    QFile windowsProgram(kit.filePath(QStringLiteral("jogo.exe")));
    ASSERT_TRUE(windowsProgram.open(QIODevice::WriteOnly));
    windowsProgram.write("MZ\x90\x00");
    windowsProgram.close();

    startProgram(notExecutable.fileName());
    startProgram(windowsProgram.fileName());
    startProgram(kit.filePath(QStringLiteral("nada.exe")));
    startProgram(kit.path());
    startProgram(QString());
}
