// What a menu window costs with each way of drawing its players: the grade menu's 8 players and
// the subject menu's 9, at their real places and sizes, on the demo movies, played by the native
// engine (the engine the player chooses by itself), by Ruffle (forced), and by plain widgets
// painting a few moving shapes with QPainter at 24 frames a second. The plain widgets run twice:
// in a program linked with Qt Widgets alone (player_bench_floor, the floor), and in this one,
// which links the player and so loads its libraries (Qt WebEngine among them) at start.
//
// Every case runs in a fresh process of its own, so that no engine profits from another's warm
// state. That process measures the time from its own start until every player has drawn its
// first frame (with the moments between, and the CPU time spent until each), the PSS and RSS of
// itself and of every process it started, their CPU use while the window sits idle, and whether
// a web engine process was started; the parent collects one line from each and prints medians
// with the goals beside them.
//
//   player_bench [folder]   the whole table; the folder holds the menu movies (the demo's config
//                           folder by default)
//   player_bench --scene grade|subject --engine native|ruffle|bare [--folder F]
//                           one case in this process, printing its line of numbers
//                           (player_bench_floor takes the same options, with --engine bare only)

#include "FigureLine.h"
#include "ProcessProbe.h"
#ifndef QUORVANE_BENCH_FLOOR
#include "TShockwaveFlash.h"
#endif

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QPaintEvent>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <QProcess>
#include <QTimer>
#include <QWidget>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

namespace
{

using namespace bench;

// After the first frames the window settles for a moment, then sits idle while its CPU use is
// measured.
constexpr int settleMilliseconds = 1000;
constexpr int idleMilliseconds = 5000;
constexpr int firstFramesTimeoutMilliseconds = 120000;
// Each case runs this many times, in turn with the others, so that a burst of load elsewhere on
// the machine spoils one run of a case rather than a whole case; the table shows the median.
constexpr int runs = 3;

// The goals for the grade menu played by the native engine.
constexpr double goalSeconds = 1.0;
constexpr double goalTimesFloor = 3.0;
constexpr double goalMegabytes = 100;
constexpr double goalCpuPercent = 10;

struct Placement {
    QLatin1String movie;
    QRect geometry;
};

struct Scene {
    std::string_view name;
    std::vector<Placement> players;
};

// Where the two menu windows place their players, in window coordinates: the tiles sit in a
// panel, which these rectangles already account for.
const std::array<Scene, 2> scenes{{
    {"grade",
     {
         {QLatin1String("logo.swf"), {337, 11, 121, 69}},
         {QLatin1String("1ano.swf"), {78, 125, 161, 135}},
         {QLatin1String("2ano.swf"), {320, 126, 161, 135}},
         {QLatin1String("3ANO.swf"), {562, 125, 161, 135}},
         {QLatin1String("4ANO.swf"), {204, 291, 161, 135}},
         {QLatin1String("5ANO.swf"), {441, 291, 161, 135}},
         {QLatin1String("Ok.swf"), {689, 486, 48, 23}},
         {QLatin1String("Sair.swf"), {618, 487, 48, 23}},
     }},
    {"subject",
     {
         {QLatin1String("logo.swf"), {345, 11, 121, 69}},
         {QLatin1String("efmat.swf"), {130, 127, 156, 116}},
         {QLatin1String("efpor.swf"), {330, 128, 156, 116}},
         {QLatin1String("efesso.swf"), {526, 128, 156, 116}},
         {QLatin1String("efing.swf"), {129, 290, 156, 116}},
         {QLatin1String("efcie.swf"), {330, 290, 156, 116}},
         {QLatin1String("efinf.swf"), {530, 290, 156, 116}},
         {QLatin1String("Voltar.swf"), {619, 490, 48, 23}},
         {QLatin1String("Ok.swf"), {690, 490, 48, 23}},
     }},
}};

enum class Engine { Bare, Native, Ruffle };

struct EngineName {
    Engine engine;
    std::string_view name;
};

constexpr std::array<EngineName, 3> engineNames{{
    {Engine::Bare, "bare"},
    {Engine::Native, "native"},
    {Engine::Ruffle, "ruffle"},
}};

// What one case measured: each moment both in seconds from the start of its process and in CPU
// seconds its own threads had used by then, since on a loaded machine the first shows the wait
// and the second the work.
struct Measures {
    double mainEntered = 0;
    double applicationReady = 0;
    double moviesSet = 0;
    double windowShown = 0;
    double firstPlayerFrame = 0;
    double allFirstFrames = 0;
    double mainEnteredCpu = 0;
    double applicationReadyCpu = 0;
    double moviesSetCpu = 0;
    double windowShownCpu = 0;
    double firstPlayerFrameCpu = 0;
    double allFirstFramesCpu = 0;
    // Used by every process of the tree until the first frames.
    double treeCpuToFirstFrames = 0;
    double megabytes = 0;
    // PSS shares the libraries' pages among every process mapping them, so it drops while other
    // Qt programs run; RSS, counting them whole, is the bound that does not depend on them.
    double residentMegabytes = 0;
    double cpuPercent = 0;
    double engineProcess = 0; // 1 when a web engine process was started
};

// The order of the numbers on the line a case prints.
constexpr std::array<double Measures::*, 17> measureFields{
    &Measures::mainEntered,          &Measures::applicationReady,    &Measures::moviesSet,
    &Measures::windowShown,          &Measures::firstPlayerFrame,    &Measures::allFirstFrames,
    &Measures::mainEnteredCpu,       &Measures::applicationReadyCpu, &Measures::moviesSetCpu,
    &Measures::windowShownCpu,       &Measures::firstPlayerFrameCpu, &Measures::allFirstFramesCpu,
    &Measures::treeCpuToFirstFrames, &Measures::megabytes,           &Measures::residentMegabytes,
    &Measures::cpuPercent,           &Measures::engineProcess,
};

// The floor: a player that paints a few moving shapes at 24 frames a second and nothing else.
class MovingShapes final : public QWidget
{
public:
    MovingShapes(QWidget* parent, std::function<void()> firstFrame)
        : QWidget(parent)
        , m_firstFrame(std::move(firstFrame))
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        connect(&m_frames, &QTimer::timeout, this, [this] {
            ++m_frame;
            update();
        });
        m_frames.setTimerType(Qt::PreciseTimer);
        m_frames.start(1000 / 24);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(rect(), QColor(0xDB, 0xF8, 0xF9));
        const double phase = (m_frame % 48) / 48.0;
        const double x = phase * width();
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xE0, 0x40, 0x30));
        painter.drawEllipse(QRectF(x - 20, height() / 4.0, 40, 40));
        painter.setBrush(QColor(0x30, 0x70, 0xD0));
        painter.drawRoundedRect(QRectF(width() - x - 15, height() / 2.0, 30, 20), 5, 5);
        painter.setPen(QPen(QColor(0x20, 0x20, 0x20), 2));
        painter.setBrush(QColor(0xF0, 0xC0, 0x20));
        const QPointF apex(width() / 2.0, height() * phase);
        painter.drawPolygon(QPolygonF{apex, apex + QPointF(-15, 25), apex + QPointF(15, 25)});
        if (m_firstFrame) {
            // Reported once the frame has reached the screen, as the players do.
            QTimer::singleShot(0, this, std::exchange(m_firstFrame, {}));
        }
    }

