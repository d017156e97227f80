#include "ContentPath.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

class ContentPath : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_root.isValid()); }

    QString path(const char* relative) const
    {
        return m_root.path() + QLatin1Char('/') + QString::fromUtf8(relative);
    }

    void touch(const char* relative) const
    {
        const QString file = path(relative);
        QDir().mkpath(file.left(file.lastIndexOf(QLatin1Char('/'))));
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    }

    QTemporaryDir m_root;
};

} // namespace

TEST_F(ContentPath, ExactPathIsReturnedAsItIs)
{
    touch("config/3ANO.swf");
    touch("config/3ano.swf");
    EXPECT_EQ(resolveContentPath(path("config/3ANO.swf")), path("config/3ANO.swf"));
    EXPECT_EQ(resolveContentPath(path("config//3ano.swf")), path("config//3ano.swf"));
}

TEST_F(ContentPath, FindsNamesThatDifferOnlyInCaseInEveryComponent)
{
    touch("CONFIG/3ano.swf");
    touch("Atividades/3a/MAT/Fracoes.SWF");
    EXPECT_EQ(resolveContentPath(path("config/3ANO.swf")), path("CONFIG/3ano.swf"));
    EXPECT_EQ(resolveContentPath(path("atividades/3A/mat/fracoes.swf")),
              path("Atividades/3a/MAT/Fracoes.SWF"));
    // The doubled separator of a root-based config folder does not get in the way.
    EXPECT_EQ(resolveContentPath(m_root.path() + QStringLiteral("//config/3ANO.swf")),
              path("CONFIG/3ano.swf"));
}

TEST_F(ContentPath, PrefersTheExactComponentOverCaseVariants)
{
    touch("Config/logo.swf");
    touch("config/Logo.swf");
    touch("config/LOGO.swf");
    // "config" exists exactly, so the other folder is never looked into.
    EXPECT_EQ(resolveContentPath(path("config/logo.SWF")), path("config/LOGO.swf"));
}

TEST_F(ContentPath, ChoosesTheFirstInCodePointOrderAmongSeveralCaseVariants)
{
    touch("x/Ok.swf");
    touch("x/OK.swf");
    touch("x/ok.SWF");
    EXPECT_EQ(resolveContentPath(path("x/ok.swf")), path("x/OK.swf"));
}

TEST_F(ContentPath, LeavesThePathUnchangedWhenAComponentIsMissing)
{
    touch("config/logo.swf");
    EXPECT_EQ(resolveContentPath(path("konfig/logo.swf")), path("konfig/logo.swf"));
    EXPECT_EQ(resolveContentPath(path("config/nada.swf")), path("config/nada.swf"));
    EXPECT_EQ(resolveContentPath(QString()), QString());
}

TEST_F(ContentPath, ResolvesFoldersToo)
{
    touch("CONFIG/logo.swf");
    EXPECT_EQ(resolveContentPath(path("config/")), path("CONFIG/"));
}
