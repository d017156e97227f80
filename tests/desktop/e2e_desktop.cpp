#include "Desktop.h"
#include "ProgramSession.h"
#include "ProgramWindows.h"

#include <QDir>
#include <QTest>
#include <QThread>

#include <functional>
#include <memory>

using namespace desktop;
using namespace std::chrono_literals;

// The whole program on a real desktop: openbox manages its windows and every click and key is
// real X input. Each row walks one way into a window and one way out of it, then goes on with
// the journey, so a way out that leaves the program in a bad state shows in the next step.
class DesktopJourneyTest final : public QObject
{
    Q_OBJECT

public:
    enum class Opening { TwoClicks, DoubleClick, TileThenOk, Keyboard };
    enum class Closing { OwnButton, CloseButton, AltF4, EscapeFirst };
    Q_ENUM(Opening)
    Q_ENUM(Closing)

private:
    std::unique_ptr<Desktop> m_desktop;
    std::unique_ptr<ProgramSession> m_session;

    // Runs a journey, turning a failed expectation into the test's failure.
    void walk(const std::function<void(ProgramSession&)>& journey)
    {
        try {
            journey(*m_session);
        } catch (const std::exception& error) {
            QFAIL(error.what());
        }
    }

    static void pause(std::chrono::milliseconds time) { QThread::msleep(time.count()); }

    // A child window of the menus appears exactly over the grade menu, not first elsewhere.
    static void expectOver(ProgramSession& session, const Window& child, WindowId gradeMenu)
    {
        const auto grade = session.desktop().window(gradeMenu).value_or(Window{});
        if (child.frame.topLeft() == grade.frame.topLeft())
            return;
        const auto text = [](const QRect& r) {
            return QStringLiteral("%1,%2 %3x%4")
                .arg(r.x())
                .arg(r.y())
                .arg(r.width())
                .arg(r.height());
        };
        throw SessionError(
            QStringLiteral("%1 appeared at %2 (client %3), the grade menu is at %4")
                .arg(child.title, text(child.frame), text(child.client), text(grade.frame))
                .toStdString());
    }

    // Presses Tab, as a user looking for the focus would, until a window of `kind` is active.
    static Window tabUntil(ProgramSession& session, WindowKind kind)
    {
        for (int press = 0; press < 8; ++press) {
            session.desktop().key(QStringLiteral("Tab"));
            pause(300ms);
            const auto active = session.desktop().activeWindow();
            if (active && kindOf(*active) == kind)
                return session.expectActive(kind);
        }
        return session.expectActive(kind, 1s);
    }

    // Opens the window `to` from the active `from` by a tile and its Ok button, or by the
    // keyboard (the first tile the focus reaches).
    static Window open(ProgramSession& session, WindowKind from, WindowKind to, QPoint tile,
                       QPoint ok, Opening how)
    {
        Desktop& desktop = session.desktop();
        const Window window = session.expectActive(from);
        switch (how) {
        case Opening::TwoClicks:
            desktop.click(window.id, tile);
            pause(400ms);
            desktop.click(window.id, tile);
            break;
        case Opening::DoubleClick:
            desktop.doubleClick(window.id, tile);
            break;
        case Opening::TileThenOk:
            desktop.click(window.id, tile);
            pause(400ms);
            desktop.click(window.id, ok);
            break;
        case Opening::Keyboard:
            return tabUntil(session, to);
        }
        return session.expectActive(to);
    }

    // The subject menu for year 3 (year 1 by the keyboard).
    static Window openSubjectMenu(ProgramSession& session, Opening how)
    {
        return open(session, WindowKind::GradeMenu, WindowKind::SubjectMenu, at::yearTile(3),
                    at::gradeOk, how);
    }

    // The activities window on Ciências (Matemática by the keyboard).
    static Window openActivities(ProgramSession& session, Opening how)
    {
        return open(session, WindowKind::SubjectMenu, WindowKind::Activities,
                    at::subjectTile(5, false), at::subjectOk, how);
    }

