// Random short programs played by the native engine and by Ruffle, traces compared: the longer
// run of what the differential test runs a fixed few of. Needs an X server (xvfb-run).
//
//   quorvane-difffuzz [--seed S] [--movies N] [--programs P]
//
// Movie i holds P programs from seed S + i. The first seed is printed, so that any run can be
// repeated; each difference is printed with the label that replays it. Exits with 0 when the
// engines agree, 1 when they differ, 2 when Ruffle could not play a movie.
#include "ProgramFuzzer.h"
#include "SupportScan.h"
#include "TraceDiff.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDateTime>

#include <cstdio>

namespace
{

void print(const QString& line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Native engine against Ruffle on random programs"));
    parser.addHelpOption();
    const QCommandLineOption seedOption(QStringLiteral("seed"), QStringLiteral("First seed."),
                                        QStringLiteral("S"));
    const QCommandLineOption moviesOption(QStringLiteral("movies"),
                                          QStringLiteral("Movies to play (10)."),
                                          QStringLiteral("N"), QStringLiteral("10"));
    const QCommandLineOption programsOption(QStringLiteral("programs"),
                                            QStringLiteral("Programs per movie (10)."),
                                            QStringLiteral("P"), QStringLiteral("10"));
    parser.addOptions({seedOption, moviesOption, programsOption});
    parser.process(application);

    const auto firstSeed = parser.isSet(seedOption)
                               ? parser.value(seedOption).toUInt()
                               : static_cast<std::uint32_t>(QDateTime::currentSecsSinceEpoch());
    const int movies = parser.value(moviesOption).toInt();
    const int programs = parser.value(programsOption).toInt();
    print(QStringLiteral("first seed %1, %2 movies of %3 programs")
              .arg(firstSeed)
              .arg(movies)
              .arg(programs));

    swfdiff::DifferentialRun run;
    int lines = 0;
    int differing = 0;
    bool unplayed = false;
    for (int i = 0; i < movies; ++i) {
        const auto movie = swfdiff::fuzzMovie(firstSeed + static_cast<std::uint32_t>(i), programs);
        const auto scan = swf::scanMovie(movie.file);
        if (!scan.supported) {
            print(QString::fromStdString(movie.name) + QStringLiteral(": the scan refuses it: ")
                  + QString::fromStdString(scan.firstUnsupported));
            unplayed = true;
            continue;
        }
        const auto outcome = run.run(movie);
        if (!outcome.rufflePlayed) {
            print(QString::fromStdString(movie.name) + QStringLiteral(": Ruffle did not play it"));
            unplayed = true;
            continue;
        }
        lines += static_cast<int>(outcome.native.size());
        differing += static_cast<int>(outcome.differences.size());
        for (const auto& difference : outcome.differences)
            print(QString::fromStdString(difference.label) + QStringLiteral("\n    native \"")
                  + difference.native + QStringLiteral("\", Ruffle \"") + difference.ruffle + u'"');
    }
    print(QStringLiteral("%1 lines traced, %2 differ").arg(lines).arg(differing));
    return unplayed ? 2 : differing > 0 ? 1 : 0;
}