private:
    std::function<void()> m_firstFrame;
    QTimer m_frames;
    int m_frame = 0;
};

// One case, in this process: the window with its players, until every first frame and through
// the idle time.
std::optional<Measures> runCase(const Scene& scene, Engine engine, const QString& folder,
                                double start, double mainEntered, double mainEnteredCpu)
{
    Measures measures;
    measures.mainEntered = mainEntered;
    measures.mainEnteredCpu = mainEnteredCpu;
    const auto stamp = [start](double& wall, double& cpu) {
        wall = boottimeSeconds() - start;
        cpu = ownCpuSeconds();
    };
    stamp(measures.applicationReady, measures.applicationReadyCpu);

    QEventLoop firstFrames;
    std::size_t waiting = scene.players.size();
    const auto frameShown = [&] {
        if (waiting == scene.players.size())
            stamp(measures.firstPlayerFrame, measures.firstPlayerFrameCpu);
        if (--waiting == 0) {
            stamp(measures.allFirstFrames, measures.allFirstFramesCpu);
            measures.treeCpuToFirstFrames = treeCpuSeconds();
            firstFrames.quit();
        }
    };

    // As the menu windows do, the movies are set before the window is shown.
    QWidget window;
    window.resize(790, 536);
    for (const Placement& placement : scene.players) {
        if (engine == Engine::Bare) {
            auto* const shapes = new MovingShapes(&window, frameShown);
            shapes->setGeometry(placement.geometry);
            continue;
        }
#ifdef QUORVANE_BENCH_FLOOR
        Q_UNUSED(folder)
        std::fprintf(stderr, "player_bench_floor plays no movies; player_bench does\n");
        return std::nullopt;
#else
        auto* const player = new TShockwaveFlash(&window);
        player->setGeometry(placement.geometry);
        QObject::connect(player, &TShockwaveFlash::firstFrameShown, &window, frameShown);
        player->setMovie(folder + u'/' + placement.movie);
        if (player->Movie().isEmpty()) {
            std::fprintf(stderr, "%s: cannot play\n", placement.movie.data());
            return std::nullopt;
        }
#endif
    }
    stamp(measures.moviesSet, measures.moviesSetCpu);
    window.show();
    stamp(measures.windowShown, measures.windowShownCpu);

    QTimer::singleShot(firstFramesTimeoutMilliseconds, &firstFrames, &QEventLoop::quit);
    firstFrames.exec();
    if (waiting > 0) {
        std::fprintf(stderr, "%zu players never showed a frame\n", waiting);
        return std::nullopt;
    }
    const bool engineProcessAtFirstFrames = webEngineProcessRunning();
    idle(settleMilliseconds);
    const double cpuBefore = treeCpuSeconds();
    idle(idleMilliseconds);
    measures.cpuPercent = (treeCpuSeconds() - cpuBefore) / (idleMilliseconds / 1000.0) * 100;
    measures.megabytes = treeMegabytes("Pss:");
    measures.residentMegabytes = treeMegabytes("Rss:");
    measures.engineProcess = engineProcessAtFirstFrames || webEngineProcessRunning() ? 1 : 0;
    return measures;
}

