#include "Desktop.h"

#include <QElapsedTimer>
#include <QThread>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace desktop
{
namespace
{

using namespace std::chrono_literals;

template <typename Reply>
using ReplyPointer = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
ReplyPointer<Reply> owned(Reply* reply)
{
    return ReplyPointer<Reply>(reply, &std::free);
}

// Polls `done` until it holds or `patience` runs out.
template <typename Condition>
bool waitFor(Condition done, std::chrono::milliseconds patience)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > patience.count())
            return false;
        QThread::msleep(10);
    }
    return true;
}

} // namespace

Desktop::Desktop()
{
    int screenNumber = 0;
    m_connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(m_connection))
        throw std::runtime_error("no X display: run under xvfb-run");
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&screens);
    m_root = screens.data->root;
    // The ping's answer is sent to the root window for the window manager; selecting the
    // root's structure events lets it reach this connection too (Qt answers with the structure
    // mask, the convention with the substructure one).
    const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(m_connection);
    if (!windowManagerRuns())
        startWindowManager();
}

Desktop::~Desktop()
{
    if (m_windowManager.state() != QProcess::NotRunning) {
        m_windowManager.terminate();
        m_windowManager.waitForFinished(3000);
    }
    xcb_disconnect(m_connection);
}

void Desktop::startWindowManager()
{
    m_windowManager.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_windowManager.setStandardOutputFile(QProcess::nullDevice());
    m_windowManager.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    if (!m_windowManager.waitForStarted(5000))
        throw std::runtime_error("openbox does not start: is it installed?");
    if (!waitFor([this] { return windowManagerRuns(); }, 10s))
        throw std::runtime_error("openbox did not take over the display");
}

bool Desktop::windowManagerRuns() const
{
    const auto reply = owned(xcb_get_property_reply(
        m_connection,
        xcb_get_property(m_connection, 0, m_root, atom("_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW,
                         0, 1),
        nullptr));
    return reply && xcb_get_property_value_length(reply.get()) == 4;
}

std::uint32_t Desktop::atom(const char* name) const
{
    const auto reply = owned(xcb_intern_atom_reply(
        m_connection,
        xcb_intern_atom(m_connection, 0, static_cast<std::uint16_t>(strlen(name)), name), nullptr));
    return reply ? reply->atom : std::uint32_t{XCB_ATOM_NONE};
}

namespace
{

std::vector<std::uint32_t> cardinals(xcb_connection_t* connection, WindowId window,
                                     std::uint32_t property, std::uint32_t type)
{
    const auto reply = owned(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, type, 0, 4096), nullptr));
    if (!reply || reply->format != 32)
        return {};
    const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

std::optional<QByteArray> bytes(xcb_connection_t* connection, WindowId window,
                                std::uint32_t property, std::uint32_t type)
{
    const auto reply = owned(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, type, 0, 4096), nullptr));
    if (!reply || reply->type == XCB_ATOM_NONE)
        return std::nullopt;
    return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())),
                      xcb_get_property_value_length(reply.get()));
}

} // namespace

