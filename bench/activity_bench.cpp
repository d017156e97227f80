// Opening an activity from the activities window, as a child does: the list shows, the child
// reads it for a moment, then double-clicks a row; the player window opens maximised over the
// list and plays the movie. Measured from the double-click to the window shown and to the
// movie's first frame, on the demo content:
//
//   native        a quiz the program's own engine plays (3A Matemática, a list with no movie
//                 for Ruffle, so nothing else runs meanwhile)
//   ruffle-cold   the movie with a sound, which needs Ruffle, with the warm-up turned off
//   ruffle-warm   the same, once the list has readied Ruffle in the background
//
// and the memory of the whole process tree: with the list shown before anything is readied,
// while the movie plays, and after the activities window has closed.
//
// Every case runs in a fresh process, so that no case profits from another's web engine.
//
//   activity_bench [runs]       every case, `runs` times each in turn (3 by default); prints
//                               best and median and the figure lines scripts/bench gathers
//   activity_bench --case NAME  one case in this process, printing its line of numbers
// Run under X: xvfb-run -a -s "-screen 0 1280x1024x24" build/<preset>/bench/activity_bench
#include "Ativid.h"
#include "ContentFolders.h"
#include "FigureLine.h"
#include "ProcessProbe.h"
#include "RuffleStage.h"
#include "Swf.h"
#include "TShockwaveFlash.h"
#include "WindowSlots.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <QProcess>
#include <QTableView>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

namespace
{

using namespace bench;

// How long the child reads the list before the double-click: enough for the warm-up.
constexpr int readingMilliseconds = 1500;
constexpr int warmUpTimeoutMilliseconds = 60000;
constexpr int frameTimeoutMilliseconds = 60000;
constexpr int settleMilliseconds = 1000;
// Chromium lets a page's renderer go a moment after the page is deleted.
constexpr int releaseMilliseconds = 3000;
constexpr int defaultRuns = 3;

constexpr double goalSeconds = 1.0;

struct Case {
    std::string_view name;
    const char* subject;
    const char* description;
    bool warm;
};

const std::array<Case, 3> cases{{
    {"native", "Matemática", "Adição com reserva – exercícios", false},
    {"ruffle-cold", "Ciências", "Sons dos animais – quiz", false},
    {"ruffle-warm", "Ciências", "Sons dos animais – quiz", true},
}};

struct Measures {
    double windowShown = 0;      // seconds from the double-click
    double firstFrame = 0;       // seconds from the double-click
    double warmUp = 0;           // seconds from the list shown until Ruffle was ready
    double listMegabytes = 0;    // PSS with the list shown, before any warm-up
    double playingMegabytes = 0; // PSS while the movie plays
    double closedMegabytes = 0;  // PSS after the activities window has closed
};

constexpr std::array<double Measures::*, 6> measureFields{
    &Measures::windowShown,   &Measures::firstFrame,       &Measures::warmUp,
    &Measures::listMegabytes, &Measures::playingMegabytes, &Measures::closedMegabytes,
};

// Times the player window from the outside: its show, and its movie's first frame, which
// may come before any poll would find the window.
class PlayerWindowWatch final : public QObject
{
public:
    explicit PlayerWindowWatch(double clickedAt)
        : m_clickedAt(clickedAt)
    {
        qApp->installEventFilter(this);
    }

