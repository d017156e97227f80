#pragma once

#include "PlayerContext.h"

#include <QImage>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <memory>
#include <span>
#include <utility>
#include <vector>

namespace swf
{
class Movie;
class Player;
} // namespace swf

namespace swfcompare
{

using Command = std::pair<QString, QString>; // an FSCommand's command and arguments

// A movie played by the native engine alone, offscreen: frames on demand, drawn with the same
// painter the player control uses, and what the movie says on the way.
class NativeRun final : private swf::PlayerHost
{
public:
    // Throws swf::MalformedMovie when the engine cannot load the file.
    explicit NativeRun(std::span<const std::uint8_t> file);
    ~NativeRun() override;

    // Frame 1 is shown after construction; frame N after advance(N - 1).
    void advance(int frames);
    // The current frame drawn into an image of `size`, the stage shown whole as the player does.
    [[nodiscard]] QImage render(QSize size) const;
    // Where Ruffle's picture of the current frame cannot be believed (white on black), for an
    // image of `size`. Without a GPU Ruffle draws with its canvas renderer, which multiplies the
    // colours of partly transparent bitmaps by their alpha a second time (a dark rim on a soft
    // edge), and bevels a miter join that exceeds its limit where Flash cuts it off at the limit.
    [[nodiscard]] QImage blindSpots(QSize size) const;
    // A press and release at a point of the stage, in pixels from its top left corner, with the
    // mouse moved there first.
    void click(QPointF stagePixel);
    // Points of the stage (in pixels) where a button is under the mouse: one inside each area
    // that a grid with `step` pixels finds buttons in, nearest the area's centre. Hovers this
    // run's buttons, so it is meant for a run of its own.
    [[nodiscard]] std::vector<QPointF> buttonSpots(double step);

    // What the movie sent, except a probe's stop marker.
    [[nodiscard]] const std::vector<Command>& commands() const { return m_commands; }
    [[nodiscard]] const QStringList& traces() const { return m_traces; }

private:
    void fsCommand(const std::string& command, const std::string& args) override;
    void trace(const std::string& text) override;
    void openUrl(const std::string& url, const std::string& target) override;
    void moveTo(QPointF stagePixel);

    std::shared_ptr<const swf::Movie> m_movie;
    std::unique_ptr<swf::Player> m_player;
    std::vector<Command> m_commands;
    QStringList m_traces;
};

} // namespace swfcompare
