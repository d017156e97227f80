#pragma once

#include "TracedMovie.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace swfcompare
{
class RuffleRun;
}

namespace swfdiff
{

// A line the engines printed differently; a missing line reads as the empty string.
struct TraceDifference {
    std::string movie;
    std::string label; // the case, or "line N" past the labelled ones
    QString native;
    QString ruffle;
};

struct MovieOutcome {
    QStringList native;
    QStringList ruffle;
    std::vector<TraceDifference> differences;
    bool rufflePlayed = false; // Ruffle showed a first frame and said it stopped
};

// The native engine's traces, played headless until the main timeline stopped.
[[nodiscard]] QStringList nativeTraces(const TracedMovie& movie);

// Line by line; lines are matched to the movie's labels in order.
[[nodiscard]] std::vector<TraceDifference>
compareTraces(const TracedMovie& movie, const QStringList& native, const QStringList& ruffle);

// Plays traced movies in both engines, one Ruffle page for all of them. Needs an X server.
class DifferentialRun final
{
public:
    DifferentialRun();
    ~DifferentialRun();
    DifferentialRun(const DifferentialRun&) = delete;
    DifferentialRun& operator=(const DifferentialRun&) = delete;

    [[nodiscard]] bool ready() const;
    [[nodiscard]] MovieOutcome run(const TracedMovie& movie);

private:
    QTemporaryDir m_folder; // where Ruffle reads the movies from
    std::unique_ptr<swfcompare::RuffleRun> m_ruffle;
};

} // namespace swfdiff
