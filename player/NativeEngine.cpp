#include "NativeEngine.h"

#include "EngineChoice.h"
#include "NativeView.h"

namespace player
{

NativeEngine::NativeEngine(QWidget* player, EngineEvents events)
    : m_view(std::make_unique<NativeView>(player, std::move(events)))
{
}

NativeEngine::~NativeEngine() = default;

bool NativeEngine::play(const QString& movieFile)
{
    auto movie = loadNativeMovie(movieFile);
    if (!movie)
        return false;
    m_view->play(std::move(movie));
    return true;
}

bool NativeEngine::holdsFocus(const QWidget* widget) const
{
    return widget && widget == m_view.get();
}

} // namespace player
