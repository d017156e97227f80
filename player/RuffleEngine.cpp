#include "RuffleEngine.h"

#include "EngineRuntime.h"
#include "EngineScheme.h"
#include "PageBridge.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QUrlQuery>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace player
{

namespace
{

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

} // namespace

RuffleEngine::RuffleEngine(QWidget* player, EngineEvents events)
    : m_player(player)
    , m_events(std::move(events))
    , m_view(std::make_unique<QWebEngineView>(player))
{
    auto* const page = new QWebEnginePage(runtime::sharedProfile(), m_view.get());
    page->setBackgroundColor(Qt::transparent);
    QObject::connect(page, &QWebEnginePage::renderProcessTerminated, m_view.get(),
                     [this](QWebEnginePage::RenderProcessTerminationStatus status) {
                         // Reported from the event loop: the page must outlive its own signal.
                         if (status != QWebEnginePage::NormalTerminationStatus)
                             QMetaObject::invokeMethod(
                                 m_view.get(), [this] { m_events.cannotPlay(); },
                                 Qt::QueuedConnection);
                     });

    auto* const bridge =
        new PageBridge({
                           .ready = [this] { pageReady(); },
                           .command =
                               [this](int load, const QString& command, const QString& args) {
                                   if (load == m_load)
                                       m_events.command(command, args);
                               },
                           .cannotPlay =
                               [this](int load) {
                                   if (load == m_load)
                                       m_events.cannotPlay();
                               },
                           .firstFrame =
                               [this](int load) {
                                   if (load == m_load)
                                       m_events.firstFrame();
                               },
                       },
                       page);
    auto* const channel = new QWebChannel(page);
    channel->registerObject(QStringLiteral("host"), bridge);
    page->setWebChannel(channel);

    m_view->setPage(page);
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    m_view->setGeometry(player->rect());
    // Keyboard focus reaches the view through the player, which keeps its place in the tab
    // order; a click on the view focuses it directly.
    m_view->setFocusPolicy(Qt::ClickFocus);
    m_player->setFocusProxy(m_view.get());
    m_view->show();
    page->load(cachedPageUrl());
}

RuffleEngine::~RuffleEngine()
{
    m_player->setFocusProxy(nullptr);
    // Losing the view must not lose the focus the player holds; this stays within the player,
    // so it raises no OnEnter.
    const QWidget* const focus = QApplication::focusWidget();
    if (focus && m_view->isAncestorOf(focus))
        m_player->setFocus(Qt::OtherFocusReason);
}

bool RuffleEngine::play(const QString& movieFile)
{
    const auto url = contentUrl(runtime::roots(), movieFile);
    if (!url)
        return false;
    m_movie = *url;
    ++m_load;
    if (m_pageReady)
        start();
    return true;
}

void RuffleEngine::setGeometry(const QRect& rect)
{
    m_view->setGeometry(rect);
}

void RuffleEngine::pageReady()
{
    m_pageReady = true;
    start();
}

void RuffleEngine::start()
{
    const QString arguments =
        QString::fromUtf8(QJsonDocument(QJsonArray{m_movie.toString(QUrl::FullyEncoded), m_load})
                              .toJson(QJsonDocument::Compact));
    m_view->page()->runJavaScript(QStringLiteral("playMovie(...%1);").arg(arguments));
}

} // namespace player