    // Closes the active window of `kind` and expects `below` to become active.
    static void close(ProgramSession& session, WindowKind kind, Closing how, QPoint ownButton,
                      WindowKind below)
    {
        Desktop& desktop = session.desktop();
        const Window window = session.expectActive(kind);
        switch (how) {
        case Closing::EscapeFirst:
            desktop.key(QStringLiteral("Escape"));
            pause(500ms);
            session.expectActive(kind, 1s); // Escape closes nothing
            [[fallthrough]];
        case Closing::OwnButton:
            if (ownButton.isNull())
                desktop.clickCloseButton(window);
            else
                desktop.click(window.id, ownButton);
            break;
        case Closing::CloseButton:
            desktop.clickCloseButton(window);
            break;
        case Closing::AltF4:
            desktop.key(QStringLiteral("alt+F4"));
            break;
        }
        session.expectActive(below);
    }

    // From the grade menu: one more subject menu and back, then Sair ends the program.
    static void finishJourney(ProgramSession& session)
    {
        openSubjectMenu(session, Opening::TwoClicks);
        close(session, WindowKind::SubjectMenu, Closing::OwnButton, at::subjectVoltar,
              WindowKind::GradeMenu);
        const Window grade = session.expectActive(WindowKind::GradeMenu);
        session.desktop().click(grade.id, at::gradeSair);
        session.expectExit();
    }

    static void addRows()
    {
        QTest::addColumn<Opening>("opening");
        QTest::addColumn<Closing>("closing");
        for (const Opening opening :
             {Opening::TwoClicks, Opening::DoubleClick, Opening::TileThenOk, Opening::Keyboard}) {
            for (const Closing closing :
                 {Closing::OwnButton, Closing::CloseButton, Closing::AltF4, Closing::EscapeFirst}) {
                QTest::addRow("%s, %s", QMetaEnum::fromType<Opening>().valueToKey(int(opening)),
                              QMetaEnum::fromType<Closing>().valueToKey(int(closing)))
                    << opening << closing;
            }
        }
    }

private slots:
    void initTestCase() { m_desktop = std::make_unique<Desktop>(); }

    // The program of this build on the demo, started in its folder; or, to check an installed
    // tree, QUORVANE_TEST_PROGRAM started elsewhere with --content QUORVANE_TEST_CONTENT.
    void init()
    {
        const QString installedContent = qEnvironmentVariable("QUORVANE_TEST_CONTENT");
        const QString program =
            qEnvironmentVariable("QUORVANE_TEST_PROGRAM", QStringLiteral(QUORVANE_PROGRAM));
        m_session = installedContent.isEmpty()
                        ? std::make_unique<ProgramSession>(*m_desktop, program,
                                                           QStringLiteral(QUORVANE_DEMO_DIR))
                        : std::make_unique<ProgramSession>(
                            *m_desktop, program, QDir::tempPath(),
                            QStringList{QStringLiteral("--content"), installedContent});
    }

    void cleanup() { m_session.reset(); }

    void subjectMenuClosesEveryWay_data() { addRows(); }
    void subjectMenuClosesEveryWay()
    {
        QFETCH(Opening, opening);
        QFETCH(Closing, closing);
        walk([&](ProgramSession& session) {
            const Window grade = session.expectActive(WindowKind::GradeMenu);
            const Window subjects = openSubjectMenu(session, opening);
            expectOver(session, subjects, grade.id);
            close(session, WindowKind::SubjectMenu, closing, at::subjectVoltar,
                  WindowKind::GradeMenu);
            finishJourney(session);
        });
    }

    void activitiesWindowClosesEveryWay_data() { addRows(); }
    void activitiesWindowClosesEveryWay()
    {
        QFETCH(Opening, opening);
        QFETCH(Closing, closing);
        walk([&](ProgramSession& session) {
            const Window grade = session.expectActive(WindowKind::GradeMenu);
            openSubjectMenu(session, opening);
            const Window activities = openActivities(session, opening);
            expectOver(session, activities, grade.id);
            close(session, WindowKind::Activities, closing, at::activitiesVoltar,
                  WindowKind::SubjectMenu);
            close(session, WindowKind::SubjectMenu, Closing::OwnButton, at::subjectVoltar,
                  WindowKind::GradeMenu);
            finishJourney(session);
        });
    }

