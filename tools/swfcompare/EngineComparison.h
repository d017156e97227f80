#pragma once

#include "ImageDifference.h"
#include "NativeRun.h"

#include <QDir>
#include <QImage>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <vector>

namespace swfcompare
{

// What a comparison accepts as the same picture. On the demo menus the worst frame had 16
// differing pixels (0.09%), in runs of at most 6, at this channel tolerance; at 16 it had 67 in
// runs of up to 22, at 8 it had 165 in runs of up to 50. The limits keep a margin of four to
// five times over what anti-aliasing does at 24, and a shift, a wrong colour, a missing shape or
// line, or other text all exceed them by far.
struct Tolerance {
    int channel = 24;             // per colour channel, beyond the neighbours' range
    double differingShare = 0.01; // of the picture's pixels
    int cluster = 24;             // differing pixels in one connected run

    [[nodiscard]] bool accepts(const ImageDifference& difference) const
    {
        return difference.differingShare <= differingShare && difference.largestCluster < cluster;
    }
};

struct ComparisonOptions {
    double scale = 1;    // player pixels per stage pixel
    int spriteFrame = 0; // every sprite stops on this frame of its own; 0: the frame compared
    Tolerance tolerance;
};

// One movie to compare: some frames of its main timeline, and clicks on the first of them.
struct MovieCheck {
    QString file;
    std::vector<int> frames{1};  // from 1; past the last means the last
    bool clickButtons = false;   // click inside every button found on the first frame
    std::vector<QPointF> clicks; // more points to click, in stage pixels, after the buttons
};

struct FrameComparison {
    QString movie;
    QString label; // "frame 12", or "after clicks"
    QImage native;
    QImage ruffle;
    QImage unjudged;          // where Ruffle cannot be believed (see NativeRun::blindSpots)
    bool ruffleShown = false; // Ruffle drew the movie
    bool ruffleStill = false; // and it held still in time
    ImageDifference difference;
    bool passed = false;
};

struct ClickComparison {
    QString movie;
    int frame = 1;
    std::vector<QPointF> points; // stage pixels
    std::vector<Command> nativeCommands;
    std::vector<Command> ruffleCommands;
    QStringList nativeTraces;
    QStringList ruffleTraces;
    bool passed = false;
};

struct ComparisonReport {
    std::vector<FrameComparison> frames;
    std::vector<ClickComparison> clicks;
    QStringList errors; // movies that could not be compared at all

    [[nodiscard]] bool passed() const;
};

// The frames of `frameCount` worth a look: first, middle and last, each once.
[[nodiscard]] std::vector<int> firstMiddleLast(int frameCount);

// Compares the native engine with Ruffle on movies: the same frames drawn by both, and the same
// clicks answered by both. Both engines play identical probe copies (see makeProbe), written to
// `workFolder`, which Ruffle then reads as the program folder. Needs X and xdotool.
class EngineComparison final
{
public:
    EngineComparison(QString workFolder, ComparisonOptions options);

    [[nodiscard]] ComparisonReport run(const std::vector<MovieCheck>& checks);

private:
    QString m_workFolder;
    ComparisonOptions m_options;
};

// Writes the two pictures and the difference map of a comparison into `folder`, named after the
// movie and the label; returns the file names written.
QStringList savePictures(const FrameComparison& comparison, const QDir& folder);

// One line per comparison, for people: what was compared and how far apart.
[[nodiscard]] QString describe(const FrameComparison& comparison);
[[nodiscard]] QString describe(const ClickComparison& comparison);

} // namespace swfcompare
