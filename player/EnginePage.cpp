#include "EnginePage.h"

#include <QLoggingCategory>

namespace player
{

namespace
{
Q_LOGGING_CATEGORY(pageConsole, "quorvane.player.page", QtCriticalMsg)
}

EnginePage::EnginePage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent)
{
}

void EnginePage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level,
                                          const QString& message, int line, const QString& source)
{
    if (level == ErrorMessageLevel)
        qCWarning(pageConsole).noquote() << source << line << message;
    else
        qCDebug(pageConsole).noquote() << source << line << message;
}

} // namespace player
