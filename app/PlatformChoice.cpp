#include "PlatformChoice.h"

bool runsOnXWayland(const QProcessEnvironment& environment)
{
    if (environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        return false;
    const bool waylandSession =
        !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty()
        || environment.value(QStringLiteral("XDG_SESSION_TYPE")) == QLatin1String("wayland");
    return waylandSession && !environment.value(QStringLiteral("DISPLAY")).isEmpty();
}
