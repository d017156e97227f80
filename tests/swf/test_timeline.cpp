// Timelines as the Flash Player runs them: what each frame places, moves and removes, looping,
// going back, sprites with timelines of their own, morphs and clip layers.
#include "Movie.h"
#include "SwfTesting.h"
#include "swfwriter/Records.h"

#include <gtest/gtest.h>

using namespace swftest;

namespace
{

constexpr std::uint32_t red = 0xff0000;
constexpr std::uint32_t green = 0x00ff00;
constexpr std::uint32_t blue = 0x0000ff;

swf::Rgba rgb(std::uint32_t colour)
{
    return {std::uint8_t(colour >> 16), std::uint8_t(colour >> 8), std::uint8_t(colour), 255};
}

std::vector<swf::Rgba> rgbs(std::initializer_list<std::uint32_t> list)
{
    std::vector<swf::Rgba> result;
    for (std::uint32_t colour : list)
        result.push_back(rgb(colour));
    return result;
}

struct Playing {
    explicit Playing(const MovieBuilder& builder)
        : movie(swf::Movie::load(builder.bytes()))
        , player(movie, host)
    {
    }

    std::vector<swf::Point> origins() const
    {
        RecordingRenderer renderer;
        player.render(renderer);
        std::vector<swf::Point> result;
        for (const Drawn& drawn : renderer.drawn)
            result.push_back(drawn.origin);
        return result;
    }

    RecordingHost host;
    std::shared_ptr<const swf::Movie> movie;
    swf::Player player;
};

} // namespace

TEST(Timeline, FramesPlaceMoveAndRemoveThenLoop)
{
    MovieBuilder builder;
    const auto r = builder.define(square(10, red));
    const auto g = builder.define(square(10, green));
    builder.place(1, r, 5, 5);
    builder.showFrame();
    builder.place(2, g);
    builder.move(1, 50, 5);
    builder.showFrame();
    builder.remove(1);
    builder.showFrame();
    Playing playing(builder);

    EXPECT_EQ(colours(playing.player), rgbs({red}));
    EXPECT_EQ(playing.origins(), (std::vector<swf::Point>{{100, 100}}));
    playing.player.advance();
    EXPECT_EQ(colours(playing.player), rgbs({red, green}));
    EXPECT_EQ(playing.origins().front(), (swf::Point{1000, 100}));
    playing.player.advance();
    EXPECT_EQ(colours(playing.player), rgbs({green}));
    // Back at the first frame the display list is the first frame's again.
    playing.player.advance();
    EXPECT_EQ(colours(playing.player), rgbs({red}));
    EXPECT_EQ(playing.origins(), (std::vector<swf::Point>{{100, 100}}));
}

TEST(Timeline, DrawsDepthsBottomToTopWhateverTheOrderOfPlacing)
{
    MovieBuilder builder;
    const auto r = builder.define(square(10, red));
    const auto g = builder.define(square(10, green));
    const auto b = builder.define(square(10, blue));
    builder.place(30, b);
    builder.place(10, r);
    builder.place(20, g);
    builder.showFrame();
    Playing playing(builder);
    EXPECT_EQ(colours(playing.player), rgbs({red, green, blue}));
}

TEST(Timeline, ScriptsGoToLabelsAndRunTheScriptsOfTheFrameTheyReach)
{
    MovieBuilder builder;
    const auto r = builder.define(square(10, red));
    const auto g = builder.define(square(10, green));
    const auto b = builder.define(square(10, blue));
    builder.place(1, r);
    builder.actions(Code().gotoLabel("AZUL")); // labels match without case; the goto stops
    builder.showFrame();
    builder.replace(1, g);
    builder.actions(Code().trace("two"));
    builder.showFrame();
    builder.replace(1, b);
    builder.label("Azul");
    builder.actions(Code().trace("three"));
    builder.showFrame();
    Playing playing(builder);

    EXPECT_EQ(colours(playing.player), rgbs({blue}));
    for (int i = 0; i < 4; ++i)
        playing.player.advance();
    EXPECT_EQ(colours(playing.player), rgbs({blue}));
    EXPECT_EQ(playing.host.said, (std::vector<std::string>{"three"}));
}

TEST(Timeline, StoppedMovieDrawsNothingNew)
{
    MovieBuilder builder;
    builder.place(1, builder.define(square(10, red)));
    builder.actions(Code().op(0x07));
    builder.showFrame();
    builder.remove(1);
    builder.showFrame();
    Playing playing(builder);
    playing.player.render(*std::make_unique<RecordingRenderer>());
    for (int i = 0; i < 5; ++i)
        playing.player.advance();
    EXPECT_FALSE(playing.player.needsRedraw());
    EXPECT_EQ(colours(playing.player), rgbs({red}));
}

TEST(Timeline, SpritesPlayTheirOwnFramesAndKeepThemWhenTheParentGoesBack)
{
    MovieBuilder builder;
    const auto rs = builder.define(square(10, red));
    const auto gs = builder.define(square(10, green));
    const auto bs = builder.define(square(10, blue));
    MovieBuilder sprite;
    sprite.place(1, rs);
    sprite.showFrame();
    sprite.replace(1, gs);
    sprite.showFrame();
    sprite.replace(1, bs);
    sprite.actions(Code().op(0x07));
    sprite.showFrame();
    const auto clip = builder.defineSprite(sprite);
    builder.place(1, clip, 0, 0, "ticker");
    builder.showFrame();
    builder.showFrame();
    Playing playing(builder);

    EXPECT_EQ(colours(playing.player), rgbs({red}));
    playing.player.advance(); // parent frame 2, sprite frame 2
    EXPECT_EQ(colours(playing.player), rgbs({green}));
    playing.player.advance(); // parent loops to frame 1: the sprite stays and goes on
    EXPECT_EQ(colours(playing.player), rgbs({blue}));
    playing.player.advance();
    EXPECT_EQ(colours(playing.player), rgbs({blue}));
}

