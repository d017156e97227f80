#include "PageBridge.h"

#include <QMetaObject>

namespace player
{

PageBridge::PageBridge(Handlers handlers, QObject* parent)
    : QObject(parent)
    , m_handlers(std::move(handlers))
{
}

void PageBridge::ready()
{
    later([this] { m_handlers.ready(); });
}

void PageBridge::command(int player, int load, const QString& command, const QString& args)
{
    later([this, player, load, command, args] { m_handlers.command(player, load, command, args); });
}

void PageBridge::cannotPlay(int player, int load)
{
    later([this, player, load] { m_handlers.cannotPlay(player, load); });
}

void PageBridge::firstFrame(int player, int load)
{
    later([this, player, load] { m_handlers.firstFrame(player, load); });
}

void PageBridge::warmed()
{
    later([this] { m_handlers.warmed(); });
}

void PageBridge::later(std::function<void()> report)
{
    // Dropped with this object when the page goes first.
    QMetaObject::invokeMethod(this, std::move(report), Qt::QueuedConnection);
}

} // namespace player
