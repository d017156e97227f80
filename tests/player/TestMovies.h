#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>

// Tiny SWF movies built byte by byte, so the engine tests need no content files.
namespace testmovies
{

// A movie of `width` x `height` pixels filled by one button whose release sends
// fscommand(command, args).
[[nodiscard]] QByteArray button(int width, int height, QColor colour, const QString& command,
                                const QString& args);

// A looping two-frame movie of `width` x `height` pixels: a square moving on a background.
[[nodiscard]] QByteArray tile(int width, int height, QColor background, QColor square);

// Writes `bytes` to `path`; returns false when it could not.
[[nodiscard]] bool write(const QString& path, const QByteArray& bytes);

} // namespace testmovies
