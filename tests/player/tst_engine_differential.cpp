// The native engine against Ruffle on generated movies that trace what they compute: every
// operation on every kind of value in each SWF version, the order clips' scripts run in, paths,
// and a fixed run of random programs. A line may differ only where a row below says why: the
// reference player's recorded output in the Gnash corpus shows that Ruffle is the one wrong.
#include "ProgramFuzzer.h"
#include "SupportScan.h"
#include "TimelineMovies.h"
#include "TraceDiff.h"
#include "ValueTables.h"

#include <QTest>

#include <algorithm>
#include <span>
#include <vector>

using swfdiff::TraceDifference;
using swfdiff::TracedMovie;

namespace
{

// A case where the native engine follows the reference player and Ruffle does not.
struct KnownRuffleFault {
    const char* label;  // the case, as the movie labels it
    const char* native; // what the native engine and the reference player print
    const char* ruffle;
    const char* proof; // the Gnash movie whose recorded output shows the reference
};

// None so far: every difference found was the engine's, and is fixed or refused by the scan.
const std::vector<KnownRuffleFault> knownRuffleFaults = {};

bool isKnownRuffleFault(const TraceDifference& difference)
{
    return std::any_of(knownRuffleFaults.begin(), knownRuffleFaults.end(),
                       [&difference](const KnownRuffleFault& fault) {
                           return difference.label == fault.label
                                  && difference.native == QString::fromUtf8(fault.native)
                                  && difference.ruffle == QString::fromUtf8(fault.ruffle);
                       });
}

// Fixed seeds, so that a failure here is a failure there; scripts/difffuzz runs others.
constexpr std::uint32_t firstFuzzSeed = 1;
constexpr int fuzzMovies = 4;
constexpr int programsPerMovie = 10;

} // namespace

class EngineDifferentialTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void theNativeEngineAcceptsEveryMovie_data();
    void theNativeEngineAcceptsEveryMovie();
    void bothEnginesTraceAlike_data();
    void bothEnginesTraceAlike();
    void whatCannotBeMadeExactGoesElsewhere_data();
    void whatCannotBeMadeExactGoesElsewhere();

private:
    void addMovieRows();

    std::vector<TracedMovie> m_movies;
    std::unique_ptr<swfdiff::DifferentialRun> m_run;
};

void EngineDifferentialTest::initTestCase()
{
    for (std::uint8_t version = 5; version <= 8; ++version)
        m_movies.push_back(swfdiff::valueTable(version));
    for (TracedMovie& movie : swfdiff::timelineMovies())
        m_movies.push_back(std::move(movie));
    for (int i = 0; i < fuzzMovies; ++i)
        m_movies.push_back(
            swfdiff::fuzzMovie(firstFuzzSeed + static_cast<std::uint32_t>(i), programsPerMovie));
    m_run = std::make_unique<swfdiff::DifferentialRun>();
    QVERIFY(m_run->ready());
}

void EngineDifferentialTest::addMovieRows()
{
    QTest::addColumn<int>("index");
    for (std::size_t i = 0; i < m_movies.size(); ++i)
        QTest::newRow(m_movies[i].name.c_str()) << static_cast<int>(i);
}

void EngineDifferentialTest::theNativeEngineAcceptsEveryMovie_data()
{
    addMovieRows();
}

// A movie the scan turns away would never reach the native engine, so its lines prove nothing.
void EngineDifferentialTest::theNativeEngineAcceptsEveryMovie()
{
    QFETCH(int, index);
    const auto summary = swf::scanMovie(m_movies[static_cast<std::size_t>(index)].file);
    QVERIFY2(summary.supported, summary.firstUnsupported.c_str());
}

void EngineDifferentialTest::bothEnginesTraceAlike_data()
{
    addMovieRows();
}

void EngineDifferentialTest::bothEnginesTraceAlike()
{
    QFETCH(int, index);
    const TracedMovie& movie = m_movies[static_cast<std::size_t>(index)];
    const auto outcome = m_run->run(movie);
    QVERIFY2(outcome.rufflePlayed, "Ruffle did not play the movie to its end");
    QVERIFY(!outcome.native.isEmpty());
    QStringList unexplained;
    for (const TraceDifference& difference : outcome.differences) {
        if (!isKnownRuffleFault(difference))
            unexplained.append(QString::fromStdString(difference.label)
                               + QStringLiteral(": native \"") + difference.native
                               + QStringLiteral("\", Ruffle \"") + difference.ruffle + u'"');
    }
    QVERIFY2(unexplained.isEmpty(),
             qPrintable(QString::number(unexplained.size()) + QStringLiteral(" lines differ:\n")
                        + unexplained.join(u'\n')));
}

void EngineDifferentialTest::whatCannotBeMadeExactGoesElsewhere_data()
{
    QTest::addColumn<QByteArray>("movie");
    const auto bytes = [](const std::vector<std::uint8_t>& file) {
        return QByteArray(reinterpret_cast<const char*>(file.data()),
                          static_cast<qsizetype>(file.size()));
    };
    // No reference output pins SWF 4's values, and Ruffle's differ from the engine's on most of
    // the table (booleans printed as 1 and 0, "#ERROR#" for a division by zero, NaN read as 0).
    QTest::newRow("SWF 4 values") << bytes(swfdiff::valueTable(4).file);
    // Ruffle reads a multibyte character made from a code back as a byte of its encoding.
    swfwriter::Actions character;
    character.push({65.0}).operation(0x37).trace().stop();
    QTest::newRow("SWF 5 multibyte character from a code")
        << bytes(swfdiff::scriptMovie(5, character));
}

void EngineDifferentialTest::whatCannotBeMadeExactGoesElsewhere()
{
    QFETCH(QByteArray, movie);
    const auto summary =
        swf::scanMovie(std::span(reinterpret_cast<const std::uint8_t*>(movie.constData()),
                                 static_cast<std::size_t>(movie.size())));
    QVERIFY(summary.readable);
    QVERIFY(!summary.supported);
}

QTEST_MAIN(EngineDifferentialTest)
#include "tst_engine_differential.moc"
