#include "EngineComparison.h"

#include "ByteReader.h"
#include "Probe.h"
#include "RuffleRun.h"
#include "SupportScan.h"
#include "SwfPainter.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <memory>

namespace swfcompare
{
namespace
{

constexpr double buttonGridStep = 2; // stage pixels between the points tried for buttons

std::span<const std::uint8_t> bytesOf(const QByteArray& data)
{
    return {reinterpret_cast<const std::uint8_t*>(data.constData()),
            static_cast<std::size_t>(data.size())};
}

// A probe copy written where Ruffle may read it, with what both engines need to play it.
struct ProbeFile {
    Probe probe;
    QString path;
    QSize size;
    swf::Rect stage;

    [[nodiscard]] RuffleJob job() const
    {
        return {path, size, probe.frameRate > 0 ? probe.framesAfterStop / probe.frameRate : 0};
    }
    [[nodiscard]] QPoint playerPoint(QPointF stagePixel) const
    {
        const QTransform toPlayer =
            player::SwfPainter::stageTransform(stage, QRectF(QPointF(), QSizeF(size)));
        return toPlayer
            .map(QPointF(stage.xMin + stagePixel.x() * 20, stage.yMin + stagePixel.y() * 20))
            .toPoint();
    }
    [[nodiscard]] std::unique_ptr<NativeRun> playNatively() const
    {
        auto run = std::make_unique<NativeRun>(probe.file);
        run->advance(probe.settleFrames);
        return run;
    }
};

QString fileStem(const QString& movie)
{
    return QFileInfo(movie).completeBaseName();
}

QString listed(const std::vector<Command>& commands)
{
    QStringList items;
    for (const auto& [command, args] : commands)
        items.append(QStringLiteral("%1(%2)").arg(command, args));
    return QStringLiteral("[") + items.join(QStringLiteral(", ")) + QStringLiteral("]");
}

} // namespace

bool ComparisonReport::passed() const
{
    return errors.isEmpty()
           && std::all_of(frames.begin(), frames.end(), [](const auto& f) { return f.passed; })
           && std::all_of(clicks.begin(), clicks.end(), [](const auto& c) { return c.passed; });
}

std::vector<int> firstMiddleLast(int frameCount)
{
    std::vector<int> frames{1, (frameCount + 1) / 2, frameCount};
    frames.erase(std::remove_if(frames.begin(), frames.end(), [](int f) { return f < 1; }),
                 frames.end());
    frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
    return frames.empty() ? std::vector<int>{1} : frames;
}

EngineComparison::EngineComparison(QString workFolder, ComparisonOptions options)
    : m_workFolder(std::move(workFolder))
    , m_options(options)
{
}

ComparisonReport EngineComparison::run(const std::vector<MovieCheck>& checks)
{
    ComparisonReport report;
    int written = 0;
    // Throws swf::MalformedMovie.
    const auto writeProbe = [this, &written](const MovieCheck& check, const QByteArray& movie,
                                             int frame) {
        const int spriteFrame = m_options.spriteFrame > 0 ? m_options.spriteFrame : frame;
        ProbeFile probe{makeProbe(bytesOf(movie), {frame, spriteFrame, 60}), {}, {}, {}};
        probe.stage = swf::scanMovie(probe.probe.file).stage;
        probe.size =
            QSize(static_cast<int>(std::lround(probe.stage.width() / 20 * m_options.scale)),
                  static_cast<int>(std::lround(probe.stage.height() / 20 * m_options.scale)));
        probe.path = QStringLiteral("%1/%2-%3-frame%4.swf")
                         .arg(m_workFolder)
                         .arg(++written)
                         .arg(fileStem(check.file))
                         .arg(probe.probe.frame);
        QFile out(probe.path);
        if (!out.open(QIODevice::WriteOnly)
            || out.write(reinterpret_cast<const char*>(probe.probe.file.data()),
                         static_cast<qint64>(probe.probe.file.size()))
                   != static_cast<qint64>(probe.probe.file.size()))
            throw swf::MalformedMovie("cannot write the probe " + probe.path.toStdString());
        return probe;
    };

    // Every frame of every movie, drawn natively now and by Ruffle all at once below.
    std::vector<ProbeFile> frameProbes;
    struct Interaction {
        const MovieCheck* check;
        ProbeFile probe;
    };
    std::vector<Interaction> interactions;
    for (const MovieCheck& check : checks) {
        QFile file(check.file);
        if (!file.open(QIODevice::ReadOnly)) {
            report.errors.append(check.file + QStringLiteral(": ") + file.errorString());
            continue;
        }
        const QByteArray movie = file.readAll();
        try {
            std::vector<int> frames;
            for (const int frame : check.frames)
                frames.push_back(std::clamp(frame, 1, std::max(countFrames(bytesOf(movie)), 1)));
            std::sort(frames.begin(), frames.end());
            frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
            for (const int frame : frames) {
                ProbeFile probe = writeProbe(check, movie, frame);
                FrameComparison comparison;
                comparison.movie = check.file;
                comparison.label = QStringLiteral("frame %1").arg(probe.probe.frame);
                const auto native = probe.playNatively();
                comparison.native = native->render(probe.size);
                comparison.unjudged = native->blindSpots(probe.size);
                report.frames.push_back(std::move(comparison));
                frameProbes.push_back(std::move(probe));
            }
            if (!frames.empty())
                interactions.push_back({&check, writeProbe(check, movie, frames.back())});
        } catch (const swf::MalformedMovie& error) {
            report.errors.append(check.file + QStringLiteral(": ")
                                 + QString::fromUtf8(error.what()));
        }
    }

    RuffleRun ruffle(m_workFolder);
    std::vector<RuffleJob> jobs;
    for (const ProbeFile& probe : frameProbes)
        jobs.push_back(probe.job());
    const std::vector<RuffleShot> shots = ruffle.shoot(jobs);
    for (std::size_t i = 0; i < shots.size(); ++i) {
        FrameComparison& comparison = report.frames[i];
        comparison.ruffle = shots[i].image;
        comparison.ruffleShown = shots[i].shown;
        comparison.ruffleStill = shots[i].still;
        comparison.difference = compareImages(comparison.native, comparison.ruffle,
                                              m_options.tolerance.channel, comparison.unjudged);
        comparison.passed = comparison.ruffleShown && comparison.ruffleStill
                            && m_options.tolerance.accepts(comparison.difference);
    }

    for (const Interaction& interaction : interactions) {
        const ProbeFile& probe = interaction.probe;
        std::vector<QPointF> points;
        if (interaction.check->clickButtons)
            points = probe.playNatively()->buttonSpots(buttonGridStep);
        points.insert(points.end(), interaction.check->clicks.begin(),
                      interaction.check->clicks.end());
        const auto playing = probe.playNatively();
        NativeRun& native = *playing;
        // A movie that neither traces nor has anything to click has nothing to say here.
        if (points.empty() && native.traces().isEmpty())
            continue;
        ClickComparison clicks;
        clicks.movie = interaction.check->file;
        clicks.frame = probe.probe.frame;
        clicks.points = points;
        std::vector<int> expected{
            static_cast<int>(native.commands().size() + native.traces().size())};
        std::vector<QPoint> playerPoints;
        for (const QPointF& point : clicks.points) {
            native.click(point);
            expected.push_back(static_cast<int>(native.commands().size() + native.traces().size()));
            playerPoints.push_back(probe.playerPoint(point));
        }
        const RuffleInteraction answer = ruffle.interact(probe.job(), playerPoints, expected);
        clicks.nativeCommands = native.commands();
        clicks.nativeTraces = native.traces();
        clicks.ruffleCommands = answer.commands;
        clicks.ruffleTraces = answer.traces;
        clicks.passed = answer.before.shown && clicks.nativeCommands == clicks.ruffleCommands
                        && clicks.nativeTraces == clicks.ruffleTraces;
        report.clicks.push_back(clicks);

        FrameComparison after;
        after.movie = clicks.movie;
        after.label = QStringLiteral("frame %1 after clicks").arg(clicks.frame);
        after.native = native.render(probe.size);
        after.unjudged = native.blindSpots(probe.size);
        after.ruffle = answer.after.image;
        after.ruffleShown = answer.after.shown;
        after.ruffleStill = answer.after.still;
        after.difference =
            compareImages(after.native, after.ruffle, m_options.tolerance.channel, after.unjudged);
        after.passed =
            after.ruffleShown && after.ruffleStill && m_options.tolerance.accepts(after.difference);
        report.frames.push_back(std::move(after));
    }
    return report;
}

QStringList savePictures(const FrameComparison& comparison, const QDir& folder)
{
    const QString stem = fileStem(comparison.movie) + QLatin1Char('-')
                         + QString(comparison.label).replace(QLatin1Char(' '), QLatin1Char('-'));
    const struct {
        const char* suffix;
        const QImage& image;
    } pictures[] = {{"native", comparison.native},
                    {"ruffle", comparison.ruffle},
                    {"difference", comparison.difference.map}};
    QStringList written;
    for (const auto& picture : pictures) {
        const QString path = folder.filePath(
            stem + QLatin1Char('-') + QString::fromLatin1(picture.suffix) + QStringLiteral(".png"));
        if (!picture.image.isNull() && picture.image.save(path))
            written.append(path);
    }
    return written;
}

QString describe(const FrameComparison& comparison)
{
    QString verdict = comparison.passed ? QStringLiteral("same") : QStringLiteral("DIFFERENT");
    if (!comparison.ruffleShown)
        verdict = QStringLiteral("NOT SHOWN by Ruffle");
    else if (!comparison.ruffleStill)
        verdict += QStringLiteral(" (Ruffle's picture never held still)");
    if (comparison.difference.ignoredPixels > 0)
        verdict += QStringLiteral(" (%1 pixels where Ruffle cannot be believed not judged)")
                       .arg(comparison.difference.ignoredPixels);
    return QStringLiteral(
               "%1 %2: %3% of pixels differ (%4, largest cluster %5), mean difference %6: %7")
        .arg(QFileInfo(comparison.movie).fileName(), comparison.label)
        .arg(100 * comparison.difference.differingShare, 0, 'f', 2)
        .arg(comparison.difference.differingPixels)
        .arg(comparison.difference.largestCluster)
        .arg(comparison.difference.meanDifference, 0, 'f', 2)
        .arg(verdict);
}

QString describe(const ClickComparison& comparison)
{
    QStringList points;
    for (const QPointF& point : comparison.points)
        points.append(QStringLiteral("(%1, %2)").arg(point.x()).arg(point.y()));
    return QStringLiteral(
               "%1 frame %2, clicks at %3: native %4 traces [%5], Ruffle %6 traces [%7]: %8")
        .arg(QFileInfo(comparison.movie).fileName())
        .arg(comparison.frame)
        .arg(points.join(QStringLiteral(" ")), listed(comparison.nativeCommands),
             comparison.nativeTraces.join(QStringLiteral(" | ")), listed(comparison.ruffleCommands),
             comparison.ruffleTraces.join(QStringLiteral(" | ")),
             comparison.passed ? QStringLiteral("same") : QStringLiteral("DIFFERENT"));
}

} // namespace swfcompare
