#pragma once

#include "PlayerEngine.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QRegion>
#include <QUrl>

class QJsonArray;

#include <map>
#include <set>

class QWebEngineView;
class QWidget;

namespace player
{

// One web page per window draws the movies of all that window's players: Ruffle compiles once
// per page and every further movie costs only its own instance, where a page per player costs
// seconds and hundreds of megabytes for a menu of eight.
//
// The page's view lies over the whole window, above its other controls, masked to the visible
// rectangles of the players that hold a movie; so it draws only there and every click elsewhere
// reaches the controls below. Each player keeps its own focus and OnEnter: a click on a player's
// rectangle makes that player the view's active one, and the view's focus counts as that
// player's focus.
//
// The stage is a child of the window and lives while some player of the window holds a movie.
// A window about to open others may keep a spare stage, started in the background: the first
// window below it (itself, or one it owns) that needs a stage takes the spare, page and all, and
// gives it back when its last movie goes. The spare belongs to that home window and goes with it.
class RuffleStage final : public QObject
{
    Q_OBJECT

public:
    // The stage of `window`: its own, else a spare of the window or of a window that owns it,
    // else a new one.
    [[nodiscard]] static RuffleStage* of(QWidget* window);
    // Starts a spare stage for `home` unless it has one, in use or not.
    static void prepareSpare(QWidget* home);
    // Frees the spare stage of `home`; one in use goes when its window is done with it.
    static void releaseSpare(QWidget* home);
    // The spare stage of `home`, whether in use or not; null when it has none.
    [[nodiscard]] static const RuffleStage* spareOf(const QWidget* home);
    ~RuffleStage() override;

    // True once Ruffle has run in the page, so that a movie starts without compiling it.
    [[nodiscard]] bool warm() const { return m_warm; }
    // The window the page draws in now.
    [[nodiscard]] QWidget* window() const { return m_window; }

    [[nodiscard]] int add(QWidget* player, EngineEvents events);
    // The last removal takes the page down.
    void remove(int id);
    void play(int id, const QUrl& movie);
    [[nodiscard]] bool holdsFocus(int id, const QWidget* widget) const;
    void takeFocus(int id);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Slot {
        QWidget* player = nullptr;
        EngineEvents events;
        QUrl movie;
        int load = 0;
    };

    RuffleStage(QWidget* window, QWidget* home);

    void adopt(QWidget* window);
    void goHome();
    void pageReady();
    void command(int id, int load, const QString& command, const QString& args);
    void report(int id, int load, void (*what)(const Slot&));
    void allCannotPlay();
    void scheduleLayout();
    void layout();
    void watch(QWidget* widget);
    void activate(int id);
    void pressed(QPoint windowPosition);
    void playInPage(int id, const Slot& slot);
    void runInPage(const QString& function, const QJsonArray& arguments);
    [[nodiscard]] QRect visibleRect(const QWidget* player) const;
    // Where the view draws: the visible parts of all its players.
    [[nodiscard]] QRegion visibleRegion() const;
    [[nodiscard]] bool viewHolds(const QWidget* widget) const;

    QWidget* m_window;
    // Where a spare stage returns when its window is done with it; null for a window's own.
    QPointer<QWidget> m_home;
    QPointer<QWebEngineView> m_view;
    std::map<int, Slot> m_slots;
    // The window and the players' ancestors, whose moves and visibility change the layout.
    std::set<const QWidget*> m_watched;
    int m_nextId = 1;
    int m_active = 0;
    bool m_pageReady = false;
    bool m_warm = false;
    bool m_layoutScheduled = false;
    QString m_lastLayout;
};

} // namespace player
