#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>

namespace player
{
class PlayerEngine;
enum class EngineKind;
} // namespace player

// The player control every window uses for its logo, buttons, menu tiles and activity movies.
//
// Movie rule, which the player window relies on: setting Movie to a path that names a playable
// movie loads and plays it, and Movie then reads back as that path, exactly as it was set. A
// path that names nothing playable (missing, a folder, not a SWF file, unreadable, outside the
// program folder) leaves the player showing nothing, and Movie then reads back as the empty
// text; so does a movie the engine later finds it cannot play. Setting the same path again is
// cheap. Paths are resolved without case (see resolveContentPath).
//
// Two engines play movies: the program's own, inside its process, for every movie whose tags
// and actions it supports (the menus), and Ruffle, in one web view per window drawing over that
// window's players, for the rest. The engine exists only while a movie is held: a player without
// one costs no more than a plain widget, and setting a path that names no movie releases its
// part of the engine. Loading a movie never moves the input focus. While a Ruffle movie plays
// and the player holds the focus, QApplication::focusWidget() is the engine's view, not the
// player.
class TShockwaveFlash final : public QWidget
{
    Q_OBJECT

public:
    explicit TShockwaveFlash(QWidget* parent = nullptr);
    ~TShockwaveFlash() override;

    [[nodiscard]] QString Movie() const { return m_movie; }
    void setMovie(const QString& path);

    // The players of `window` and of the windows it opens are about to be offered one of
    // `paths` (as Movie): when Ruffle would play one of them, its page starts now, in the
    // background, for the first of those players that needs it. A list without such a movie
    // frees that page; so does the window's end.
    static void expectMovies(QWidget* window, const QStringList& paths);

    // Lets the movie talk to the program (fscommand); set on the players that need it.
    void setAllowScriptAccess(bool allowed) { m_allowScriptAccess = allowed; }
    [[nodiscard]] bool allowScriptAccess() const { return m_allowScriptAccess; }

signals:
    // A command sent by the movie, on the user-interface thread, both texts exactly as sent.
    void FSCommand(const QString& command, const QString& args);
    // Raised every time the player receives the input focus, by a click or by the keyboard;
    // not again while the focus stays inside it.
    void OnEnter();
    // The movie just set has drawn its first frame (for measurements and tests).
    void firstFrameShown();

protected:
    bool event(QEvent* event) override;

private:
    void focusChanged(const QWidget* old, const QWidget* now);
    bool play(player::EngineKind kind, const QString& file);
    [[nodiscard]] std::unique_ptr<player::PlayerEngine> makeEngine(player::EngineKind kind);
    void dropMovie();
    [[nodiscard]] bool holds(const QWidget* widget) const;

    QString m_movie;
    bool m_allowScriptAccess = false;
    std::unique_ptr<player::PlayerEngine> m_engine;
    player::EngineKind m_engineKind{};
};
