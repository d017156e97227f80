#pragma once

#include <QString>

#include <exception>
#include <utility>

// The application title: the program file's name without its folder, up to its first dot,
// first character as it is and every later one in lower case ("QUORVANE.bin" -> "Quorvane").
[[nodiscard]] QString applicationTitle(const QString& programFilePath);

// The error text as the box shows it: a full stop is added when the text is not empty and its
// last character sorts after "." ("abc" -> "abc.", "abc)" and "" stay as they are).
[[nodiscard]] QString withFullStop(const QString& text);

// Shows an error box (error icon, one OK button) under the application title.
void showErrorBox(const QString& text);

// Runs an event handler; an error that escapes it is reported in an error box and the program
// carries on with whatever state the handler reached. Every handler runs through here, so no
// exception ever unwinds into Qt's event loop.
template <typename Handler>
void guarded(Handler&& handler) noexcept
{
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception& error) {
        showErrorBox(QString::fromUtf8(error.what()));
    }
}
