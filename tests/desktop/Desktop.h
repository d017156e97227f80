#pragma once

#include <QProcess>
#include <QRect>
#include <QString>

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

struct xcb_connection_t;

namespace desktop
{

using WindowId = std::uint32_t;

// A top-level window as the window manager manages it.
struct Window {
    WindowId id = 0;
    QString title; // _NET_WM_NAME, or WM_NAME where the window sets no UTF-8 name
    QRect client;  // the window's own area, in screen coordinates
    QRect frame;   // with the window manager's decorations
    bool minimised = false;
    bool maximised = false;
};

// The X display the tests run on ($DISPLAY, an Xvfb), with openbox managing its windows, and
// real input sent through the XTEST extension (xdotool). Everything here goes through the X
// server, as a user's desktop would: nothing reaches into the program under test.
class Desktop final
{
public:
    // Connects and starts openbox, unless a window manager already runs; throws when there is
    // no display or the window manager does not come up.
    Desktop();
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    // The windows the window manager manages for process `pid`, bottom to top.
    [[nodiscard]] std::vector<Window> windowsOf(qint64 pid) const;
    [[nodiscard]] std::optional<Window> activeWindow() const;
    [[nodiscard]] std::optional<Window> window(WindowId id) const;
    // Whether the window's program answers the window manager's ping within `patience`: a
    // program that does not is hung.
    [[nodiscard]] bool answersPing(WindowId id, std::chrono::milliseconds patience) const;

    // Input, at points in the window's own coordinates.
    void click(WindowId id, QPoint at, int button = 1) const;
    void doubleClick(WindowId id, QPoint at, int button = 1) const;
    // Keys in xdotool's names ("Tab", "alt+F4", "Return"), to whatever holds the focus.
    void key(const QString& keys) const;
    void type(const QString& text) const;
    // Clicks the close button in the window manager's title bar.
    void clickCloseButton(const Window& window) const;
    void minimise(WindowId id) const;
    // Asks the window manager to restore, raise and focus the window.
    void activate(WindowId id) const;

private:
    void startWindowManager();
    [[nodiscard]] bool windowManagerRuns() const;
    [[nodiscard]] std::uint32_t atom(const char* name) const;
    static void xdotool(const QStringList& arguments);

    xcb_connection_t* m_connection = nullptr;
    WindowId m_root = 0;
    QProcess m_windowManager;
};

} // namespace desktop
