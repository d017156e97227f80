#include "TestMovies.h"

#include <QFile>

#include <cstdint>

namespace testmovies
{

namespace
{

constexpr int twips = 20;

class BitWriter final
{
public:
    void bits(std::int64_t value, int count)
    {
        for (int i = count - 1; i >= 0; --i) {
            m_current = static_cast<std::uint8_t>((m_current << 1) | ((value >> i) & 1));
            if (++m_used == 8)
                flush();
        }
    }
    [[nodiscard]] QByteArray bytes()
    {
        if (m_used > 0) {
            m_current = static_cast<std::uint8_t>(m_current << (8 - m_used));
            flush();
        }
        return m_bytes;
    }

private:
    void flush()
    {
        m_bytes.append(static_cast<char>(m_current));
        m_current = 0;
        m_used = 0;
    }
    QByteArray m_bytes;
    std::uint8_t m_current = 0;
    int m_used = 0;
};

void u8(QByteArray& out, int value)
{
    out.append(static_cast<char>(value & 0xff));
}

void u16(QByteArray& out, int value)
{
    u8(out, value);
    u8(out, value >> 8);
}

void u32(QByteArray& out, std::uint32_t value)
{
    u16(out, static_cast<int>(value & 0xffff));
    u16(out, static_cast<int>(value >> 16));
}

void rgb(QByteArray& out, QColor colour)
{
    u8(out, colour.red());
    u8(out, colour.green());
    u8(out, colour.blue());
}

QByteArray rect(int width, int height)
{
    BitWriter writer;
    writer.bits(16, 5);
    writer.bits(0, 16);
    writer.bits(width * twips, 16);
    writer.bits(0, 16);
    writer.bits(height * twips, 16);
    return writer.bytes();
}

QByteArray translation(int x, int y)
{
    BitWriter writer;
    writer.bits(0, 1); // no scale
    writer.bits(0, 1); // no rotation
    writer.bits(16, 5);
    writer.bits(x * twips, 16);
    writer.bits(y * twips, 16);
    return writer.bytes();
}

QByteArray tag(int code, const QByteArray& body)
{
    QByteArray out;
    u16(out, (code << 6) | 0x3f); // long form always: simpler and valid
    u32(out, static_cast<std::uint32_t>(body.size()));
    return out + body;
}

// DefineShape: a filled rectangle with its top-left corner at the origin.
QByteArray shape(int id, int width, int height, QColor colour)
{
    QByteArray body;
    u16(body, id);
    body += rect(width, height);
    u8(body, 1);    // one fill style
    u8(body, 0x00); // solid
    rgb(body, colour);
    u8(body, 0);    // no line styles
    u8(body, 0x10); // one fill bit, no line bits
    BitWriter edges;
    edges.bits(0b000101, 6); // style change: fill style 1, move to
    edges.bits(16, 5);
    edges.bits(0, 16);
    edges.bits(0, 16);
    edges.bits(1, 1); // fill style 1
    const auto line = [&edges](int dx, int dy) {
        edges.bits(0b11, 2); // straight edge
        edges.bits(14, 4);   // 16 bits per delta
        edges.bits(1, 1);    // general line
        edges.bits(dx * twips, 16);
        edges.bits(dy * twips, 16);
    };
    line(width, 0);
    line(0, height);
    line(-width, 0);
    line(0, -height);
    edges.bits(0, 6); // end of shape
    body += edges.bytes();
    return tag(2, body);
}

QByteArray place(int depth, int id, const QByteArray& matrix)
{
    QByteArray body;
    u8(body, 0x06); // has character, has matrix
    u16(body, depth);
    u16(body, id);
    return tag(26, body + matrix);
}

QByteArray move(int depth, const QByteArray& matrix)
{
    QByteArray body;
    u8(body, 0x05); // move, has matrix
    u16(body, depth);
    return tag(26, body + matrix);
}

QByteArray background(QColor colour)
{
    QByteArray body;
    rgb(body, colour);
    return tag(9, body);
}

QByteArray movie(int width, int height, int frames, const QByteArray& tags)
{
    QByteArray body = rect(width, height);
    u16(body, 12 << 8); // 12 frames a second
    u16(body, frames);
    body += tags;
    body += tag(0, {});
    QByteArray out("FWS");
    u8(out, 6);
    u32(out, static_cast<std::uint32_t>(8 + body.size()));
    return out + body;
}

} // namespace

QByteArray button(int width, int height, QColor colour, const QString& command, const QString& args)
{
    QByteArray records;
    u8(records, 0x0f); // up, over, down and hit states
    u16(records, 1);   // the shape
    u16(records, 1);   // depth
    u8(records, 0);    // identity matrix
    u8(records, 0);    // no colour transform
    u8(records, 0);    // end of records

    QByteArray url = "FSCommand:" + command.toUtf8();
    url.append('\0');
    QByteArray target = args.toUtf8();
    target.append('\0');
    QByteArray action;
    u16(action, 0);   // last condition
    u8(action, 0x08); // on release over the button
    u8(action, 0x00);
    u8(action, 0x83); // GetURL
    u16(action, static_cast<int>(url.size() + target.size()));
    action += url + target;
    u8(action, 0); // end of actions

    QByteArray body;
    u16(body, 2); // button id
    u8(body, 0);  // not a menu
    u16(body, static_cast<int>(2 + records.size()));
    body += records + action;

    return movie(width, height, 1,
                 background(Qt::white) + shape(1, width, height, colour) + tag(34, body)
                     + place(1, 2, translation(0, 0)) + tag(1, {}));
}

QByteArray tile(int width, int height, QColor backgroundColour, QColor square)
{
    const int side = std::min(width, height) / 2;
    return movie(width, height, 2,
                 background(backgroundColour) + shape(1, side, side, square)
                     + place(1, 1, translation(0, 0)) + tag(1, {})
                     + move(1, translation(width - side, height - side)) + tag(1, {}));
}

bool write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace testmovies
