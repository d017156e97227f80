#pragma once

#include "PlayerEngine.h"

#include <QUrl>

#include <memory>

class QWebEngineView;
class QWidget;

namespace player
{

// Ruffle's web build in a web view that fills the player. The page is loaded once and kept
// while the player's movie changes; the movie is handed over once the page is ready.
class RuffleEngine final : public PlayerEngine
{
public:
    RuffleEngine(QWidget* player, EngineEvents events);
    ~RuffleEngine() override;

    [[nodiscard]] bool play(const QString& movieFile) override;
    void setGeometry(const QRect& rect) override;

private:
    void pageReady();
    void start();

    QWidget* m_player;
    EngineEvents m_events;
    std::unique_ptr<QWebEngineView> m_view;
    bool m_pageReady = false;
    QUrl m_movie;
    // Numbers the movies handed to the page, so a late report about an earlier movie is dropped.
    int m_load = 0;
};

} // namespace player