    void playerWindowClosesEveryWay_data()
    {
        QTest::addColumn<QString>("openingKey");
        QTest::addColumn<Closing>("closing");
        for (const QString& key :
             {QString(), QStringLiteral("Return"), QStringLiteral("KP_Enter")}) {
            for (const Closing closing :
                 {Closing::CloseButton, Closing::AltF4, Closing::EscapeFirst}) {
                QTest::addRow("%s, %s", key.isEmpty() ? "double-click" : qPrintable(key),
                              QMetaEnum::fromType<Closing>().valueToKey(int(closing)))
                    << key << closing;
            }
        }
    }
    void playerWindowClosesEveryWay()
    {
        QFETCH(QString, openingKey);
        QFETCH(Closing, closing);
        walk([&](ProgramSession& session) {
            openSubjectMenu(session, Opening::TwoClicks);
            const Window activities = openActivities(session, Opening::TwoClicks);
            // A click on the second row makes it current and gives the list the focus.
            session.desktop().click(activities.id, at::listRow(1));
            pause(300ms);
            if (openingKey.isEmpty())
                session.desktop().doubleClick(activities.id, at::listRow(1));
            else
                session.desktop().key(openingKey);
            const Window player = session.expectActive(WindowKind::Player);
            if (!player.maximised)
                throw SessionError("the player window is not maximised");
            close(session, WindowKind::Player, closing, {}, WindowKind::Activities);
            close(session, WindowKind::Activities, Closing::OwnButton, at::activitiesVoltar,
                  WindowKind::SubjectMenu);
            close(session, WindowKind::SubjectMenu, Closing::OwnButton, at::subjectVoltar,
                  WindowKind::GradeMenu);
            finishJourney(session);
        });
    }

    void gradeMenuEndsTheProgram_data()
    {
        QTest::addColumn<Closing>("closing");
        QTest::newRow("Sair") << Closing::OwnButton;
        QTest::newRow("close button") << Closing::CloseButton;
        QTest::newRow("Alt+F4") << Closing::AltF4;
    }
    void gradeMenuEndsTheProgram()
    {
        QFETCH(Closing, closing);
        walk([&](ProgramSession& session) {
            const Window grade = session.expectActive(WindowKind::GradeMenu);
            if (closing == Closing::OwnButton)
                session.desktop().click(grade.id, at::gradeSair);
            else if (closing == Closing::CloseButton)
                session.desktop().clickCloseButton(grade);
            else
                session.desktop().key(QStringLiteral("alt+F4"));
            session.expectExit();
        });
    }

    void wholeJourneyByKeyboard()
    {
        walk([&](ProgramSession& session) {
            openSubjectMenu(session, Opening::Keyboard);
            openActivities(session, Opening::Keyboard);
            // The list comes after the logo and the back button in the tab order.
            for (int press = 0; press < 6; ++press) {
                session.desktop().key(QStringLiteral("Tab"));
                session.desktop().key(QStringLiteral("Return"));
                pause(400ms);
                const auto active = session.desktop().activeWindow();
                if (active && kindOf(*active) == WindowKind::Player)
                    break;
            }
            session.expectActive(WindowKind::Player);
            for (const WindowKind below :
                 {WindowKind::Activities, WindowKind::SubjectMenu, WindowKind::GradeMenu}) {
                session.desktop().key(QStringLiteral("alt+F4"));
                session.expectActive(below);
            }
            session.desktop().key(QStringLiteral("alt+F4"));
            session.expectExit();
        });
    }
};

QTEST_GUILESS_MAIN(DesktopJourneyTest)
#include "e2e_desktop.moc"
