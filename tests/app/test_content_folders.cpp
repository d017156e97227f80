#include "ContentFolders.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(ContentFolders, ConfigFolderIsPlainConcatenation)
{
    struct Case {
        const char* programFolder;
        const char* configFolder;
    };
    const Case cases[] = {
        {"/home/ana/kit", "/home/ana/kit/config/"},
        {"/", "//config/"}, // a root keeps its separator, and the literal still adds one
        {"/srv/a b/Kit", "/srv/a b/Kit/config/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.programFolder);
        EXPECT_EQ(configFolderOf(QString::fromUtf8(c.programFolder)).toStdString(), c.configFolder);
    }
}

TEST(ContentFolders, BackslashesBecomeTheNativeSeparatorAndNothingElseChanges)
{
    EXPECT_EQ(mapSeparators(QStringLiteral("\\atividades\\3A\\mat\\fracoes.swf")).toStdString(),
              "/atividades/3A/mat/fracoes.swf");
    EXPECT_EQ(mapSeparators(QStringLiteral("\\\\x\\..\\y z")).toStdString(), "//x/../y z");
    EXPECT_EQ(mapSeparators(QString()).toStdString(), "");
}

TEST(ContentFolders, AreReadOnceFromTheCurrentDirectory)
{
    const QString before = QDir::currentPath();
    QTemporaryDir kit;
    ASSERT_TRUE(QDir::setCurrent(kit.path()));
    initialiseFolders();
    const QString expected = QDir::currentPath();

    ASSERT_TRUE(QDir::setCurrent(QDir::rootPath()));
    EXPECT_EQ(pasta_prog, expected);
    EXPECT_EQ(pasta_config, expected + QStringLiteral("/config/"));

    initialiseFolders();
    EXPECT_EQ(pasta_prog.toStdString(), "/");
    EXPECT_EQ(pasta_config.toStdString(), "//config/");
    QDir::setCurrent(before);
}