std::optional<Engine> engineNamed(std::string_view name)
{
    for (const EngineName& entry : engineNames) {
        if (entry.name == name)
            return entry.engine;
    }
    return std::nullopt;
}

const Scene* sceneNamed(std::string_view name)
{
    for (const Scene& scene : scenes) {
        if (scene.name == name)
            return &scene;
    }
    return nullptr;
}

// The child's line: every measure, in the order of measureFields.
void printMeasures(const Measures& measures)
{
    for (double Measures::*const field : measureFields)
        std::printf("%.4f ", measures.*field);
    std::printf("\n");
}

std::optional<Measures> parseMeasures(const QString& line)
{
    const QStringList fields = line.split(u' ', Qt::SkipEmptyParts);
    if (fields.size() != static_cast<qsizetype>(measureFields.size()))
        return std::nullopt;
    Measures measures;
    for (std::size_t i = 0; i < measureFields.size(); ++i)
        measures.*measureFields[i] = fields[static_cast<qsizetype>(i)].toDouble();
    return measures;
}

double medianOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// One column of the comparison: an engine, and the program that runs it.
struct Variant {
    std::string_view name;
    Engine engine;
    const char* program;
};

constexpr std::array<Variant, 4> variants{{
    {"bare", Engine::Bare, "player_bench_floor"},
    {"bare+libs", Engine::Bare, "player_bench"},
    {"native", Engine::Native, "player_bench"},
    {"ruffle", Engine::Ruffle, "player_bench"},
}};

std::string_view nameOf(Engine engine)
{
    for (const EngineName& entry : engineNames) {
        if (entry.engine == engine)
            return entry.name;
    }
    return {};
}

struct CaseRuns {
    const Scene* scene = nullptr;
    const Variant* variant = nullptr;
    std::vector<Measures> runs;

    [[nodiscard]] double median(double Measures::*measure) const
    {
        std::vector<double> values;
        for (const Measures& run : runs)
            values.push_back(run.*measure);
        return medianOf(values);
    }
    [[nodiscard]] double fastest() const
    {
        double best = runs.front().allFirstFrames;
        for (const Measures& run : runs)
            best = std::min(best, run.allFirstFrames);
        return best;
    }
    [[nodiscard]] bool anyEngineProcess() const
    {
        return std::any_of(runs.begin(), runs.end(),
                           [](const Measures& run) { return run.engineProcess > 0; });
    }
    [[nodiscard]] const char* sceneName() const { return scene->name.data(); }
    [[nodiscard]] const char* variantName() const { return variant->name.data(); }
};

// Runs one case in a fresh process; its start is taken just before the fork.
std::optional<Measures> runChild(const QDir& programs, const Scene& scene, const Variant& variant,
                                 const QString& folder)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QString start = QString::number(boottimeSeconds(), 'f', 6);
    process.start(programs.filePath(QString::fromLatin1(variant.program)),
                  {QStringLiteral("--scene"), QString::fromLatin1(scene.name),
                   QStringLiteral("--engine"), QString::fromLatin1(nameOf(variant.engine)),
                   QStringLiteral("--folder"), folder, QStringLiteral("--start"), start});
    process.waitForFinished(-1);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return parseMeasures(QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed());
}