std::optional<Window> Desktop::window(WindowId id) const
{
    const auto geometry =
        owned(xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, id), nullptr));
    const auto origin = owned(xcb_translate_coordinates_reply(
        m_connection, xcb_translate_coordinates(m_connection, id, m_root, 0, 0), nullptr));
    if (!geometry || !origin)
        return std::nullopt;

    Window window;
    window.id = id;
    window.client = QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
    if (const auto name = bytes(m_connection, id, atom("_NET_WM_NAME"), atom("UTF8_STRING")))
        window.title = QString::fromUtf8(*name);
    else if (const auto legacy = bytes(m_connection, id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING))
        window.title = QString::fromLatin1(*legacy);

    const auto extents = cardinals(m_connection, id, atom("_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL);
    window.frame = extents.size() == 4 ? window.client.adjusted(-int(extents[0]), -int(extents[2]),
                                                                int(extents[1]), int(extents[3]))
                                       : window.client;
    const auto states = cardinals(m_connection, id, atom("_NET_WM_STATE"), XCB_ATOM_ATOM);
    const auto has = [&states](std::uint32_t state) {
        return std::find(states.begin(), states.end(), state) != states.end();
    };
    window.minimised = has(atom("_NET_WM_STATE_HIDDEN"));
    window.maximised =
        has(atom("_NET_WM_STATE_MAXIMIZED_VERT")) && has(atom("_NET_WM_STATE_MAXIMIZED_HORZ"));
    return window;
}

std::vector<Window> Desktop::windowsOf(qint64 pid) const
{
    std::vector<Window> found;
    const auto pidAtom = atom("_NET_WM_PID");
    for (const WindowId id :
         cardinals(m_connection, m_root, atom("_NET_CLIENT_LIST_STACKING"), XCB_ATOM_WINDOW)) {
        const auto owner = cardinals(m_connection, id, pidAtom, XCB_ATOM_CARDINAL);
        if (owner.size() != 1 || owner[0] != pid)
            continue;
        if (auto window = this->window(id))
            found.push_back(std::move(*window));
    }
    return found;
}

std::optional<Window> Desktop::activeWindow() const
{
    const auto active =
        cardinals(m_connection, m_root, atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW);
    if (active.size() != 1 || active[0] == XCB_WINDOW_NONE)
        return std::nullopt;
    return window(active[0]);
}

bool Desktop::answersPing(WindowId id, std::chrono::milliseconds patience) const
{
    static std::uint32_t stamp = 1;
    const std::uint32_t mine = ++stamp;
    xcb_client_message_event_t ping{};
    ping.response_type = XCB_CLIENT_MESSAGE;
    ping.format = 32;
    ping.window = id;
    ping.type = atom("WM_PROTOCOLS");
    ping.data.data32[0] = atom("_NET_WM_PING");
    ping.data.data32[1] = mine;
    ping.data.data32[2] = id;
    xcb_send_event(m_connection, 0, id, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&ping));
    xcb_flush(m_connection);
    return waitFor(
        [&] {
            while (const auto event = owned(xcb_poll_for_event(m_connection))) {
                if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
                    continue;
                const auto* pong = reinterpret_cast<const xcb_client_message_event_t*>(event.get());
                if (pong->data.data32[1] == mine && pong->data.data32[2] == id)
                    return true;
            }
            return false;
        },
        patience);
}

void Desktop::xdotool(const QStringList& arguments)
{
    QProcess::execute(QStringLiteral("xdotool"), arguments);
}

void Desktop::click(WindowId id, QPoint at, int button) const
{
    xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), QString::number(id),
             QString::number(at.x()), QString::number(at.y()), QStringLiteral("click"),
             QString::number(button)});
}

void Desktop::doubleClick(WindowId id, QPoint at, int button) const
{
    xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), QString::number(id),
             QString::number(at.x()), QString::number(at.y()), QStringLiteral("click"),
             QStringLiteral("--repeat"), QStringLiteral("2"), QStringLiteral("--delay"),
             QStringLiteral("80"), QString::number(button)});
}

void Desktop::key(const QString& keys) const
{
    xdotool({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("40"), keys});
}

void Desktop::type(const QString& text) const
{
    xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"), text});
}

void Desktop::clickCloseButton(const Window& window) const
{
    // openbox puts the close button last in the title bar, whatever other buttons it shows.
    const int titleBar = window.client.top() - window.frame.top();
    const QPoint button(window.frame.right() - titleBar / 2, window.frame.top() + titleBar / 2);
    xdotool({QStringLiteral("mousemove"), QString::number(button.x()), QString::number(button.y()),
             QStringLiteral("click"), QStringLiteral("1")});
}

void Desktop::minimise(WindowId id) const
{
    xdotool({QStringLiteral("windowminimize"), QString::number(id)});
}

void Desktop::activate(WindowId id) const
{
    xdotool({QStringLiteral("windowactivate"), QString::number(id)});
}

} // namespace desktop
