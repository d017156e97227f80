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

void PageBridge::command(int load, const QString& command, const QString& args)
{
    later([this, load, command, args] { m_handlers.command(load, command, args); });
}

void PageBridge::cannotPlay(int load)
{
    later([this, load] { m_handlers.cannotPlay(load); });
}

void PageBridge::firstFrame(int load)
{
    later([this, load] { m_handlers.firstFrame(load); });
}

void PageBridge::later(std::function<void()> report)
{
    // Dropped with this object when the engine goes first.
    QMetaObject::invokeMethod(this, std::move(report), Qt::QueuedConnection);
}

} // namespace player
