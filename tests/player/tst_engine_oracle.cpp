// The native engine against Ruffle, under X, on every demo movie the native engine plays: the
// menus and the drawing gallery, first, middle and last frames, and a click on every button.
// Ruffle draws the same probe copies in the real player control; the pictures of a failure are
// kept in QUORVANE_ORACLE_PICTURES for a look.
#include "EngineComparison.h"
#include "Fonts.h"
#include "ImageDifference.h"
#include "Probe.h"
#include "SupportScan.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <map>
#include <span>

using swfcompare::Command;
using swfcompare::ComparisonReport;
using swfcompare::FrameComparison;
using swfcompare::MovieCheck;

namespace
{

// Every movie the menus load; each must play natively.
const char* const menuMovies[] = {"logo.swf",   "1ano.swf",  "2ano.swf",   "3ANO.swf",
                                  "4ANO.swf",   "5ANO.swf",  "efmat.swf",  "efpor.swf",
                                  "efesso.swf", "efing.swf", "efcie.swf",  "efinf.swf",
                                  "Ok.swf",     "Sair.swf",  "Voltar.swf", "aguarde_f1.swf"};

std::span<const std::uint8_t> bytesOf(const QByteArray& data)
{
    return {reinterpret_cast<const std::uint8_t*>(data.constData()),
            static_cast<std::size_t>(data.size())};
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool playsNatively(const QString& path)
{
    return swf::scanMovie(bytesOf(readAll(path))).supported;
}

// A picture with one fault a broken renderer could make.
QImage shifted(const QImage& picture, int dx)
{
    QImage moved(picture.size(), QImage::Format_RGB32);
    moved.fill(picture.pixel(0, 0));
    QPainter(&moved).drawImage(dx, 0, picture);
    return moved;
}

QImage painted(const QImage& picture, const std::function<void(QPainter&)>& paint)
{
    QImage changed = picture.convertToFormat(QImage::Format_RGB32);
    QPainter painter(&changed);
    paint(painter);
    return changed;
}

} // namespace

class EngineOracleTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void theMenusPlayNatively();
    void framesLookAlike_data();
    void framesLookAlike();
    void clicksAndTracesAgree_data();
    void clicksAndTracesAgree();
    void menuButtonsSendTheirCommands_data();
    void menuButtonsSendTheirCommands();
    void theComparisonSeesRealFaults_data();
    void theComparisonSeesRealFaults();

private:
    [[nodiscard]] const FrameComparison* frame(const QString& movie, const QString& label) const;

    QTemporaryDir m_work;
    QStringList m_movies;
    ComparisonReport m_report;
    swfcompare::Tolerance m_tolerance;
};

void EngineOracleTest::initTestCase()
{
    installFontSubstitutions();
    QVERIFY(m_work.isValid());
    const QDir config(QStringLiteral(QUORVANE_DEMO_DIR "/config"));
    const QDir gallery(QStringLiteral(QUORVANE_DEMO_DIR "/gallery"));
    // The gallery may be empty or missing; whatever it holds is compared.
    for (const QDir& folder : {config, gallery}) {
        for (const QString& name : folder.entryList({QStringLiteral("*.swf")}, QDir::Files)) {
            if (playsNatively(folder.filePath(name)))
                m_movies.append(folder.filePath(name));
        }
    }
    QVERIFY(!m_movies.isEmpty());

    std::vector<MovieCheck> checks;
    for (const QString& movie : std::as_const(m_movies)) {
        const int frames = swfcompare::countFrames(bytesOf(readAll(movie)));
        checks.push_back({movie, swfcompare::firstMiddleLast(frames), true, {}});
    }
    m_report = swfcompare::EngineComparison(m_work.path(), {1, 0, m_tolerance}).run(checks);
    QVERIFY2(m_report.errors.isEmpty(), qPrintable(m_report.errors.join(u'\n')));

    // The numbers behind the tolerance, for whoever tunes it.
    for (const auto& comparison : m_report.frames)
        qInfo().noquote() << swfcompare::describe(comparison);
    for (const auto& comparison : m_report.clicks)
        qInfo().noquote() << swfcompare::describe(comparison);

    const QDir pictures(QStringLiteral(QUORVANE_ORACLE_PICTURES));
    QVERIFY(QDir(pictures).removeRecursively() || !pictures.exists());
    QVERIFY(QDir().mkpath(pictures.path()));
}

const FrameComparison* EngineOracleTest::frame(const QString& movie, const QString& label) const
{
    for (const auto& comparison : m_report.frames) {
        if (QFileInfo(comparison.movie).fileName() == movie && comparison.label == label)
            return &comparison;
    }
    return nullptr;
}

void EngineOracleTest::theMenusPlayNatively()
{
    for (const char* const movie : menuMovies) {
        const QString path =
            QStringLiteral(QUORVANE_DEMO_DIR "/config/") + QString::fromUtf8(movie);
        QVERIFY2(m_movies.contains(path), movie);
    }
}

void EngineOracleTest::framesLookAlike_data()
{
    QTest::addColumn<int>("index");
    for (std::size_t i = 0; i < m_report.frames.size(); ++i) {
        const FrameComparison& comparison = m_report.frames[i];
        const QString name = QFileInfo(comparison.movie).fileName() + u' ' + comparison.label;
        QTest::newRow(qPrintable(name)) << static_cast<int>(i);
    }
}

