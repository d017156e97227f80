#pragma once

#include "NativeRun.h"

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QWidget;
class TShockwaveFlash;

namespace swfcompare
{

// One movie for Ruffle: a file below the content folder, shown in a player of `size` pixels.
struct RuffleJob {
    QString file;
    QSize size;
    // How long the movie may still change after its main timeline stopped (sprites placed late
    // still running), in seconds. The movie must be a probe, which says when it stopped.
    double settleSeconds = 0;
};

struct RuffleShot {
    QImage image;       // what X shows over the player
    bool shown = false; // the movie drew a first frame in time
    bool still = false; // and then stopped, and stopped changing, in time
};

struct RuffleInteraction {
    RuffleShot before; // the picture before the first click
    std::vector<Command> commands;
    QStringList traces; // from the start of the movie to the end of the clicks
    RuffleShot after;   // the picture after the last click, the mouse still there
};

// Plays movies in Ruffle through the program's own player control, forced to that engine, in
// top-level windows under X, and reads back what X shows, so that the pictures are Ruffle's as
// a user sees them. Needs a running X server (xvfb-run) and xdotool for the clicks. While it
// lives, it takes the engine page's console messages, to read the movies' traces from them.
class RuffleRun final
{
public:
    // `contentFolder` becomes the program folder, the only tree the engine reads movies from, and
    // Ruffle is forced on every player, both until the run ends.
    explicit RuffleRun(const QString& contentFolder);
    ~RuffleRun();
    RuffleRun(const RuffleRun&) = delete;
    RuffleRun& operator=(const RuffleRun&) = delete;

    // Each movie's picture once it holds still. The movies of a batch play at the same time,
    // side by side in one window (one page, one start of Ruffle).
    [[nodiscard]] std::vector<RuffleShot> shoot(const std::vector<RuffleJob>& jobs);

    // Plays one movie alone, so that its traces are its own, waits until it holds still, then
    // clicks at each point (player pixels) as a user would. `expected` is how many commands and
    // traces the other engine heard in all before the first click, then after each click:
    // reaching that number ends the wait early, and a short grace period still catches any more.
    [[nodiscard]] RuffleInteraction interact(const RuffleJob& job,
                                             const std::vector<QPoint>& clicks,
                                             const std::vector<int>& expected);

private:
    QByteArray m_previousEngine;
    bool m_hadEngine = false;
    QString m_previousProgramFolder;
    // The first `count` players of the one window, shown, the others hidden: every batch and
    // every movie clicked at reuses the page and its Ruffle instances, which cost seconds to start.
    [[nodiscard]] std::vector<TShockwaveFlash*> playersFor(std::size_t count);

    std::unique_ptr<QWidget> m_window;
    std::vector<TShockwaveFlash*> m_players;
    std::vector<Command> m_commands;
    QStringList m_console; // the engine page's console, while a movie is clicked at
};

} // namespace swfcompare
