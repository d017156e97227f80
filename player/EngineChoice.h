#pragma once

#include <QString>

#include <memory>
#include <optional>

namespace swf
{
class Movie;
}

namespace player
{

enum class EngineKind { Native, Ruffle };

// The file `path` names (resolved without case) when it is a file below the program folder,
// else nothing. Whether it is a movie at all, chooseEngine finds out.
[[nodiscard]] std::optional<QString> contentFile(const QString& path);

// Which engine plays the movie file: the native one when it supports every tag and action the
// movie uses, else Ruffle; nothing when the file is no movie any engine could read. The
// environment variable QUORVANE_PLAYER_ENGINE ("native" or "ruffle") forces one engine for
// tests and comparisons. Each verdict is logged under "quorvane.player.engine" (info level).
[[nodiscard]] std::optional<EngineKind> chooseEngine(const QString& movieFile);

// The movie loaded for the native engine, shared while any player shows it; nothing when it
// cannot be loaded.
[[nodiscard]] std::shared_ptr<const swf::Movie> loadNativeMovie(const QString& movieFile);

} // namespace player
