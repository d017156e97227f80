// The native engine's pictures, drawn offscreen: where the stage lands in the player, and that
// fills, gradients, bitmaps, colour transforms and clip layers reach the right pixels.
#include "Movie.h"
#include "Player.h"
#include "SwfPainter.h"
#include "SwfTesting.h"
#include "swfwriter/Records.h"

#include <QImage>
#include <QPainter>
#include <QTest>

#include <zlib.h>

#include <algorithm>
#include <iterator>

using namespace swftest;

namespace
{

// The movie's first frame in a picture of the given size.
QImage draw(const MovieBuilder& builder, QSize size)
{
    RecordingHost host;
    const swf::Player player(swf::Movie::load(builder.bytes()), host);
    QImage picture(size, QImage::Format_RGB32);
    QPainter painter(&picture);
    player::PaintCache cache;
    player::SwfPainter renderer(painter, picture.rect(), cache);
    player.render(renderer);
    return picture;
}

void setBackground(MovieBuilder& builder, std::uint32_t rgb)
{
    builder.tag(9, {std::uint8_t(rgb >> 16), std::uint8_t(rgb >> 8), std::uint8_t(rgb)});
}

// Close enough: anti-aliasing and gradient steps move colours by a few levels.
bool near(QColor actual, QColor expected, int tolerance = 8)
{
    return std::abs(actual.red() - expected.red()) <= tolerance
           && std::abs(actual.green() - expected.green()) <= tolerance
           && std::abs(actual.blue() - expected.blue()) <= tolerance;
}

} // namespace

class SwfPainterTest final : public QObject
{
    Q_OBJECT

private slots:
    void stageIsScaledToFitAndCentred();
    void gradientsRunAlongTheirMatrix();
    void crossingContoursFollowTheWindingRule_data();
    void crossingContoursFollowTheWindingRule();
    void bitmapsFillWithTheirPixels();
    void clipLayersHideWhatLiesOutside();
};

void SwfPainterTest::stageIsScaledToFitAndCentred()
{
    // A 200 × 100 stage in a 400 × 400 player: twice as large, 100 pixels above and below.
    MovieBuilder builder(200, 100);
    setBackground(builder, 0x102030);
    builder.place(1, builder.define(square(20, 0xff0000)), 10, 10);
    builder.showFrame();
    const QImage picture = draw(builder, {400, 400});
    QCOMPARE(picture.pixelColor(5, 5), QColor(0x10, 0x20, 0x30)); // background all around
    QCOMPARE(picture.pixelColor(200, 390), QColor(0x10, 0x20, 0x30));
    QCOMPARE(picture.pixelColor(15, 130), QColor(0x10, 0x20, 0x30)); // left of the square
    QCOMPARE(picture.pixelColor(30, 130), QColor(Qt::red));
    QCOMPARE(picture.pixelColor(58, 158), QColor(Qt::red));
    QCOMPARE(picture.pixelColor(62, 162), QColor(0x10, 0x20, 0x30));
}

void SwfPainterTest::gradientsRunAlongTheirMatrix()
{
    // Red to blue from left to right across a 100-pixel bar.
    swfwriter::Shape bar;
    bar.setFill(bar.addFill(swfwriter::Fill::linear(
        {0, 0}, {100, 0},
        {{0, swfwriter::Rgba::hex(0xff0000)}, {1, swfwriter::Rgba::hex(0x0000ff)}})));
    bar.rectangle(0, 0, 100, 20);
    MovieBuilder builder(100, 20);
    builder.place(1, builder.define(bar));
    builder.showFrame();
    const QImage picture = draw(builder, {100, 20});
    QVERIFY(near(picture.pixelColor(1, 10), QColor(0xff, 0, 0), 12));
    QVERIFY(near(picture.pixelColor(50, 10), QColor(0x80, 0, 0x80), 12));
    QVERIFY(near(picture.pixelColor(98, 10), QColor(0, 0, 0xff), 12));
}

void SwfPainterTest::crossingContoursFollowTheWindingRule_data()
{
    QTest::addColumn<bool>("nonZero");
    QTest::addColumn<bool>("crossingFilled");
    QTest::newRow("even-odd: the crossing is a hole") << false << false;
    QTest::newRow("non-zero winding: the crossing is filled") << true << true;
}

