#pragma once

#include <QObject>
#include <QStringList>

class QTimer;
class QWidget;

namespace player
{

// Looks through the movies a window is about to offer, one file per turn of the event loop so
// that the window stays responsive while the files are read, and keeps a spare Ruffle stage for
// the window exactly while one of them needs Ruffle.
class MovieLookahead final : public QObject
{
    Q_OBJECT

public:
    explicit MovieLookahead(QWidget* window);

    // Starts over with `paths` (player Movie values); the current spare stays until the new
    // list is known to need none.
    void lookThrough(const QStringList& paths);

    // True once every path given last has been looked at, or one needing Ruffle was found.
    [[nodiscard]] bool done() const;

private:
    void lookAtNext();

    QWidget* m_window;
    QTimer* m_timer = nullptr;
    QStringList m_paths;
    qsizetype m_next = 0;
};

} // namespace player
