#include "RuffleStage.h"

#include "EnginePage.h"
#include "EngineRuntime.h"
#include "EngineScheme.h"
#include "PageBridge.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QUrlQuery>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWindow>

#include <vector>

namespace player
{

namespace
{

std::map<const QWidget*, QPointer<RuffleStage>> s_stages;
// By home window, in use or not.
std::map<const QWidget*, QPointer<RuffleStage>> s_spares;

QUrl pageUrl()
{
    QUrl url = engineUrl(QStringLiteral("player.html"));
    // Without a GPU, WebGL would be emulated on the CPU; Ruffle's canvas renderer costs less.
    if (runtime::softwareRenderingOnly()) {
        QUrlQuery query;
        query.addQueryItem(QStringLiteral("renderer"), QStringLiteral("canvas"));
        url.setQuery(query);
    }
    return url;
}

const QUrl& cachedPageUrl()
{
    static const QUrl url = pageUrl();
    return url;
}

bool changesLayout(QEvent::Type type)
{
    switch (type) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::ParentChange:
        return true;
    default:
        return false;
    }
}

bool inUse(const RuffleStage* stage)
{
    const auto found = s_stages.find(stage->window());
    return found != s_stages.end() && found->second == stage;
}

// The next window up: the one that owns `window`.
QWidget* ownerOf(const QWidget* window)
{
    return window->parentWidget() ? window->parentWidget()->window() : nullptr;
}

} // namespace

RuffleStage* RuffleStage::of(QWidget* window)
{
    QPointer<RuffleStage>& stage = s_stages[window];
    if (stage)
        return stage;
    for (const QWidget* home = window; home; home = ownerOf(home)) {
        const auto spare = s_spares.find(home);
        if (spare != s_spares.end() && spare->second && !inUse(spare->second)) {
            stage = spare->second;
            stage->adopt(window);
            return stage;
        }
    }
    stage = new RuffleStage(window, nullptr);
    return stage;
}

void RuffleStage::prepareSpare(QWidget* home)
{
    QPointer<RuffleStage>& spare = s_spares[home];
    if (!spare)
        spare = new RuffleStage(home, home);
}

void RuffleStage::releaseSpare(QWidget* home)
{
    const auto found = s_spares.find(home);
    if (found == s_spares.end())
        return;
    const QPointer<RuffleStage> stage = found->second;
    s_spares.erase(found);
    if (!stage)
        return;
    stage->m_home = nullptr;
    if (inUse(stage)) {
        // From now on the window's own stage, gone with its last movie.
        stage->setParent(stage->m_window);
        return;
    }
    if (stage->m_view)
        stage->m_view->deleteLater();
    stage->deleteLater();
}

const RuffleStage* RuffleStage::spareOf(const QWidget* home)
{
    const auto found = s_spares.find(home);
    return found == s_spares.end() ? nullptr : found->second.data();
}

RuffleStage::RuffleStage(QWidget* window, QWidget* home)
    : QObject(home ? home : window)
    , m_window(window)
    , m_home(home)
    , m_view(new QWebEngineView(window))
{
    auto* const page = new EnginePage(runtime::sharedProfile(), m_view);
    // Until a movie draws its first frame, the player shows what lies behind it.
    page->setBackgroundColor(Qt::transparent);
    connect(page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status) {
                if (status == QWebEnginePage::NormalTerminationStatus)
                    return;
                // A dead page is nobody's spare.
                if (m_home)
                    releaseSpare(m_home);
                QMetaObject::invokeMethod(this, &RuffleStage::allCannotPlay, Qt::QueuedConnection);
            });

    auto* const bridge = new PageBridge(
        {
            .ready = [this] { pageReady(); },
            .command = [this](int id, int load, const QString& command,
                              const QString& args) { this->command(id, load, command, args); },
            .cannotPlay =
                [this](int id, int load) {
                    report(id, load, [](const Slot& slot) { slot.events.cannotPlay(); });
                },
            .firstFrame =
                [this](int id, int load) {
                    report(id, load, [](const Slot& slot) { slot.events.firstFrame(); });
                },
            .warmed = [this] { m_warm = true; },
        },
        page);
    auto* const channel = new QWebChannel(page);
    channel->registerObject(QStringLiteral("host"), bridge);
    page->setWebChannel(channel);

    m_view->setPage(page);
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    m_view->setFocusPolicy(Qt::ClickFocus);
    m_view->hide();
    watch(m_window);
    // Application-wide: the press must be seen on the window before Qt moves the focus, and the
    // players' ancestors' moves matter too.
    qApp->installEventFilter(this);
    page->load(cachedPageUrl());
}