// Two squares drawn the same way round as one fill, overlapping in the middle.
void SwfPainterTest::crossingContoursFollowTheWindingRule()
{
    QFETCH(bool, nonZero);
    QFETCH(bool, crossingFilled);
    swfwriter::Shape squares;
    squares.setFill(squares.addFill(swfwriter::Fill::solid(swfwriter::Rgba::hex(0x0000ff))));
    squares.rectangle(0, 0, 30, 30);
    squares.rectangle(10, 10, 30, 30);
    if (nonZero)
        squares.useNonZeroWinding();
    MovieBuilder builder(40, 40);
    setBackground(builder, 0xffffff);
    builder.place(1, builder.define(squares));
    builder.showFrame();
    const QImage picture = draw(builder, {40, 40});
    QCOMPARE(picture.pixelColor(5, 5), QColor(Qt::blue));
    QCOMPARE(picture.pixelColor(20, 20), crossingFilled ? QColor(Qt::blue) : QColor(Qt::white));

    const auto movie = swf::Movie::load(builder.bytes());
    const auto* shape = std::get_if<swf::Shape>(movie->character(1));
    QVERIFY(shape);
    QCOMPARE(shape->hits({400, 400}), crossingFilled);
    QVERIFY(shape->hits({100, 100}));
}

void SwfPainterTest::bitmapsFillWithTheirPixels()
{
    // A 2 × 2 lossless bitmap (red, green / blue, white) stretched over a 40-pixel square.
    const std::vector<std::uint8_t> pixels{0, 255, 0, 0,   0, 0,   255, 0,
                                           0, 0,   0, 255, 0, 255, 255, 255};
    uLongf size = compressBound(static_cast<uLong>(pixels.size()));
    std::vector<std::uint8_t> packed(size);
    compress(packed.data(), &size, pixels.data(), static_cast<uLong>(pixels.size()));
    packed.resize(size);
    // Character 1, 24-bit, 2 × 2, then the pixels.
    Bytes body{1, 0, 5, 2, 0, 2, 0};
    std::copy(packed.begin(), packed.end(), std::back_inserter(body));
    MovieBuilder builder(40, 40);
    builder.tag(20, body);
    swfwriter::BitWriter shape;
    shape.u16(2);
    swfwriter::writeRect(shape, 0, 800, 0, 800);
    shape.u8(1);    // one fill
    shape.u8(0x43); // clipped, not smoothed
    shape.u16(1);
    swfwriter::writeMatrix(shape, {400, 0, 0, 400, 0, 0}); // each pixel 20 px wide
    shape.u8(0);                                           // no lines
    shape.ubits(4, 1);
    shape.ubits(4, 0);
    shape.ubits(6, 0b000101); // move, fill 1
    shape.ubits(5, 1);
    shape.sbits(1, 0);
    shape.sbits(1, 0);
    shape.ubits(1, 1);
    for (auto [dx, dy] : {std::pair{800, 0}, {0, 800}, {-800, 0}, {0, -800}}) {
        shape.ubits(2, 0b11);
        shape.ubits(4, 10);
        shape.ubits(1, 1);
        shape.sbits(12, dx);
        shape.sbits(12, dy);
    }
    shape.ubits(6, 0);
    shape.align();
    builder.tag(2, shape.data());
    builder.place(1, 2);
    builder.showFrame();
    const QImage picture = draw(builder, {40, 40});
    QCOMPARE(picture.pixelColor(10, 10), QColor(Qt::red));
    QCOMPARE(picture.pixelColor(30, 10), QColor(Qt::green));
    QCOMPARE(picture.pixelColor(10, 30), QColor(Qt::blue));
    QCOMPARE(picture.pixelColor(30, 30), QColor(Qt::white));
}

void SwfPainterTest::clipLayersHideWhatLiesOutside()
{
    MovieBuilder builder(100, 100);
    setBackground(builder, 0xffffff);
    builder.place(1, builder.define(square(50, 0x000000)), 0, 0, {}, 2); // the mask
    builder.place(2, builder.define(square(100, 0x00ff00)));             // masked
    builder.place(3, builder.define(square(20, 0x0000ff)), 70, 70);      // above the mask
    builder.showFrame();
    const QImage picture = draw(builder, {100, 100});
    QCOMPARE(picture.pixelColor(25, 25), QColor(Qt::green));
    QCOMPARE(picture.pixelColor(75, 25), QColor(Qt::white));
    QCOMPARE(picture.pixelColor(80, 80), QColor(Qt::blue));
}

QTEST_MAIN(SwfPainterTest)
#include "tst_swf_painter.moc"