void EngineOracleTest::framesLookAlike()
{
    QFETCH(int, index);
    const FrameComparison& comparison = m_report.frames[static_cast<std::size_t>(index)];
    QString message = swfcompare::describe(comparison);
    if (!comparison.passed) {
        const QStringList saved =
            swfcompare::savePictures(comparison, QDir(QStringLiteral(QUORVANE_ORACLE_PICTURES)));
        message += QStringLiteral("; pictures: ") + saved.join(QStringLiteral(", "));
    }
    QVERIFY2(comparison.passed, qPrintable(message));
}

void EngineOracleTest::clicksAndTracesAgree_data()
{
    QTest::addColumn<int>("index");
    for (std::size_t i = 0; i < m_report.clicks.size(); ++i) {
        const QString name = QFileInfo(m_report.clicks[i].movie).fileName();
        QTest::newRow(qPrintable(name)) << static_cast<int>(i);
    }
}

void EngineOracleTest::clicksAndTracesAgree()
{
    QFETCH(int, index);
    const auto& clicks = m_report.clicks[static_cast<std::size_t>(index)];
    QVERIFY2(clicks.passed, qPrintable(swfcompare::describe(clicks)));
}

void EngineOracleTest::menuButtonsSendTheirCommands_data()
{
    QTest::addColumn<QString>("movie");
    QTest::addColumn<QString>("command");
    QTest::newRow("Ok") << QStringLiteral("Ok.swf") << QStringLiteral("ok");
    QTest::newRow("Sair") << QStringLiteral("Sair.swf") << QStringLiteral("Sair");
    QTest::newRow("Voltar") << QStringLiteral("Voltar.swf") << QStringLiteral("Voltar");
}

void EngineOracleTest::menuButtonsSendTheirCommands()
{
    QFETCH(QString, movie);
    QFETCH(QString, command);
    const auto found =
        std::find_if(m_report.clicks.begin(), m_report.clicks.end(), [&movie](const auto& clicks) {
            return QFileInfo(clicks.movie).fileName() == movie;
        });
    QVERIFY(found != m_report.clicks.end());
    // One button, clicked once, heard by both engines alike.
    QCOMPARE(found->points.size(), std::size_t(1));
    const std::vector<Command> expected{{command, QString()}};
    QVERIFY(found->nativeCommands == expected);
    QVERIFY(found->ruffleCommands == expected);
}

void EngineOracleTest::theComparisonSeesRealFaults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("none") << QStringLiteral("none") << true;
    QTest::newRow("one pixel to the right, as rounding may") << QStringLiteral("nudge") << true;
    QTest::newRow("five pixels to the right") << QStringLiteral("shift") << false;
    QTest::newRow("red and blue swapped") << QStringLiteral("swap") << false;
    QTest::newRow("a slightly darker shade") << QStringLiteral("shade") << false;
    QTest::newRow("the emblem missing") << QStringLiteral("erase") << false;
    QTest::newRow("a hairline too many") << QStringLiteral("line") << false;
    QTest::newRow("another tile: other text and colour") << QStringLiteral("other") << false;
}

// Tampers with the native picture of a real pair and checks what the tolerance makes of it.
void EngineOracleTest::theComparisonSeesRealFaults()
{
    QFETCH(QString, fault);
    QFETCH(bool, accepted);
    const FrameComparison* const tile =
        frame(QStringLiteral("1ano.swf"), QStringLiteral("frame 1"));
    const FrameComparison* const other =
        frame(QStringLiteral("2ano.swf"), QStringLiteral("frame 1"));
    QVERIFY(tile && other && tile->passed);
    const QImage& native = tile->native;
    const QColor ground = native.pixelColor(native.width() / 2, 4);
    const std::map<QString, QImage> faults{
        {QStringLiteral("none"), native},
        {QStringLiteral("nudge"), shifted(native, 1)},
        {QStringLiteral("shift"), shifted(native, 5)},
        {QStringLiteral("swap"), native.rgbSwapped()},
        {QStringLiteral("shade"),
         painted(native, [](QPainter& p) { p.fillRect(p.window(), QColor(0, 0, 0, 40)); })},
        {QStringLiteral("erase"), painted(native,
                                          [&ground, &native](QPainter& p) {
                                              p.fillRect(QRect(native.width() / 2 - 20, 25, 40, 40),
                                                         ground);
                                          })},
        {QStringLiteral("line"), painted(native,
                                         [](QPainter& p) {
                                             p.setPen(QColor(40, 40, 40));
                                             p.drawLine(20, 110, 140, 110);
                                         })},
        {QStringLiteral("other"), other->native},
    };
    const auto difference =
        swfcompare::compareImages(faults.at(fault), tile->ruffle, m_tolerance.channel);
    QVERIFY2(m_tolerance.accepts(difference) == accepted,
             qPrintable(QStringLiteral("%1 pixels differ, largest cluster %2")
                            .arg(difference.differingPixels)
                            .arg(difference.largestCluster)));
}

QTEST_MAIN(EngineOracleTest)
#include "tst_engine_oracle.moc"