// One goal's line: the measure, its limit, and whether it is met or by how much it is missed.
void printGoal(const char* goal, double value, double limit, const char* unit)
{
    std::printf("  %-44s %8.3g %-3s ", goal, value, unit);
    if (value <= limit)
        std::printf("met\n");
    else
        std::printf("MISSED by %.3g %s (%.1fx the limit)\n", value - limit, unit, value / limit);
}

// The floor's case for the same scene, when it ran.
const CaseRuns* floorOf(const std::vector<CaseRuns>& cases, const CaseRuns& entry)
{
    for (const CaseRuns& other : cases) {
        if (other.scene == entry.scene && other.variant == &variants.front() && !other.runs.empty())
            return &other;
    }
    return nullptr;
}

// The goals again, and Ruffle's figures beside them, as lines for scripts/bench's table.
void printFigures(const std::vector<CaseRuns>& cases)
{
    for (const CaseRuns& entry : cases) {
        if (entry.runs.empty() || entry.variant->engine == Engine::Bare)
            continue;
        const bool native = entry.variant->engine == Engine::Native;
        const std::string name =
            std::string(entry.sceneName()) + " menu, " + entry.variantName() + ": ";
        const double frames = entry.median(&Measures::allFirstFrames);
        const CaseRuns* const floor = floorOf(cases, entry);
        const double bare = floor ? floor->median(&Measures::allFirstFrames) : 0;
        printFigure(name + "first frames from start", frames, "s", bare,
                    native ? Goal::AtMost : Goal::None, goalSeconds);
        if (floor && native)
            printFigure(name + "first frames vs plain widgets", frames, "s", bare,
                        Goal::RatioAtMost, goalTimesFloor);
        const double pss = entry.median(&Measures::megabytes);
        const double floorPss = floor ? floor->median(&Measures::megabytes) : 0;
        printFigure(name + "PSS", pss, "MB", floorPss, native ? Goal::AtMost : Goal::None,
                    goalMegabytes);
        printFigure(name + "idle CPU", entry.median(&Measures::cpuPercent), "%core",
                    floor ? floor->median(&Measures::cpuPercent) : 0,
                    native ? Goal::AtMost : Goal::None, goalCpuPercent);
        if (native)
            printFigure(name + "web engine processes", entry.anyEngineProcess() ? 1 : 0, "", 0,
                        Goal::AtMost, 0);
    }
}

void printGoals(const std::vector<CaseRuns>& cases)
{
    std::printf("\nGoals for the native engine (set for the grade menu; medians)\n");
    for (const CaseRuns& native : cases) {
        if (native.variant->engine != Engine::Native || native.runs.empty())
            continue;
        const double frames = native.median(&Measures::allFirstFrames);
        std::printf("%s menu:\n", native.sceneName());
        printGoal("first frames within 1 s of process start", frames, goalSeconds, "s");
        if (const CaseRuns* const floor = floorOf(cases, native)) {
            const double limit = goalTimesFloor * floor->median(&Measures::allFirstFrames);
            const QByteArray goal = QStringLiteral("first frames within 3x bare (%1 s)")
                                        .arg(limit, 0, 'f', 3)
                                        .toLatin1();
            printGoal(goal.constData(), frames, limit, "s");
        }
        printGoal("PSS under 100 MB", native.median(&Measures::megabytes), goalMegabytes, "MB");
        printGoal("RSS, as if no page were shared, under 100 MB",
                  native.median(&Measures::residentMegabytes), goalMegabytes, "MB");
        printGoal("idle CPU under 10 % of a core", native.median(&Measures::cpuPercent),
                  goalCpuPercent, "%");
        std::printf("  %-44s %12s %s\n", "no web engine process",
                    native.anyEngineProcess() ? "started" : "none",
                    native.anyEngineProcess() ? "MISSED" : "met");
    }
    printFigures(cases);
}

