#include "NativeRun.h"

#include "Movie.h"
#include "Player.h"
#include "Probe.h"
#include "SwfPainter.h"

#include <QHash>
#include <QPainter>

#include <cmath>
#include <limits>

namespace swfcompare
{

NativeRun::NativeRun(std::span<const std::uint8_t> file)
    : m_movie(swf::Movie::load(file))
{
    swf::PlayerHost& host = *this;
    m_player = std::make_unique<swf::Player>(m_movie, host);
}

NativeRun::~NativeRun() = default;

void NativeRun::advance(int frames)
{
    for (int i = 0; i < frames; ++i)
        m_player->advance();
}

QImage NativeRun::render(QSize size) const
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QHash<quint16, QImage> bitmaps;
    player::SwfPainter renderer(painter, QRectF(QPointF(), size), bitmaps);
    m_player->render(renderer);
    return image;
}

void NativeRun::moveTo(QPointF stagePixel)
{
    const swf::Rect& stage = m_movie->stage();
    m_player->mouseMove({stage.xMin + stagePixel.x() * 20, stage.yMin + stagePixel.y() * 20});
}

void NativeRun::click(QPointF stagePixel)
{
    moveTo(stagePixel);
    m_player->mouseDown();
    m_player->mouseUp();
}

std::vector<QPointF> NativeRun::buttonSpots(double step)
{
    const swf::Rect& stage = m_movie->stage();
    const int columns = static_cast<int>(stage.width() / 20 / step);
    const int rows = static_cast<int>(stage.height() / 20 / step);
    const auto at = [step](int column, int row) {
        return QPointF((column + 0.5) * step, (row + 0.5) * step);
    };
    std::vector<bool> hit(static_cast<std::size_t>(columns * rows));
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            moveTo(at(column, row));
            hit[static_cast<std::size_t>(row * columns + column)] = m_player->overButton();
        }
    }
    m_player->mouseLeave();

    // Areas of neighbouring grid points, each reported by the member nearest its centroid.
    std::vector<QPointF> spots;
    std::vector<bool> seen(hit.size());
    for (std::size_t first = 0; first < hit.size(); ++first) {
        if (!hit[first] || seen[first])
            continue;
        std::vector<std::size_t> area{first};
        seen[first] = true;
        for (std::size_t next = 0; next < area.size(); ++next) {
            const int column = static_cast<int>(area[next]) % columns;
            const int row = static_cast<int>(area[next]) / columns;
            const std::pair<int, int> neighbours[] = {
                {column - 1, row}, {column + 1, row}, {column, row - 1}, {column, row + 1}};
            for (const auto& [c, r] : neighbours) {
                const auto index = static_cast<std::size_t>(r * columns + c);
                if (c < 0 || r < 0 || c >= columns || r >= rows || !hit[index] || seen[index])
                    continue;
                seen[index] = true;
                area.push_back(index);
            }
        }
        QPointF centre;
        for (const std::size_t index : area)
            centre += at(static_cast<int>(index) % columns, static_cast<int>(index) / columns);
        centre /= static_cast<double>(area.size());
        QPointF nearest;
        double best = std::numeric_limits<double>::infinity();
        for (const std::size_t index : area) {
            const QPointF point =
                at(static_cast<int>(index) % columns, static_cast<int>(index) / columns);
            const double distance = QPointF::dotProduct(point - centre, point - centre);
            if (distance < best) {
                best = distance;
                nearest = point;
            }
        }
        spots.push_back(nearest);
    }
    return spots;
}

void NativeRun::fsCommand(const std::string& command, const std::string& args)
{
    if (command == stopMarker)
        return;
    m_commands.emplace_back(QString::fromStdString(command), QString::fromStdString(args));
}

void NativeRun::trace(const std::string& text)
{
    m_traces.append(QString::fromStdString(text));
}

void NativeRun::openUrl(const std::string&, const std::string&)
{
}

} // namespace swfcompare
