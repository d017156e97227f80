// Buttons under the mouse as the Flash Player runs them: which state shows, which conditions
// fire, and that only the hit area counts.
#include "Movie.h"
#include "SwfTesting.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace swftest;

namespace
{

constexpr std::uint32_t up = 0x0000ff;
constexpr std::uint32_t over = 0x00ff00;
constexpr std::uint32_t down = 0xff0000;

// A 20-pixel button at (50, 30) whose hit area is only its left half, tracing each transition
// and sending "ok" on release.
struct ButtonMovie {
    ButtonMovie()
    {
        MovieBuilder builder;
        swfwriter::Button button;
        button.add(builder.define(square(20, up)), {.up = true}, 1);
        button.add(builder.define(square(20, over)), {.over = true}, 2);
        button.add(builder.define(square(20, down)), {.down = true}, 3);
        swfwriter::Shape half;
        half.setFill(half.addFill(swfwriter::Fill::solid(swfwriter::Rgba::hex(0))));
        half.rectangle(0, 0, 10, 20);
        button.add(builder.define(half), {.hit = true}, 4);
        button.on(swfwriter::ButtonEvent::RollOver, swfwriter::Actions().getUrl("trace:over", ""));
        button.on(swfwriter::ButtonEvent::Press, swfwriter::Actions().getUrl("trace:press", ""));
        button.on(swfwriter::ButtonEvent::Release, swfwriter::Actions().fscommand("ok", "1"));
        builder.place(1, builder.define(button), 50, 30);
        builder.actions(Code().op(0x07));
        builder.showFrame();
        player = std::make_unique<swf::Player>(swf::Movie::load(builder.bytes()), host);
    }

    [[nodiscard]] swf::Rgba shown() const { return colours(*player).at(0); }

    RecordingHost host;
    std::unique_ptr<swf::Player> player;
};

swf::Rgba rgb(std::uint32_t colour)
{
    return {std::uint8_t(colour >> 16), std::uint8_t(colour >> 8), std::uint8_t(colour), 255};
}

constexpr swf::Point outside{10 * 20, 10 * 20};
constexpr swf::Point onHitArea{55 * 20, 40 * 20};
constexpr swf::Point drawnButNotHit{65 * 20, 40 * 20};

} // namespace

TEST(Buttons, ShowUpOverAndDownAsTheMouseComesPressesAndReleases)
{
    ButtonMovie movie;
    EXPECT_EQ(movie.shown(), rgb(up));
    movie.player->mouseMove(onHitArea);
    EXPECT_EQ(movie.shown(), rgb(over));
    EXPECT_TRUE(movie.player->overButton());
    movie.player->mouseDown();
    EXPECT_EQ(movie.shown(), rgb(down));
    movie.player->mouseUp();
    EXPECT_EQ(movie.shown(), rgb(over));
    movie.player->mouseLeave();
    EXPECT_EQ(movie.shown(), rgb(up));
    EXPECT_EQ(movie.host.said,
              (std::vector<std::string>{"url trace:over ", "url trace:press ", "fscommand ok 1"}));
}

TEST(Buttons, OnlyTheHitAreaCounts)
{
    ButtonMovie movie;
    movie.player->mouseMove(drawnButNotHit);
    EXPECT_FALSE(movie.player->overButton());
    movie.player->mouseDown();
    movie.player->mouseUp();
    EXPECT_EQ(movie.shown(), rgb(up));
    EXPECT_TRUE(movie.host.said.empty());
}

TEST(Buttons, ReleasingOutsideSendsNothing)
{
    ButtonMovie movie;
    movie.player->mouseMove(onHitArea);
    movie.player->mouseDown();
    movie.player->mouseMove(outside);
    EXPECT_NE(movie.shown(), rgb(down));
    movie.player->mouseMove(onHitArea);
    EXPECT_EQ(movie.shown(), rgb(down)); // back over it while still pressed
    movie.player->mouseMove(outside);
    movie.player->mouseUp();
    EXPECT_EQ(movie.shown(), rgb(up));
    EXPECT_EQ(movie.host.said, (std::vector<std::string>{"url trace:over ", "url trace:press "}));
}

TEST(Buttons, PressingWhereNoButtonIsThenMovingOntoOneDoesNotClickIt)
{
    ButtonMovie movie;
    movie.player->mouseMove(outside);
    movie.player->mouseDown();
    movie.player->mouseMove(onHitArea);
    movie.player->mouseUp();
    EXPECT_EQ(std::count(movie.host.said.begin(), movie.host.said.end(), "fscommand ok 1"), 0);
}