void printTable(const std::vector<CaseRuns>& cases)
{
    std::printf("\nMenu windows, medians of %d runs; times in seconds from process start\n", runs);
    std::printf(
        "scene    engine     first frames [fastest]  x bare  CPU to first frames  PSS (MB)  "
        "RSS (MB)  idle CPU (%%core)  web engine process\n");
    for (const CaseRuns& entry : cases) {
        if (entry.runs.empty()) {
            std::printf("%-8s %-10s failed\n", entry.sceneName(), entry.variantName());
            continue;
        }
        const double frames = entry.median(&Measures::allFirstFrames);
        const CaseRuns* const floor = floorOf(cases, entry);
        const double times = floor ? frames / floor->median(&Measures::allFirstFrames) : 0;
        std::printf("%-8s %-10s %12.3f [%7.3f]  %6.1f  %19.3f  %8.0f  %8.0f  %16.1f  %s\n",
                    entry.sceneName(), entry.variantName(), frames, entry.fastest(), times,
                    entry.median(&Measures::treeCpuToFirstFrames),
                    entry.median(&Measures::megabytes), entry.median(&Measures::residentMegabytes),
                    entry.median(&Measures::cpuPercent), entry.anyEngineProcess() ? "yes" : "no");
    }

    std::printf("\nWhere the time goes: each moment as seconds from process start / CPU seconds of "
                "the process's own threads (medians)\n");
    std::printf("scene    engine          main()     QApplication       movies set     "
                "window shown   first player's   all first frames\n");
    for (const CaseRuns& entry : cases) {
        if (entry.runs.empty())
            continue;
        std::printf("%-8s %-10s", entry.sceneName(), entry.variantName());
        const std::array<std::pair<double Measures::*, double Measures::*>, 6> moments{{
            {&Measures::mainEntered, &Measures::mainEnteredCpu},
            {&Measures::applicationReady, &Measures::applicationReadyCpu},
            {&Measures::moviesSet, &Measures::moviesSetCpu},
            {&Measures::windowShown, &Measures::windowShownCpu},
            {&Measures::firstPlayerFrame, &Measures::firstPlayerFrameCpu},
            {&Measures::allFirstFrames, &Measures::allFirstFramesCpu},
        }};
        for (const auto& [wall, cpu] : moments)
            std::printf("   %6.3f / %5.3f", entry.median(wall), entry.median(cpu));
        std::printf("\n");
    }
    printGoals(cases);
}

int runAll(const QDir& programs, const QString& folder)
{
    std::vector<CaseRuns> cases;
    for (const Scene& scene : scenes) {
        for (const Variant& variant : variants)
            cases.push_back({&scene, &variant, {}});
    }
    for (int run = 1; run <= runs; ++run) {
        for (CaseRuns& entry : cases) {
            std::printf("run %d: %s menu, %s ... ", run, entry.sceneName(), entry.variantName());
            std::fflush(stdout);
            const auto measures = runChild(programs, *entry.scene, *entry.variant, folder);
            if (measures) {
                entry.runs.push_back(*measures);
                std::printf("%.3f s, %.0f MB, %.1f %%\n", measures->allFirstFrames,
                            measures->megabytes, measures->cpuPercent);
            } else {
                std::printf("failed\n");
            }
            std::fflush(stdout);
        }
    }
    printTable(cases);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    const double mainEntered = boottimeSeconds();
    const double mainEnteredCpu = ownCpuSeconds();
    std::map<std::string_view, std::string_view> options;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::string_view(argv[i]).starts_with("--"))
            options[argv[i]] = argv[i + 1];
    }
    const auto option = [&options](std::string_view name) {
        const auto found = options.find(name);
        return found == options.end() ? QString() : QString::fromLocal8Bit(found->second);
    };

    if (options.contains("--scene")) {
        // The parent's clock reading just before it started this process is finer than the
        // kernel's record of the start, which counts in clock ticks.
        const double start =
            options.contains("--start") ? option("--start").toDouble() : processStart();
        QApplication application(argc, argv);
        // Qt WebEngine's report of its settings, printed once per Ruffle case, would bury the
        // table.
        QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
        const Scene* const scene = sceneNamed(options["--scene"]);
        const auto engine = engineNamed(options["--engine"]);
        if (!scene || !engine) {
            std::fprintf(stderr, "unknown scene or engine\n");
            return 2;
        }
        // The native case is the player's own choice; Ruffle has to be forced.
        if (*engine == Engine::Ruffle)
            qputenv("QUORVANE_PLAYER_ENGINE", "ruffle");
        else
            qunsetenv("QUORVANE_PLAYER_ENGINE");
        const QString folder =
            QDir(options.contains("--folder") ? option("--folder")
                                              : QStringLiteral(QUORVANE_DEMO_CONFIG))
                .absolutePath();
        // The engine serves movies from the program folder, which is the current folder here.
        QDir::setCurrent(folder);
        const auto measures =
            runCase(*scene, *engine, folder, start, mainEntered - start, mainEnteredCpu);
        if (!measures)
            return 1;
        printMeasures(*measures);
        return 0;
    }

    const QString folder =
        QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(QUORVANE_DEMO_CONFIG))
            .absolutePath();
    return runAll(QFileInfo(QString::fromLocal8Bit(argv[0])).absoluteDir(), folder);
}
