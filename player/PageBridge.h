#pragma once

#include <QObject>
#include <QString>

#include <functional>

namespace player
{

// The object the engine page reaches through the web channel. Its slots are the page's only
// way into the program; each hands its report on from the event loop, so the page and its
// channel are never destroyed while they are delivering a message.
class PageBridge final : public QObject
{
    Q_OBJECT

public:
    struct Handlers {
        std::function<void()> ready;
        std::function<void(int player, int load, const QString& command, const QString& args)>
            command;
        std::function<void(int player, int load)> cannotPlay;
        std::function<void(int player, int load)> firstFrame;
        std::function<void()> warmed;
    };

    explicit PageBridge(Handlers handlers, QObject* parent = nullptr);

public slots:
    // The page has Ruffle in place and takes movies.
    void ready();
    // Reports about the `load`-th movie handed to the page's `player`.
    void command(int player, int load, const QString& command, const QString& args);
    void cannotPlay(int player, int load);
    void firstFrame(int player, int load);
    // Ruffle has run once in the page, so its next movie starts without compiling it.
    void warmed();

private:
    void later(std::function<void()> report);

    Handlers m_handlers;
};

} // namespace player
