#include "EngineChoice.h"

#include "ByteReader.h"
#include "ContentPath.h"
#include "EngineRuntime.h"
#include "EngineScheme.h"
#include "Movie.h"
#include "SupportScan.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLoggingCategory>

namespace player
{
namespace
{

Q_LOGGING_CATEGORY(engineChoice, "quorvane.player.engine", QtWarningMsg)

// What is known of a file as it was when last read; a changed file is read again.
struct KnownMovie {
    QDateTime modified;
    qint64 size = -1;
    swf::MovieSummary summary;
    std::weak_ptr<const swf::Movie> movie;
};

QHash<QString, KnownMovie>& knownMovies()
{
    static QHash<QString, KnownMovie> movies;
    return movies;
}

std::span<const std::uint8_t> bytesOf(const QByteArray& data)
{
    return {reinterpret_cast<const std::uint8_t*>(data.constData()),
            static_cast<std::size_t>(data.size())};
}

KnownMovie& known(const QString& movieFile)
{
    const QFileInfo info(movieFile);
    KnownMovie& entry = knownMovies()[info.absoluteFilePath()];
    if (entry.size == info.size() && entry.modified == info.lastModified())
        return entry;
    entry = {info.lastModified(), info.size(), {}, {}};
    QFile file(movieFile);
    if (file.open(QIODevice::ReadOnly))
        entry.summary = swf::scanMovie(bytesOf(file.readAll()));
    else
        entry.summary.firstUnsupported = file.errorString().toStdString();
    return entry;
}

std::optional<EngineKind> forcedEngine()
{
    const QByteArray forced = qgetenv("QUORVANE_PLAYER_ENGINE");
    if (forced == "native")
        return EngineKind::Native;
    if (forced == "ruffle")
        return EngineKind::Ruffle;
    return std::nullopt;
}

} // namespace

std::optional<QString> contentFile(const QString& path)
{
    const QString resolved = resolveContentPath(path);
    if (!QFileInfo(resolved).isFile() || !contentUrl(runtime::roots(), resolved))
        return std::nullopt;
    return resolved;
}

std::optional<EngineKind> chooseEngine(const QString& movieFile)
{
    const swf::MovieSummary& summary = known(movieFile).summary;
    if (!summary.readable) {
        qCInfo(engineChoice).noquote()
            << movieFile << "cannot be read:" << QString::fromStdString(summary.firstUnsupported);
        return std::nullopt;
    }
    if (const auto forced = forcedEngine())
        return forced;
    if (summary.supported) {
        qCInfo(engineChoice).noquote() << movieFile << "plays in the native engine";
        return EngineKind::Native;
    }
    qCInfo(engineChoice).noquote()
        << movieFile << "plays in Ruffle, for" << QString::fromStdString(summary.firstUnsupported);
    return EngineKind::Ruffle;
}

std::shared_ptr<const swf::Movie> loadNativeMovie(const QString& movieFile)
{
    KnownMovie& entry = known(movieFile);
    if (auto movie = entry.movie.lock())
        return movie;
    QFile file(movieFile);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    try {
        auto movie = swf::Movie::load(bytesOf(file.readAll()));
        entry.movie = movie;
        return movie;
    } catch (const swf::MalformedMovie& error) {
        qCInfo(engineChoice).noquote() << movieFile << "cannot be loaded:" << error.what();
        return nullptr;
    }
}

} // namespace player
