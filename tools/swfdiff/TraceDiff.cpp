#include "TraceDiff.h"

#include "NativeRun.h"
#include "RuffleRun.h"

#include <QFile>

#include <algorithm>

namespace swfdiff
{

QStringList nativeTraces(const TracedMovie& movie)
{
    swfcompare::NativeRun run(movie.file);
    run.advance(movie.framesAfterFirst);
    return run.traces();
}

std::vector<TraceDifference> compareTraces(const TracedMovie& movie, const QStringList& native,
                                           const QStringList& ruffle)
{
    std::vector<TraceDifference> differences;
    const auto lines = static_cast<std::size_t>(std::max(native.size(), ruffle.size()));
    for (std::size_t i = 0; i < lines; ++i) {
        const auto at = static_cast<qsizetype>(i);
        const QString a = at < native.size() ? native[at] : QString();
        const QString b = at < ruffle.size() ? ruffle[at] : QString();
        if (a == b && at < native.size() && at < ruffle.size())
            continue;
        differences.push_back(
            {movie.name,
             i < movie.labels.size() ? movie.labels[i] : "line " + std::to_string(i + 1), a, b});
    }
    return differences;
}

DifferentialRun::DifferentialRun()
    : m_ruffle(std::make_unique<swfcompare::RuffleRun>(m_folder.path()))
{
}

DifferentialRun::~DifferentialRun() = default;

bool DifferentialRun::ready() const
{
    return m_folder.isValid();
}

MovieOutcome DifferentialRun::run(const TracedMovie& movie)
{
    MovieOutcome outcome;
    outcome.native = nativeTraces(movie);

    const QString path =
        m_folder.filePath(QString::fromStdString(movie.name) + QStringLiteral(".swf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return outcome;
    file.write(reinterpret_cast<const char*>(movie.file.data()),
               static_cast<qint64>(movie.file.size()));
    file.close();

    const swfcompare::RuffleJob job{path, QSize(100, 100), 0};
    const auto played = m_ruffle->interact(job, {}, {static_cast<int>(outcome.native.size())});
    outcome.rufflePlayed = played.before.shown && played.before.still;
    outcome.ruffle = played.traces;
    outcome.differences = compareTraces(movie, outcome.native, outcome.ruffle);
    return outcome;
}

} // namespace swfdiff
