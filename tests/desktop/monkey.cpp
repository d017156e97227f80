// Random but plausible input to the whole program on a real desktop, for a fixed time: clicks
// and double-clicks on the controls of whichever window is active, keys, typing, closing,
// minimising and restoring windows. Every action is logged with the seed, so a failure is
// replayed with --seed. Ends with a summary; the exit code is 1 when the program crashed,
// hung (did not answer the window manager's ping within 5 s) or reported a sanitizer error.
//
//   quorvane-monkey --program PATH --content FOLDER [--seconds N] [--seed S]

#include "Desktop.h"
#include "ProgramRun.h"
#include "ProgramWindows.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QSet>
#include <QThread>

#include <cstdio>
#include <memory>
#include <random>
#include <vector>

using namespace desktop;
using namespace std::chrono_literals;

namespace
{

struct Tally {
    int actions = 0;
    int runs = 0;
    int windowsOpened = 0;
    int crashes = 0;
    int hangs = 0;
    int sanitizerReports = 0;
};

class Monkey final
{
public:
    Monkey(QString program, QString content, std::uint32_t seed)
        : m_program(std::move(program))
        , m_content(std::move(content))
        , m_random(seed)
    {
    }

    [[nodiscard]] Tally run(std::chrono::seconds length)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < std::chrono::milliseconds(length).count()) {
            ensureRunning();
            act();
            QThread::msleep(pick(80, 400));
            check();
        }
        if (m_run)
            check();
        return m_tally;
    }

