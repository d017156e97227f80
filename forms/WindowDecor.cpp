#include "WindowDecor.h"

#include "FormControls.h"
#include "Main.h"
#include "TShockwaveFlash.h"
#include "TransparentLabel.h"
#include "WindowSlots.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QStringList>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

QLabel* makeBackdrop(QWidget* window)
{
    auto* image = placed(new QLabel(window), QStringLiteral("Image1"), QRect(0, 0, 790, 536));
    image->setPixmap(QPixmap(QStringLiteral(":/assets/background.jpg")));
    image->setScaledContents(true);
    return image;
}

TransparentLabel* makeBrandLine(QWidget* window, const QPoint& position)
{
    return placed(new TransparentLabel(QStringLiteral("Quorvane - Tecnologia e Educação"),
                                       pixelFont(QStringLiteral("Arial Black"), 17, true),
                                       QColor(0x00, 0x40, 0x80), window),
                  QStringLiteral("Label7"), position);
}

TShockwaveFlash* makePlayer(QWidget* parent, const QString& name, const QRect& geometry)
{
    return placed(new TShockwaveFlash(parent), name, geometry);
}

void centreOnGradeMenu(QWidget& window)
{
    if (!FRMmain)
        return;
    // Being shown, the window has no decorations yet and its frame is unknown: it will get the
    // grade menu's, both being dialogs of the same desktop. Placing it by its client area puts
    // it in its place at once, before the window manager decorates it.
    const QRect menu = FRMmain->geometry();
    const QRect menuFrame = FRMmain->frameGeometry();
    const QMargins decoration(menu.left() - menuFrame.left(), menu.top() - menuFrame.top(),
                              menuFrame.right() - menu.right(), menuFrame.bottom() - menu.bottom());
    QRect frame = QRect(QPoint(), window.size()).marginsAdded(decoration);
    frame.moveCenter(menuFrame.center());
    window.setGeometry(frame.marginsRemoved(decoration));
}

QString yearCaption(const QString& gradeCode)
{
    static const QStringList gradeCodes{QStringLiteral("1A"), QStringLiteral("2A"),
                                        QStringLiteral("3A"), QStringLiteral("4A"),
                                        QStringLiteral("5A")};
    const auto year = gradeCodes.indexOf(gradeCode);
    if (year < 0)
        return {};
    return QStringLiteral("%1º Ano - Fundamental I").arg(year + 1);
}

namespace
{

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name)
{
    const auto cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* const reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

} // namespace

void showNoTitle(QWidget& window)
{
    window.setWindowTitle(QString());
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* const connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    const auto id = static_cast<xcb_window_t>(window.winId());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id,
                        internAtom(connection, "_NET_WM_NAME"),
                        internAtom(connection, "UTF8_STRING"), 8, 0, nullptr);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        0, nullptr);
    xcb_flush(connection);
}
