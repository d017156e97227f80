// How much the player engine costs a window: N players (1, 8, 13) in one window, each on its own
// movie, against the same window with players on missing files (no engine at all). For each
// case a fresh process measures the time from its own start until every player has drawn its
// first frame, the PSS of itself and all its engine processes, and their CPU use over 10 s idle.
//
//   player_bench [folder]   the folder holds the menu movies; the demo's config folder by default

#include "TShockwaveFlash.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QQuickWindow>
#include <QTest>
#include <QTextStream>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>
#include <set>

namespace
{

constexpr int idleSeconds = 10;
const QStringList demoMovies{
    QStringLiteral("logo.swf"),  QStringLiteral("1ano.swf"),   QStringLiteral("2ano.swf"),
    QStringLiteral("3ANO.swf"),  QStringLiteral("4ANO.swf"),   QStringLiteral("5ANO.swf"),
    QStringLiteral("Ok.swf"),    QStringLiteral("Sair.swf"),   QStringLiteral("efmat.swf"),
    QStringLiteral("efpor.swf"), QStringLiteral("efesso.swf"), QStringLiteral("efing.swf"),
    QStringLiteral("efcie.swf"),
};

QStringList statFields(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString line = QString::fromLatin1(file.readAll());
    // The command name may hold spaces; the fields after it are plain.
    return line.mid(line.lastIndexOf(u')') + 2).split(u' ');
}

// This process and every process it started, directly or not.
std::set<qint64> processTree()
{
    std::multimap<qint64, qint64> children;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        const QStringList fields = statFields(pid);
        if (number && fields.size() > 1)
            children.emplace(fields[1].toLongLong(), pid);
    }
    std::set<qint64> tree{getpid()};
    QList<qint64> open{getpid()};
    while (!open.isEmpty()) {
        const qint64 parent = open.takeLast();
        for (auto [it, end] = children.equal_range(parent); it != end; ++it) {
            if (tree.insert(it->second).second)
                open.append(it->second);
        }
    }
    return tree;
}

double pssMegabytes()
{
    double kilobytes = 0;
    for (const qint64 pid : processTree()) {
        QFile file(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (line.startsWith("Pss:"))
                kilobytes += line.mid(4).trimmed().split(' ').first().toDouble();
        }
    }
    return kilobytes / 1024;
}

// CPU seconds used so far by the process tree.
double cpuSeconds()
{
    double ticks = 0;
    for (const qint64 pid : processTree()) {
        const QStringList fields = statFields(pid);
        if (fields.size() > 12)
            ticks += fields[11].toDouble() + fields[12].toDouble(); // utime, stime
    }
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double secondsSinceProcessStart()
{
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double start =
        statFields(getpid()).value(19).toDouble() / static_cast<double>(sysconf(_SC_CLK_TCK));
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9 - start;
}

// One case, in this process: prints "seconds-to-first-frames PSS-MB idle-CPU-percent".
int runCase(int players, const QString& folder, bool missing)
{
    QWidget window;
    window.resize(790, 536);
    QList<TShockwaveFlash*> list;
    for (int i = 0; i < players; ++i) {
        auto* const player = new TShockwaveFlash(&window);
        player->setGeometry(10 + (i % 5) * 155, 10 + (i / 5) * 130, 150, 125);
        list.append(player);
    }
    window.show();
    int waiting = missing ? 0 : players;
    for (int i = 0; i < players; ++i) {
        QObject::connect(list[i], &TShockwaveFlash::firstFrameShown, &window,
                         [&waiting] { --waiting; });
        const QString movie = demoMovies[i % demoMovies.size()];
        list[i]->setMovie(folder + u'/' + (missing ? QStringLiteral("missing-") + movie : movie));
    }
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    QElapsedTimer limit;
    limit.start();
    while (waiting > 0 && limit.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const double firstFrames = secondsSinceProcessStart();
    if (waiting > 0)
        return 2;
    QTest::qWait(1000);
    const double pss = pssMegabytes();
    const double cpuBefore = cpuSeconds();
    QTest::qWait(idleSeconds * 1000);
    const double cpu = (cpuSeconds() - cpuBefore) / idleSeconds * 100;
    std::printf("%.2f %.0f %.0f\n", firstFrames, pss, cpu);
    // What the engine ran with, once it has set the process up.
    std::printf("QTWEBENGINE_CHROMIUM_FLAGS=\"%s\", Qt Quick back end: %s\n",
                qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").constData(),
                QQuickWindow::sceneGraphBackend().isEmpty()
                    ? "default"
                    : qPrintable(QQuickWindow::sceneGraphBackend()));
    return 0;
}

} // namespace

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int main(int argc, char* argv[])
{
    if (argc == 5 && std::string_view(argv[1]) == "--case") {
        QApplication application(argc, argv);
        return runCase(std::atoi(argv[2]), QString::fromLocal8Bit(argv[3]),
                       std::string_view(argv[4]) == "missing");
    }

    const QString folder =
        QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(QUORVANE_DEMO_CONFIG))
            .absolutePath();
    const QString program = QFileInfo(QString::fromLocal8Bit(argv[0])).absoluteFilePath();
    // The engine serves movies from the program folder, which is the current folder here.
    QDir::setCurrent(folder);

    // Each case runs three times, in turn, so that a burst of load elsewhere on the machine
    // spoils one run of a case rather than a whole case; the table shows the median run.
    constexpr int runs = 3;
    std::printf("players  movies   first frames (s)  [fastest]  PSS (MB)  idle CPU (%%core)\n");
    QString settings;
    for (const char* kind : {"missing", "movies"}) {
        for (const int players : {1, 8, 13}) {
            QList<double> frames, pss, cpu;
            for (int run = 0; run < runs; ++run) {
                QProcess process;
                process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
                process.start(program, {QStringLiteral("--case"), QString::number(players), folder,
                                        QString::fromLatin1(kind)});
                process.waitForFinished(-1);
                const QStringList lines = QString::fromLocal8Bit(process.readAllStandardOutput())
                                              .split(u'\n', Qt::SkipEmptyParts);
                const QStringList fields = lines.value(0).split(u' ', Qt::SkipEmptyParts);
                if (process.exitCode() != 0 || fields.size() != 3)
                    continue;
                frames.append(fields[0].toDouble());
                pss.append(fields[1].toDouble());
                cpu.append(fields[2].toDouble());
                if (std::string_view(kind) == "movies")
                    settings = lines.value(1);
            }
            if (frames.isEmpty()) {
                std::printf("%-8d %-8s failed\n", players, kind);
                continue;
            }
            std::printf("%-8d %-8s %16.2f  [%7.2f]  %8.0f  %16.0f\n", players, kind, median(frames),
                        *std::min_element(frames.begin(), frames.end()), median(pss), median(cpu));
            std::fflush(stdout);
        }
    }
    std::printf("%s\n", settings.toLocal8Bit().constData());
    return 0;
}