RuffleStage::~RuffleStage()
{
    // An adopted page lies in another window than this stage's parent.
    if (m_view)
        m_view->deleteLater();
}

int RuffleStage::add(QWidget* player, EngineEvents events)
{
    const int id = m_nextId++;
    Slot& slot = m_slots[id];
    slot.player = player;
    slot.events = std::move(events);
    for (QWidget* widget = player; widget && widget != m_window; widget = widget->parentWidget())
        watch(widget);
    scheduleLayout();
    return id;
}

void RuffleStage::remove(int id)
{
    const auto found = m_slots.find(id);
    if (found == m_slots.end())
        return;
    QWidget* const player = found->second.player;
    const bool hadFocus = m_active == id && viewHolds(QApplication::focusWidget());
    m_slots.erase(found);
    if (m_active == id)
        m_active = 0;
    // The focus the player held in the view goes back to the player itself, before the view can
    // hand it to whatever comes next.
    if (hadFocus)
        player->setFocus(Qt::OtherFocusReason);

    if (!m_slots.empty() || m_home) {
        runInPage(QStringLiteral("remove"), {id});
        scheduleLayout();
    }
    if (!m_slots.empty())
        return;
    s_stages.erase(m_window);
    if (m_home) {
        goHome();
        return;
    }
    if (m_view) {
        m_view->hide();
        m_view->deleteLater();
    }
    deleteLater();
}

void RuffleStage::play(int id, const QUrl& movie)
{
    Slot& slot = m_slots.at(id);
    slot.movie = movie;
    ++slot.load;
    playInPage(id, slot);
}

bool RuffleStage::holdsFocus(int id, const QWidget* widget) const
{
    return m_active == id && viewHolds(widget);
}

void RuffleStage::takeFocus(int id)
{
    if (!m_view || !m_slots.contains(id) || visibleRect(m_slots.at(id).player).isEmpty())
        return;
    m_active = id;
    runInPage(QStringLiteral("focus"), {id});
    m_view->setFocus(Qt::OtherFocusReason);
}

bool RuffleStage::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
        && m_window->windowHandle() && watched == m_window->windowHandle()) {
        pressed(static_cast<QMouseEvent*>(event)->position().toPoint());
    } else if (type == QEvent::KeyPress && m_active != 0 && watched->isWidgetType()
               && viewHolds(static_cast<QWidget*>(watched))) {
        // Tab leaves the movie for the next control after its player, not the next movie.
        auto* const key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            QWidget* const player = m_slots.at(m_active).player;
            player->setFocus(Qt::OtherFocusReason);
            QKeyEvent tab(QEvent::KeyPress, key->key(), key->modifiers());
            QCoreApplication::sendEvent(player, &tab);
            return true;
        }
    } else if (changesLayout(type) && watched->isWidgetType()
               && m_watched.contains(static_cast<QWidget*>(watched))) {
        // The mask at once, for whoever shapes the window after this very event; the rest,
        // which talks to the page, once the window has settled.
        const QRegion mask = visibleRegion();
        if (m_view && m_view->isVisible() && !mask.isEmpty())
            m_view->setMask(mask);
        scheduleLayout();
    }
    return QObject::eventFilter(watched, event);
}

void RuffleStage::adopt(QWidget* window)
{
    m_window = window;
    m_watched.clear();
    watch(m_window);
    m_lastLayout.clear();
    if (m_view && m_view->parentWidget() != m_window) {
        m_view->setParent(m_window);
        m_view->hide();
    }
}

void RuffleStage::goHome()
{
    if (m_view)
        m_view->hide();
    // At once, not later: the window it drew in may be on its way out, taking its children.
    adopt(m_home);
}

void RuffleStage::pageReady()
{
    m_pageReady = true;
    if (m_slots.empty())
        runInPage(QStringLiteral("warm"), {});
    else
        m_warm = true;
    for (const auto& [id, slot] : m_slots)
        playInPage(id, slot);
    m_lastLayout.clear();
    layout();
}

void RuffleStage::command(int id, int load, const QString& command, const QString& args)
{
    const auto found = m_slots.find(id);
    if (found != m_slots.end() && found->second.load == load)
        found->second.events.command(command, args);
}