    [[nodiscard]] double shown() const { return m_shown; }
    [[nodiscard]] double firstFrame() const { return m_firstFrame; }
    [[nodiscard]] double playingMegabytes() const { return m_playingMegabytes; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* const window = qobject_cast<TFRMswf*>(watched);
        if (window && event->type() == QEvent::Show && m_shown == 0) {
            m_shown = boottimeSeconds() - m_clickedAt;
            auto* const movie = window->findChild<TShockwaveFlash*>(QStringLiteral("SWF"));
            connect(movie, &TShockwaveFlash::firstFrameShown, this, [this, window] {
                if (m_firstFrame != 0)
                    return;
                m_firstFrame = boottimeSeconds() - m_clickedAt;
                QTimer::singleShot(settleMilliseconds, window, [this, window] {
                    m_playingMegabytes = treeMegabytes("Pss:");
                    window->close();
                });
            });
            QTimer::singleShot(frameTimeoutMilliseconds, window, &QWidget::close);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    double m_clickedAt;
    double m_shown = 0;
    double m_firstFrame = 0;
    double m_playingMegabytes = 0;
};

int rowOf(const QAbstractItemModel& model, const QString& description)
{
    for (int row = 0; row < model.rowCount(); ++row) {
        for (int column = 0; column < model.columnCount(); ++column) {
            if (model.index(row, column).data().toString() == description)
                return row;
        }
    }
    return -1;
}

template <typename Condition>
bool waitFor(Condition condition, int milliseconds)
{
    const double until = boottimeSeconds() + milliseconds / 1000.0;
    while (!condition()) {
        if (boottimeSeconds() > until)
            return false;
        idle(10);
    }
    return true;
}

std::optional<Measures> runCase(const Case& which)
{
    Measures measures;
    SerieAtual = QStringLiteral("3A");
    DisciplinaAtual = QString::fromUtf8(which.subject);
    auto* const activities = new TFRMAtividades(nullptr);
    FRMAtividades = activities;
    // The activities window runs its look through the list from the event loop: an empty list
    // given before then leaves Ruffle cold.
    if (!which.warm)
        TShockwaveFlash::expectMovies(activities, {});
    activities->show();
    const double listShown = boottimeSeconds();
    measures.listMegabytes = treeMegabytes("Pss:");
    if (which.warm) {
        const bool warm = waitFor(
            [activities] {
                const auto* const spare = player::RuffleStage::spareOf(activities);
                return spare && spare->warm();
            },
            warmUpTimeoutMilliseconds);
        if (!warm) {
            std::fprintf(stderr, "Ruffle was never readied\n");
            return std::nullopt;
        }
        measures.warmUp = boottimeSeconds() - listShown;
    }
    idle(std::max(0, readingMilliseconds - static_cast<int>(measures.warmUp * 1000)));

    auto* const list = activities->findChild<QTableView*>(QStringLiteral("DBGrid1"));
    const int row = rowOf(*list->model(), QString::fromUtf8(which.description));
    if (row < 0) {
        std::fprintf(stderr, "no row \"%s\" in the list\n", which.description);
        return std::nullopt;
    }
    list->setCurrentIndex(list->model()->index(row, 0));
    const QPoint at = list->visualRect(list->currentIndex()).center();
    const double clickedAt = boottimeSeconds();
    const PlayerWindowWatch watch(clickedAt);
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, at, list->viewport()->mapToGlobal(at),
                            Qt::LeftButton, Qt::LeftButton, {});
    // Returns when the player window has closed.
    QApplication::sendEvent(list->viewport(), &doubleClick);
    // The windows' deferred deletions wait for the loop they were posted from to be left, which
    // in the program is the list's own; here there is none above.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (watch.firstFrame() == 0) {
        std::fprintf(stderr, "the movie never showed\n");
        return std::nullopt;
    }
    measures.windowShown = watch.shown();
    measures.firstFrame = watch.firstFrame();
    measures.playingMegabytes = watch.playingMegabytes();

    activities->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    idle(releaseMilliseconds);
    measures.closedMegabytes = treeMegabytes("Pss:");
    return measures;
}

std::optional<Measures> runChild(const QString& program, const Case& which)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(program, {QStringLiteral("--case"), QString::fromLatin1(which.name.data())});
    if (!child.waitForFinished(180000) || child.exitCode() != 0)
        return std::nullopt;
    const QStringList numbers =
        QString::fromLatin1(child.readAllStandardOutput()).trimmed().split(u' ');
    if (numbers.size() != static_cast<qsizetype>(measureFields.size()))
        return std::nullopt;
    Measures measures;
    for (std::size_t i = 0; i < measureFields.size(); ++i)
        measures.*measureFields[i] = numbers[static_cast<qsizetype>(i)].toDouble();
    return measures;
}

double medianOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double bestOf(const std::vector<double>& values)
{
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

int runAll(const QString& program, int runs)
{
    std::map<std::string_view, std::vector<Measures>> results;
    for (int run = 1; run <= runs; ++run) {
        for (const Case& which : cases) {
            std::printf("run %d: %s ... ", run, which.name.data());
            std::fflush(stdout);
            const auto measures = runChild(program, which);
            if (measures) {
                results[which.name].push_back(*measures);
                std::printf("first frame %.3f s\n", measures->firstFrame);
            } else {
                std::printf("failed\n");
            }
            std::fflush(stdout);
        }
    }
    const auto column = [&results](std::string_view name, double Measures::*field) {
        std::vector<double> values;
        for (const Measures& measures : results[name])
            values.push_back(measures.*field);
        return values;
    };

    std::printf("\nOpening an activity, %d runs each; seconds from the double-click, PSS of the "
                "process tree in MB (medians)\n",
                runs);
    std::printf("case          window shown  first frame [best]  warm-up  PSS list  PSS playing  "
                "PSS closed\n");
    for (const Case& which : cases) {
        if (results[which.name].empty()) {
            std::printf("%-12s  failed\n", which.name.data());
            continue;
        }
        std::printf("%-12s  %12.3f  %11.3f [%.3f]  %7.3f  %8.0f  %11.0f  %10.0f\n",
                    which.name.data(), medianOf(column(which.name, &Measures::windowShown)),
                    medianOf(column(which.name, &Measures::firstFrame)),
                    bestOf(column(which.name, &Measures::firstFrame)),
                    medianOf(column(which.name, &Measures::warmUp)),
                    medianOf(column(which.name, &Measures::listMegabytes)),
                    medianOf(column(which.name, &Measures::playingMegabytes)),
                    medianOf(column(which.name, &Measures::closedMegabytes)));
    }

    const auto median = [&](std::string_view name, double Measures::*field) {
        return medianOf(column(name, field));
    };
    const auto best = [&](std::string_view name, double Measures::*field) {
        return bestOf(column(name, field));
    };
    printFigure("native activity: double-click to first frame (best)",
                best("native", &Measures::firstFrame), "s", best("native", &Measures::windowShown),
                Goal::AtMost, goalSeconds);
    printFigure("Ruffle activity, cold: double-click to first frame (best)",
                best("ruffle-cold", &Measures::firstFrame), "s",
                best("ruffle-cold", &Measures::windowShown), Goal::None, 0);
    printFigure("Ruffle activity, warm: double-click to first frame (best)",
                best("ruffle-warm", &Measures::firstFrame), "s",
                best("ruffle-cold", &Measures::firstFrame), Goal::AtMost, goalSeconds);
    printFigure("Ruffle activity, warm: list to Ruffle ready (median)",
                median("ruffle-warm", &Measures::warmUp), "s", 0, Goal::None, 0);
    printFigure("Ruffle activity, warm: PSS while playing (median)",
                median("ruffle-warm", &Measures::playingMegabytes), "MB",
                median("ruffle-warm", &Measures::listMegabytes), Goal::None, 0);
    // Released: what the list and its page held is given back, bar the web engine's own
    // processes, which the program keeps once started.
    printFigure("Ruffle activity, warm: PSS after the list closed (median)",
                median("ruffle-warm", &Measures::closedMegabytes), "MB",
                median("ruffle-cold", &Measures::closedMegabytes), Goal::RatioAtMost, 1.1);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    if (arguments.size() == 2 && arguments[0] == "--case") {
        QApplication application(argc, argv);
        QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
        const auto which = std::find_if(cases.begin(), cases.end(),
                                        [&](const Case& c) { return c.name == arguments[1]; });
        if (which == cases.end()) {
            std::fprintf(stderr, "unknown case\n");
            return 2;
        }
        // The program folder is the current folder, as when the program runs from its media.
        QDir::setCurrent(QStringLiteral(QUORVANE_DEMO_DIR));
        initialiseFolders();
        const auto measures = runCase(*which);
        if (!measures)
            return 1;
        for (const auto field : measureFields)
            std::printf("%.4f ", (*measures).*field);
        std::printf("\n");
        return 0;
    }
    const int runs = arguments.empty() ? defaultRuns : std::max(1, std::atoi(argv[1]));
    QCoreApplication application(argc, argv);
    return runAll(QCoreApplication::applicationFilePath(), runs);
}
