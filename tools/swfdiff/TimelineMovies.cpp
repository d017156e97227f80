#include "TimelineMovies.h"

#include "Probe.h"
#include "swfwriter/Actions.h"
#include "swfwriter/Movie.h"
#include "swfwriter/Timeline.h"

#include <initializer_list>
#include <string>

namespace swfdiff
{
namespace
{

using swfwriter::Actions;

constexpr std::uint8_t getVariable = 0x1c;
constexpr std::uint8_t setVariable = 0x1d;
constexpr std::uint8_t stringAdd = 0x21;
constexpr std::uint8_t equals2 = 0x49;

swfwriter::Placement named(const std::string& name)
{
    swfwriter::Placement placement;
    placement.name = name;
    return placement;
}

// trace(_name + " " + what)
Actions traceFromClip(const std::string& what)
{
    Actions actions;
    actions.push({std::string("_name")}).operation(getVariable);
    actions.push({" " + what}).operation(stringAdd).trace();
    return actions;
}

void traceVariable(Actions& actions, const std::string& name)
{
    actions.push({name + " = "}).push({name}).operation(getVariable).operation(stringAdd).trace();
}

Actions& setTo(Actions& actions, const std::string& name, const Actions::Value& value)
{
    return actions.push({name, value}).operation(setVariable);
}

// Each frame traces its clip's name and frame; the sprite loops once more, then stops. The
// count is a string, since SWF 7 makes undefined + 1 NaN.
swfwriter::Timeline loopingSprite()
{
    swfwriter::Timeline sprite;
    sprite.actions(traceFromClip("frame 1"));
    sprite.showFrame();
    Actions second = traceFromClip("frame 2");
    const auto keepGoing = second.newMark();
    second.push({std::string("loops"), std::string("loops")}).operation(getVariable);
    second.push({std::string("+")}).operation(stringAdd).operation(setVariable);
    second.push({std::string("loops")}).operation(getVariable);
    second.push({std::string("undefined++")}).operation(equals2).logicalNot().jumpIf(keepGoing);
    second.stop().mark(keepGoing);
    sprite.actions(second);
    sprite.showFrame();
    return sprite;
}

TracedMovie orderMovie()
{
    TracedMovie movie;
    movie.name = "timeline-order";
    swfwriter::Movie file(100, 100, 30, swfwriter::Rgba::hex(0xffffff), 7);
    const auto child = file.define(loopingSprite());

    swfwriter::Timeline parent;
    parent.place(1, child, named("kid"));
    parent.actions(traceFromClip("frame 1"));
    parent.showFrame();
    parent.actions(traceFromClip("frame 2"));
    parent.showFrame();
    Actions last = traceFromClip("frame 3");
    parent.actions(last.stop());
    parent.showFrame();
    const auto parentId = file.define(parent);

    swfwriter::Timeline& root = file.timeline();
    root.place(1, parentId, named("p"));
    root.actions(Actions().trace("root frame 1"));
    root.showFrame();
    root.actions(Actions().trace("root frame 2"));
    root.showFrame();
    root.place(2, child, named("c2"));
    root.actions(Actions().trace("root frame 3"));
    root.showFrame();
    root.remove(1);
    root.actions(Actions().trace("root frame 4"));
    root.showFrame();
    // Back once to a frame where p was still there, then on.
    Actions rewind;
    const auto onwards = rewind.newMark();
    rewind.trace("root frame 5");
    rewind.push({std::string("rewound")}).operation(getVariable).jumpIf(onwards);
    setTo(rewind, "rewound", true).gotoAndPlay(2).mark(onwards);
    root.actions(rewind);
    root.showFrame();
    for (int frame = 6; frame <= 7; ++frame) {
        root.actions(Actions().trace("root frame " + std::to_string(frame)));
        root.showFrame();
    }
    root.actions(Actions().trace("root frame 8").fscommand(swfcompare::stopMarker).stop());
    root.showFrame();
    movie.file = file.bytes(swfwriter::Compression::None);
    // 1 to 5, then 2 to 8, and a few more to show that nothing runs after the stop.
    movie.framesAfterFirst = 11 + 5;
    return movie;
}

TracedMovie pathMovie()
{
    TracedMovie movie;
    movie.name = "paths";
    swfwriter::Movie file(100, 100, 30, swfwriter::Rgba::hex(0xffffff), 7);
    swfwriter::Timeline inner;
    inner.showFrame();
    swfwriter::Timeline box;
    box.place(1, file.define(inner), named("inner"));
    box.showFrame();
    const auto boxId = file.define(box);

    swfwriter::Timeline& root = file.timeline();
    root.place(1, boxId, named("box"));
    Actions first;
    setTo(first, "r", std::string("root r"));
    setTo(first, "/box:v", std::string("box v"));
    setTo(first, "box.inner.w", std::string("inner w"));
    setTo(first, "/box/inner:x", std::string("inner x"));
    const auto traceAll = [](Actions& actions, std::initializer_list<const char*> names) {
        for (const char* const name : names)
            traceVariable(actions, name);
    };
    traceAll(first, {"/box:v", "box.v", "box:v", "_root.box.v", "/box/inner:w", "box.inner.x",
                     "/:r", "_root.r", "_level0.r", "_level0/box:v", "/box/missing:v", "/missing:v",
                     "box.inner._parent.v", "/box", "box.inner"});
    first.setTarget("box");
    traceAll(first, {"v", "../:r", "_parent.r", "inner.w", "/:r"});
    first.setTarget("box/inner");
    traceAll(first, {"../:v", "../../:r", "_root.r"});
    first.setTarget("");
    first.setTarget("missing");
    traceAll(first, {"r", "v"});
    setTo(first, "s", std::string("set under missing"));
    first.setTarget("");
    traceAll(first, {"s", "box.s"});
    root.actions(first);
    root.showFrame();

    // The box is gone: a target naming it, and paths through it.
    root.remove(1);
    Actions second;
    second.setTarget("box");
    traceAll(second, {"r", "v"});
    second.setTarget("");
    traceAll(second, {"box.v", "/box:v", "r"});
    root.actions(second.fscommand(swfcompare::stopMarker).stop());
    root.showFrame();
    movie.framesAfterFirst = 3;
    movie.file = file.bytes(swfwriter::Compression::None);
    return movie;
}

} // namespace

std::vector<TracedMovie> timelineMovies()
{
    std::vector<TracedMovie> movies;
    movies.push_back(orderMovie());
    movies.push_back(pathMovie());
    return movies;
}

} // namespace swfdiff
