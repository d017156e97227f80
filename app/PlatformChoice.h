#pragma once

#include <QProcessEnvironment>

// The windows need what only X11 gives a program: see-through shaped windows and placing its
// own windows. In a Wayland session that also runs XWayland, the program asks Qt for X11,
// unless the user chose a platform (QT_QPA_PLATFORM). Without X11 at all, Qt's choice stands
// and the see-through window is drawn opaque.
[[nodiscard]] bool runsOnXWayland(const QProcessEnvironment& environment);
