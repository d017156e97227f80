#pragma once

#include <QWebEnginePage>

namespace player
{

// The engine's page. Its console (Ruffle's and Chromium's own warnings) goes to the logging
// category "quorvane.player.page", off unless QT_LOGGING_RULES turns it on: the program keeps
// no log.
class EnginePage final : public QWebEnginePage
{
    Q_OBJECT

public:
    explicit EnginePage(QWebEngineProfile* profile, QObject* parent = nullptr);

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int line, const QString& source) override;
};

} // namespace player