void RuffleStage::report(int id, int load, void (*what)(const Slot&))
{
    const auto found = m_slots.find(id);
    if (found != m_slots.end() && found->second.load == load)
        what(found->second);
}

void RuffleStage::allCannotPlay()
{
    // Each report may remove its slot, and the last removal retires this stage.
    std::vector<int> ids;
    for (const auto& [id, slot] : m_slots)
        ids.push_back(id);
    for (const int id : ids) {
        const auto found = m_slots.find(id);
        if (found != m_slots.end())
            found->second.events.cannotPlay();
    }
}

void RuffleStage::scheduleLayout()
{
    if (m_layoutScheduled)
        return;
    m_layoutScheduled = true;
    QMetaObject::invokeMethod(this, &RuffleStage::layout, Qt::QueuedConnection);
}

void RuffleStage::layout()
{
    m_layoutScheduled = false;
    if (!m_view)
        return;
    const QRegion mask = visibleRegion();
    QJsonArray items;
    for (const auto& [id, slot] : m_slots) {
        const QRect whole = slot.player->window() == m_window
                                ? QRect(slot.player->mapTo(m_window, QPoint()), slot.player->size())
                                : QRect();
        items.append(QJsonArray{id, whole.x(), whole.y(), whole.width(), whole.height(),
                                !visibleRect(slot.player).isEmpty()});
    }

    m_view->setGeometry(m_window->rect());
    if (mask.isEmpty()) {
        if (viewHolds(QApplication::focusWidget()) && m_slots.contains(m_active))
            m_slots.at(m_active).player->setFocus(Qt::OtherFocusReason);
        m_view->hide();
    } else {
        m_view->setMask(mask);
        m_view->raise();
        m_view->show();
    }
    // The view's render widget takes the clicks; the keyboard reaches it only through a player.
    if (QWidget* const render = m_view->focusProxy())
        render->setFocusPolicy(Qt::ClickFocus);

    const QString json = QString::fromUtf8(QJsonDocument(items).toJson(QJsonDocument::Compact));
    if (m_pageReady && json != m_lastLayout) {
        m_lastLayout = json;
        QJsonArray arguments;
        arguments.append(items);
        runInPage(QStringLiteral("layout"), arguments);
    }
}

void RuffleStage::watch(QWidget* widget)
{
    m_watched.insert(widget);
}

void RuffleStage::activate(int id)
{
    const bool focusInView = viewHolds(QApplication::focusWidget());
    const int previous = std::exchange(m_active, id);
    runInPage(QStringLiteral("focus"), {id});
    // Otherwise Qt is about to move the focus into the view, and that raises the OnEnter.
    if (focusInView && previous != id)
        m_slots.at(id).events.entered();
}

void RuffleStage::pressed(QPoint windowPosition)
{
    if (!m_view || !m_view->isVisible())
        return;
    int hit = 0;
    for (const auto& [id, slot] : m_slots) {
        if (visibleRect(slot.player).contains(windowPosition))
            hit = id;
    }
    if (hit != 0)
        activate(hit);
}

void RuffleStage::playInPage(int id, const Slot& slot)
{
    runInPage(QStringLiteral("play"), {id, slot.movie.toString(QUrl::FullyEncoded), slot.load});
}

void RuffleStage::runInPage(const QString& function, const QJsonArray& arguments)
{
    if (!m_pageReady || !m_view)
        return;
    const QString json = QString::fromUtf8(QJsonDocument(arguments).toJson(QJsonDocument::Compact));
    m_view->page()->runJavaScript(QStringLiteral("stage.%1(...%2);").arg(function, json));
}

QRect RuffleStage::visibleRect(const QWidget* player) const
{
    if (player->window() != m_window || !player->isVisibleTo(m_window))
        return {};
    QRect rect(player->mapTo(m_window, QPoint()), player->size());
    for (const QWidget* widget = player->parentWidget(); widget && widget != m_window;
         widget = widget->parentWidget())
        rect &= QRect(widget->mapTo(m_window, QPoint()), widget->size());
    return rect;
}

QRegion RuffleStage::visibleRegion() const
{
    QRegion region;
    for (const auto& [id, slot] : m_slots)
        region += visibleRect(slot.player);
    return region;
}

bool RuffleStage::viewHolds(const QWidget* widget) const
{
    return m_view && widget && (widget == m_view || m_view->isAncestorOf(widget));
}

} // namespace player
