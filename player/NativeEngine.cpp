#include "NativeEngine.h"

#include "EngineChoice.h"
#include "NativeView.h"

namespace player
{

NativeEngine::NativeEngine(QWidget* player, EngineEvents events)
    : m_view(new NativeView(player, std::move(events)))
{
}

NativeEngine::~NativeEngine()
{
    if (m_view)
        m_view->retire();
}

bool NativeEngine::play(const QString& movieFile)
{
    auto movie = loadNativeMovie(movieFile);
    if (!movie || !m_view)
        return false;
    m_view->play(std::move(movie));
    return true;
}

bool NativeEngine::holdsFocus(const QWidget* widget) const
{
    return widget && widget == m_view;
}

} // namespace player
