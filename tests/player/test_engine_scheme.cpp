#include "EngineScheme.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

class EngineSchemeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_base.isValid());
        const QDir base(m_base.path());
        ASSERT_TRUE(base.mkpath(QStringLiteral("engine/ruffle")));
        ASSERT_TRUE(base.mkpath(QStringLiteral("program/config")));
        ASSERT_TRUE(base.mkpath(QStringLiteral("program/Atividades 3/ciências")));
        ASSERT_TRUE(base.mkpath(QStringLiteral("outside")));
        for (const char* file :
             {"engine/player.html", "engine/ruffle/ruffle.js", "program/config/Sair.swf",
              "program/Atividades 3/ciências/Aula #1?.swf", "outside/secret.txt"}) {
            QFile out(base.filePath(QString::fromUtf8(file)));
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        }
        ASSERT_TRUE(QFile::link(base.filePath(QStringLiteral("outside/secret.txt")),
                                base.filePath(QStringLiteral("program/config/link.swf"))));
        ASSERT_TRUE(QFile::link(base.filePath(QStringLiteral("outside")),
                                base.filePath(QStringLiteral("program/elsewhere"))));
        m_roots = {base.filePath(QStringLiteral("engine")),
                   base.filePath(QStringLiteral("program"))};
    }

    [[nodiscard]] QString path(const char* relative) const
    {
        return QFileInfo(QDir(m_base.path()).filePath(QString::fromUtf8(relative)))
            .canonicalFilePath();
    }

    QTemporaryDir m_base;
    player::EngineRoots m_roots;
};

TEST_F(EngineSchemeTest, AnswersFilesBelowItsRoots)
{
    struct Case {
        const char* url;
        const char* file;
    };
    const Case cases[] = {
        {"quorvane-player://local/engine/player.html", "engine/player.html"},
        {"quorvane-player://local/engine/ruffle/ruffle.js", "engine/ruffle/ruffle.js"},
        {"quorvane-player://local/content/config/Sair.swf", "program/config/Sair.swf"},
        // Content names are matched without case, as on the media the content comes from.
        {"quorvane-player://local/content/CONFIG/sair.SWF", "program/config/Sair.swf"},
        {"quorvane-player://local/content/Atividades%203/ci%C3%AAncias/Aula%20%231%3F.swf",
         "program/Atividades 3/ciências/Aula #1?.swf"},
        {"quorvane-player://local/engine/player.html?renderer=canvas", "engine/player.html"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        const auto file = player::fileForUrl(m_roots, QUrl(QString::fromUtf8(c.url)));
        ASSERT_TRUE(file);
        EXPECT_EQ(file->toStdString(), path(c.file).toStdString());
    }
}

TEST_F(EngineSchemeTest, RefusesEverythingElse)
{
    const char* const urls[] = {
        "quorvane-player://local/content/../outside/secret.txt",
        "quorvane-player://local/content/%2e%2e/outside/secret.txt",
        "quorvane-player://local/content/config/..%2F..%2Foutside/secret.txt",
        "quorvane-player://local/engine/../program/config/Sair.swf",
        "quorvane-player://local/content//etc/passwd",
        "quorvane-player://local/content/%2Fetc/passwd",
        "quorvane-player://local//etc/passwd",
        "quorvane-player://local/etc/passwd",
        "quorvane-player://local/content/config/link.swf",      // a link leading out
        "quorvane-player://local/content/elsewhere/secret.txt", // a folder link leading out
        "quorvane-player://local/content/config",               // a folder
        "quorvane-player://local/content/config/",
        "quorvane-player://local/content/config/Missing.swf",
        "quorvane-player://local/content/./config/Sair.swf",
        "quorvane-player://other/content/config/Sair.swf",
        "file:///etc/passwd",
        "https://local/content/config/Sair.swf",
    };
    for (const char* url : urls) {
        SCOPED_TRACE(url);
        EXPECT_FALSE(player::fileForUrl(m_roots, QUrl(QString::fromUtf8(url))));
    }
}

TEST_F(EngineSchemeTest, MovieUrlsLeadBackToTheirFiles)
{
    for (const char* movie :
         {"program/config/Sair.swf", "program/Atividades 3/ciências/Aula #1?.swf"}) {
        SCOPED_TRACE(movie);
        const auto url = player::contentUrl(m_roots, path(movie));
        ASSERT_TRUE(url);
        const auto file = player::fileForUrl(m_roots, *url);
        ASSERT_TRUE(file);
        EXPECT_EQ(file->toStdString(), path(movie).toStdString());
    }
}

TEST_F(EngineSchemeTest, MoviesOutsideTheProgramFolderGetNoUrl)
{
    EXPECT_FALSE(player::contentUrl(m_roots, path("outside/secret.txt")));
    EXPECT_FALSE(player::contentUrl(m_roots, path("engine/player.html")));
    EXPECT_FALSE(player::contentUrl(m_roots, path("program/config/link.swf")));
    EXPECT_FALSE(player::contentUrl(m_roots, m_roots.content));
}

} // namespace
