#include "ContentFolderChoice.h"
#include "PlatformChoice.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

// A scratch folder with one content folder ("Conteudo", whose config folder is spelt in capitals
// as Windows media have it), one folder without content and one remembered content folder.
class ContentFolderChoiceTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        QDir root(m_root.path());
        ASSERT_TRUE(root.mkpath(QStringLiteral("Conteudo/CONFIG")));
        ASSERT_TRUE(root.mkpath(QStringLiteral("Lembrado/config")));
        ASSERT_TRUE(root.mkpath(QStringLiteral("Vazio")));
    }

    QString path(const char* name) const { return m_root.filePath(QString::fromUtf8(name)); }

    // Runs the choice with the user picking `picks` in turn (an empty text cancels).
    std::optional<QString> choose(const QStringList& arguments, const QString& current,
                                  const QString& remembered, QStringList picks = {})
    {
        const ContentFolderChoice choice(
            remembered, path("Conteudo"),
            {.pickFolder = [&, picks](const QString& start) mutable -> std::optional<QString> {
                 starts.append(start);
                 if (picks.isEmpty() || picks.first().isEmpty())
                     return std::nullopt;
                 return picks.takeFirst();
             },
             .refuse = [&](const QString& message) { refusals.append(message); }});
        return choice.choose(QStringList{QStringLiteral("quorvane")} + arguments, current);
    }

    QTemporaryDir m_root;
    QStringList starts;
    QStringList refusals;
};

TEST_F(ContentFolderChoiceTest, TheOptionComesFirstAndIsResolvedFromTheCurrentFolder)
{
    EXPECT_EQ(choose({QStringLiteral("--content"), QStringLiteral("Conteudo")}, m_root.path(),
                     path("Lembrado")),
              path("Conteudo"));
    EXPECT_EQ(choose({QStringLiteral("--content=") + path("Lembrado")}, path("Conteudo"), {}),
              path("Lembrado"));
    EXPECT_TRUE(starts.isEmpty());
    EXPECT_TRUE(refusals.isEmpty());
}

TEST_F(ContentFolderChoiceTest, AnOptionWithoutContentIsRefusedByNameAndEndsTheProgram)
{
    EXPECT_EQ(
        choose({QStringLiteral("--content"), path("Vazio")}, path("Conteudo"), path("Lembrado")),
        std::nullopt);
    ASSERT_EQ(refusals.size(), 1);
    EXPECT_EQ(refusals[0], QStringLiteral("A pasta \"%1\" não tem conteúdo: falta a pasta "
                                          "\"config\".")
                               .arg(path("Vazio")));
    EXPECT_TRUE(starts.isEmpty()) << "nothing asked when the folder was given";
}

TEST_F(ContentFolderChoiceTest, ACurrentFolderWithContentWinsOverTheRememberedOne)
{
    EXPECT_EQ(choose({}, path("Conteudo"), path("Lembrado")), path("Conteudo"));
    EXPECT_EQ(choose({}, path("Vazio"), path("Lembrado")), path("Lembrado"));
    EXPECT_TRUE(starts.isEmpty());
}

TEST_F(ContentFolderChoiceTest, WithNoFolderKnownTheUserIsAskedUntilAFolderHoldsContent)
{
    EXPECT_EQ(choose({}, path("Vazio"), path("Gone"), {path("Vazio"), path("Lembrado")}),
              path("Lembrado"));
    EXPECT_EQ(starts, (QStringList{path("Conteudo"), path("Vazio")}));
    ASSERT_EQ(refusals.size(), 1);
    EXPECT_TRUE(refusals[0].contains(path("Vazio")));
}

TEST_F(ContentFolderChoiceTest, CancellingTheChooserEndsTheProgram)
{
    EXPECT_EQ(choose({}, path("Vazio"), QString(), {QString()}), std::nullopt);
    EXPECT_EQ(starts.size(), 1);
    EXPECT_TRUE(refusals.isEmpty());
}

TEST(PlatformChoice, WaylandSessionsRunOnXWaylandUnlessTheUserChoseAPlatform)
{
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, const char*>> variables;
        bool xwayland;
    };
    const Case cases[] = {
        {"X11 session", {{"DISPLAY", ":0"}, {"XDG_SESSION_TYPE", "x11"}}, false},
        {"Wayland with XWayland", {{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}}, true},
        {"Wayland session type", {{"XDG_SESSION_TYPE", "wayland"}, {"DISPLAY", ":1"}}, true},
        {"Wayland, no XWayland", {{"WAYLAND_DISPLAY", "wayland-0"}}, false},
        {"user's choice",
         {{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "wayland"}},
         false},
        {"no display at all", {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QProcessEnvironment environment;
        for (const auto& [name, value] : c.variables)
            environment.insert(QString::fromLatin1(name), QString::fromLatin1(value));
        EXPECT_EQ(runsOnXWayland(environment), c.xwayland);
    }
}

} // namespace