TEST(Timeline, TellTargetDrivesANamedSprite)
{
    MovieBuilder builder;
    const auto r = builder.define(square(10, red));
    const auto g = builder.define(square(10, green));
    MovieBuilder sprite;
    sprite.place(1, r);
    sprite.actions(Code().op(0x07));
    sprite.showFrame();
    sprite.replace(1, g);
    sprite.showFrame();
    builder.place(1, builder.defineSprite(sprite), 0, 0, "semaforo");
    builder.actions(Code().setTarget("semaforo").gotoFrame(1).setTarget("").op(0x07));
    builder.showFrame();
    Playing playing(builder);
    EXPECT_EQ(colours(playing.player), rgbs({green}));
}

TEST(Timeline, MorphsDrawTheirShapeAtTheRatio)
{
    // A morph from a red 10-pixel square at the origin to a blue one moved 100 pixels right.
    swfwriter::BitWriter body;
    body.u16(1);
    swfwriter::writeRect(body, 0, 200, 0, 200);
    swfwriter::writeRect(body, 2000, 2200, 0, 200);
    swfwriter::BitWriter rest;
    rest.u8(1); // one fill: solid, start red, end blue
    rest.u8(0);
    swfwriter::writeRgba(rest, swfwriter::Rgba::hex(red));
    swfwriter::writeRgba(rest, swfwriter::Rgba::hex(blue));
    rest.u8(0); // no lines
    const auto edges = [](swfwriter::BitWriter& out, std::int32_t x) {
        out.ubits(4, 1); // fill bits
        out.ubits(4, 0);
        out.ubits(6, 0b000101); // move, fill 0
        out.ubits(5, 14);
        out.sbits(14, x);
        out.sbits(14, 0);
        out.ubits(1, 1);
        for (auto [dx, dy] : {std::pair{200, 0}, {0, 200}, {-200, 0}, {0, -200}}) {
            out.ubits(2, 0b11); // edge, straight
            out.ubits(4, 8);    // 10 bits
            out.ubits(1, 1);    // general
            out.sbits(10, dx);
            out.sbits(10, dy);
        }
        out.ubits(6, 0);
        out.align();
    };
    swfwriter::BitWriter start;
    edges(start, 0);
    swfwriter::BitWriter end;
    end.ubits(4, 0);
    end.ubits(4, 0);
    end.ubits(6, 0b000001);
    end.ubits(5, 14);
    end.sbits(14, 2000);
    end.sbits(14, 0);
    for (auto [dx, dy] : {std::pair{200, 0}, {0, 200}, {-200, 0}, {0, -200}}) {
        end.ubits(2, 0b11);
        end.ubits(4, 8);
        end.ubits(1, 1);
        end.sbits(10, dx);
        end.sbits(10, dy);
    }
    end.ubits(6, 0);
    end.align();
    body.u32(static_cast<std::uint32_t>(rest.data().size() + start.data().size()));
    body.bytes(rest.data());
    body.bytes(start.data());
    body.bytes(end.data());

    MovieBuilder builder;
    builder.tag(46, body.data());
    builder.place(1, 1);
    builder.showFrame();
    builder.ratio(1, 32768);
    builder.showFrame();
    builder.ratio(1, 65535);
    builder.showFrame();
    Playing playing(builder);

    const auto shapeAt = [&](double ratio) {
        return std::get<swf::MorphShape>(*playing.movie->character(1)).at(ratio);
    };
    const swf::Shape half = shapeAt(0.5);
    ASSERT_EQ(half.layers.size(), 1u);
    EXPECT_EQ(half.layers[0].contours[0].start, (swf::Point{1000, 0}));
    EXPECT_EQ(half.layers[0].fill->colour, (swf::Rgba{128, 0, 128, 255}));
    EXPECT_TRUE(shapeAt(1).hits({2100, 100}));
    EXPECT_FALSE(shapeAt(1).hits({100, 100}));

    EXPECT_EQ(colours(playing.player), rgbs({red}));
    playing.player.advance();
    playing.player.advance();
    EXPECT_EQ(colours(playing.player), rgbs({blue}));
}

TEST(Timeline, ClipLayersMaskOnlyTheDepthsTheyCover)
{
    MovieBuilder builder;
    const auto mask = builder.define(square(10, red));
    const auto g = builder.define(square(10, green));
    const auto b = builder.define(square(10, blue));
    builder.place(1, mask, 0, 0, {}, 2);
    builder.place(2, g);
    builder.place(3, b);
    builder.showFrame();
    Playing playing(builder);
    RecordingRenderer renderer;
    playing.player.render(renderer);
    EXPECT_EQ(renderer.masks, 1);
    // The mask shape is drawn into the mask, not onto the stage; both others are drawn.
    ASSERT_EQ(renderer.drawn.size(), 3u);
    EXPECT_EQ(renderer.drawn[1].colour, rgb(green));
    EXPECT_EQ(renderer.drawn[2].colour, rgb(blue));
}