private:
    void log(const QString& text) const
    {
        std::printf("%6d %s\n", m_tally.actions, qPrintable(text));
        std::fflush(stdout);
    }

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    bool chance(int percent) { return pick(1, 100) <= percent; }

    template <typename T>
    const T& oneOf(const std::vector<T>& items)
    {
        return items.at(static_cast<std::size_t>(pick(0, int(items.size()) - 1)));
    }

    void ensureRunning()
    {
        if (m_run && m_run->running())
            return;
        m_run = std::make_unique<ProgramRun>(m_program, m_content);
        ++m_tally.runs;
        log(QStringLiteral("start the program (run %1, pid %2)")
                .arg(m_tally.runs)
                .arg(m_run->pid()));
        // A user waits for the first window before doing anything.
        QElapsedTimer clock;
        clock.start();
        while (m_desktop.windowsOf(m_run->pid()).empty() && clock.elapsed() < 15000)
            QThread::msleep(50);
    }

    void check()
    {
        const QString report = m_run->sanitizerReport();
        if (!report.isEmpty()) {
            ++m_tally.sanitizerReports;
            log(QStringLiteral("SANITIZER REPORT\n") + report);
            m_run->kill();
        } else if (m_run->crashed()) {
            ++m_tally.crashes;
            log(QStringLiteral("CRASH\n") + m_run->output().right(4000));
        } else if (!m_run->running()) {
            log(QStringLiteral("the program ended (code %1)").arg(m_run->exitCode()));
        } else if (const auto active = activeProgramWindow();
                   active && !m_desktop.answersPing(active->id, 5s)) {
            silent();
        }
        if (m_run->running())
            countNewWindows();
    }

    // A program that stops answering is hung, unless it is dying of a sanitizer's report, whose
    // writing can take longer than the ping's patience.
    void silent()
    {
        if (m_run->waitForExit(10s) && !m_run->sanitizerReport().isEmpty()) {
            ++m_tally.sanitizerReports;
            log(QStringLiteral("SANITIZER REPORT\n") + m_run->sanitizerReport());
            return;
        }
        ++m_tally.hangs;
        log(QStringLiteral("HANG: no answer to the window manager's ping for 5 s"));
        m_run->kill();
    }

    void countNewWindows()
    {
        for (const Window& window : m_desktop.windowsOf(m_run->pid())) {
            if (!m_seen.contains(window.id)) {
                m_seen.insert(window.id);
                ++m_tally.windowsOpened;
            }
        }
    }

    std::optional<Window> activeProgramWindow() const
    {
        const auto active = m_desktop.activeWindow();
        if (!active)
            return std::nullopt;
        for (const Window& window : m_desktop.windowsOf(m_run->pid())) {
            if (window.id == active->id)
                return active;
        }
        return std::nullopt;
    }

    void act()
    {
        ++m_tally.actions;
        const auto windows = m_desktop.windowsOf(m_run->pid());
        if (windows.empty()) {
            log(QStringLiteral("no window yet"));
            return;
        }
        const auto active = activeProgramWindow();
        if (!active) {
            const Window& window = oneOf(windows);
            log(QStringLiteral("activate [%1]").arg(window.title));
            m_desktop.activate(window.id);
            return;
        }
        const int dice = pick(1, 100);
        if (dice <= 45)
            clickControl(*active, false);
        else if (dice <= 55)
            clickControl(*active, true);
        else if (dice <= 62)
            clickAnywhere(*active);
        else if (dice <= 82)
            pressKey();
        else if (dice <= 88)
            typeWord();
        else if (dice <= 92)
            closeSomehow(windows);
        else if (dice <= 96)
            minimiseAndRestore(windows);
        else
            rightClick(*active);
    }

    std::vector<QPoint> controlsOf(const Window& window)
    {
        switch (kindOf(window).value_or(WindowKind::MessageBox)) {
        case WindowKind::GradeMenu:
            return {at::yearTile(1), at::yearTile(2), at::yearTile(3), at::yearTile(4),
                    at::yearTile(5), at::gradeOk,     at::gradeOk,     at::gradeSair};
        case WindowKind::SubjectMenu:
            return {at::subjectTile(1, false), at::subjectTile(2, false), at::subjectTile(3, false),
                    at::subjectTile(4, false), at::subjectTile(5, false), at::subjectTile(6, false),
                    at::subjectTile(5, true),  at::subjectTile(6, true),  at::subjectOk,
                    at::subjectVoltar};
        case WindowKind::Activities:
            return {at::listRow(0), at::listRow(1),      at::listRow(2), at::listRow(5),
                    at::listRow(9), at::listTitles,      at::quizOption, at::lessonOption,
                    at::searchBox,  at::activitiesVoltar};
        case WindowKind::Player:
        case WindowKind::MessageBox:
            break;
        }
        return {window.client.center() - window.client.topLeft()};
    }

    void clickControl(const Window& window, bool twice)
    {
        const QPoint target = oneOf(controlsOf(window)) + QPoint(pick(-8, 8), pick(-6, 6));
        log(QStringLiteral("%1 [%2] at %3,%4")
                .arg(twice ? QStringLiteral("double-click") : QStringLiteral("click"), window.title)
                .arg(target.x())
                .arg(target.y()));
        twice ? m_desktop.doubleClick(window.id, target) : m_desktop.click(window.id, target);
    }

    void clickAnywhere(const Window& window)
    {
        const QPoint target(pick(0, window.client.width() - 1),
                            pick(0, window.client.height() - 1));
        log(QStringLiteral("click [%1] at %2,%3")
                .arg(window.title)
                .arg(target.x())
                .arg(target.y()));
        m_desktop.click(window.id, target);
    }

    void rightClick(const Window& window)
    {
        const QPoint target = oneOf(controlsOf(window));
        const int button = chance(50) ? 3 : 2;
        log(QStringLiteral("button %1 double-click [%2] at %3,%4")
                .arg(button)
                .arg(window.title)
                .arg(target.x())
                .arg(target.y()));
        m_desktop.doubleClick(window.id, target, button);
        // A context menu may have opened: Escape closes it, as a user would.
        m_desktop.key(QStringLiteral("Escape"));
    }

    void pressKey()
    {
        static const std::vector<QString> keys{
            QStringLiteral("Tab"),    QStringLiteral("Tab"),      QStringLiteral("shift+Tab"),
            QStringLiteral("Return"), QStringLiteral("space"),    QStringLiteral("Escape"),
            QStringLiteral("Up"),     QStringLiteral("Down"),     QStringLiteral("Left"),
            QStringLiteral("Right"),  QStringLiteral("KP_Enter"), QStringLiteral("ctrl+Delete"),
            QStringLiteral("Home"),   QStringLiteral("End"),      QStringLiteral("BackSpace")};
        const QString& key = oneOf(keys);
        log(QStringLiteral("key %1").arg(key));
        m_desktop.key(key);
    }

    void typeWord()
    {
        static const std::vector<QString> words{
            QStringLiteral("1"),   QStringLiteral("12"),     QStringLiteral("mat"),
            QStringLiteral("ção"), QStringLiteral("d'água"), QStringLiteral("x' or 'a"),
            QStringLiteral("Ciê"), QStringLiteral("999"),    QStringLiteral("%_*")};
        const QString& word = oneOf(words);
        log(QStringLiteral("type \"%1\"").arg(word));
        m_desktop.type(word);
    }

    void closeSomehow(const std::vector<Window>& windows)
    {
        const Window& window = oneOf(windows);
        if (chance(50)) {
            log(QStringLiteral("alt+F4"));
            m_desktop.key(QStringLiteral("alt+F4"));
        } else {
            log(QStringLiteral("close button of [%1]").arg(window.title));
            m_desktop.clickCloseButton(window);
        }
    }

    void minimiseAndRestore(const std::vector<Window>& windows)
    {
        const Window& window = oneOf(windows);
        log(QStringLiteral("minimise and restore [%1]").arg(window.title));
        m_desktop.minimise(window.id);
        QThread::msleep(pick(100, 600));
        m_desktop.activate(window.id);
    }

    QString m_program;
    QString m_content;
    std::mt19937 m_random;
    Desktop m_desktop;
    std::unique_ptr<ProgramRun> m_run;
    QSet<WindowId> m_seen;
    Tally m_tally;
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QCommandLineParser options;
    options.addHelpOption();
    options.addOptions({
        {QStringLiteral("program"), QStringLiteral("The program to drive."),
         QStringLiteral("path")},
        {QStringLiteral("content"), QStringLiteral("Its content folder."),
         QStringLiteral("folder")},
        {QStringLiteral("seconds"), QStringLiteral("How long to run."), QStringLiteral("n"),
         QStringLiteral("60")},
        {QStringLiteral("seed"), QStringLiteral("Seed of the random input."), QStringLiteral("n")},
    });
    options.process(application);
    if (!options.isSet(QStringLiteral("program")) || !options.isSet(QStringLiteral("content")))
        options.showHelp(2);

    const std::uint32_t seed =
        options.isSet(QStringLiteral("seed"))
            ? options.value(QStringLiteral("seed")).toUInt()
            : static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch());
    std::printf("seed %u (replay with --seed %u)\n", seed, seed);
    try {
        Monkey monkey(options.value(QStringLiteral("program")),
                      options.value(QStringLiteral("content")), seed);
        const Tally tally =
            monkey.run(std::chrono::seconds(options.value(QStringLiteral("seconds")).toInt()));
        std::printf("seed %u: %d actions, %d program runs, %d windows opened, %d crashes, "
                    "%d hangs, %d sanitizer reports\n",
                    seed, tally.actions, tally.runs, tally.windowsOpened, tally.crashes,
                    tally.hangs, tally.sanitizerReports);
        return tally.crashes + tally.hangs + tally.sanitizerReports == 0 ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quorvane-monkey: %s\n", error.what());
        return 2;
    }
}
