// The scan that sends a movie to the native engine or to Ruffle, and the file reading under it:
// every verdict names its reason, and no damaged file gets further than a clear refusal.
#include "ByteReader.h"
#include "Movie.h"
#include "MovieFile.h"
#include "SupportScan.h"
#include "SwfTesting.h"
#include "swfwriter/MorphShape.h"

#include <gtest/gtest.h>
#include <lzma.h>
#include <zlib.h>

using namespace swftest;

namespace
{

using swfwriter::Fill;
using swfwriter::Rgba;

const std::vector<swfwriter::GradientStop> twoStops = {{0, Rgba::hex(0xff0000)},
                                                       {1, Rgba::hex(0x0000ff)}};

// A box filled (or, with a line, outlined) with `fill`, defined in the movie.
void defineBox(MovieBuilder& b, const Fill& fill, bool outlined = false)
{
    swfwriter::Shape box;
    if (outlined) {
        swfwriter::Line line = swfwriter::Line::plain(4, Rgba::hex(0));
        line.fill = fill;
        box.setLine(box.addLine(line));
    } else {
        box.setFill(box.addFill(fill));
    }
    box.rectangle(0, 0, 40, 20);
    (void)b.define(box);
}

Fill linearRgb(Fill fill)
{
    fill.interpolation = swfwriter::Interpolation::LinearRgb;
    return fill;
}

// A morph from a box to a wider one, both filled with `fill`.
void defineMorph(MovieBuilder& b, const Fill& fill)
{
    swfwriter::Shape start;
    start.setFill(start.addFill(fill));
    start.rectangle(0, 0, 40, 20);
    swfwriter::Shape end;
    end.setFill(end.addFill(fill));
    end.rectangle(0, 0, 80, 20);
    const swfwriter::MorphShape morph(start, end);
    swfwriter::BitWriter body;
    body.u16(900);
    morph.write(body);
    body.align();
    b.tag(morph.tagVersion() == 2 ? 84 : 46, body.data());
}

MovieBuilder menuLike()
{
    MovieBuilder builder;
    builder.place(1, builder.define(square(10, 0x336699)));
    builder.actions(Code().op(0x07).getUrl("FSCommand:ok", ""));
    builder.showFrame();
    return builder;
}

struct Verdict {
    const char* name;
    std::function<void(MovieBuilder&)> add;
    const char* firstUnsupported; // empty: the native engine plays it
};

class Scan : public testing::TestWithParam<Verdict>
{
};

TEST_P(Scan, NamesTheFirstFeatureTheEngineLacks)
{
    MovieBuilder builder = menuLike();
    GetParam().add(builder);
    const swf::MovieSummary summary = swf::scanMovie(builder.bytes());
    EXPECT_TRUE(summary.readable);
    EXPECT_EQ(summary.firstUnsupported, GetParam().firstUnsupported);
    EXPECT_EQ(summary.supported, std::string(GetParam().firstUnsupported).empty());
}

const Verdict verdicts[] = {
    {"menu_movie", [](MovieBuilder&) {}, ""},
    {"event_sound",
     [](MovieBuilder& b) {
         b.tag(14, {2, 0, 0x2a, 0, 0, 0, 0});
     },
     "sound (DefineSound)"},
    {"streaming_sound",
     [](MovieBuilder& b) {
         b.tag(45, {0, 0, 0, 0});
     },
     "streaming sound"},
    {"actionscript_3",
     [](MovieBuilder& b) {
         b.tag(69, {0x08, 0, 0, 0});
     },
     "ActionScript 3"},
    {"actionscript_2_file_attributes",
     [](MovieBuilder& b) {
         b.tag(69, {0x00, 0, 0, 0});
     },
     ""},
    {"functions", [](MovieBuilder& b) { b.actions(Code().op(0x3d)); }, "action 0x3d"},
    {"unsupported_action_inside_a_sprite",
     [](MovieBuilder& b) {
         MovieBuilder sprite;
         sprite.actions(Code().withPayload(0x9b, {0, 0, 0, 0, 0}));
         sprite.showFrame();
         (void)b.defineSprite(sprite);
     },
     "action 0x9b"},
    {"filters",
     [](MovieBuilder& b) {
         b.tag(70, {0x02, 0x01, 1, 0, 1, 0});
     },
     "filters"},
    {"normal_blend_mode",
     [](MovieBuilder& b) {
         b.tag(70, {0x02, 0x02, 1, 0, 1, 0, 1});
     },
     ""},
    {"multiply_blend_mode",
     [](MovieBuilder& b) {
         b.tag(70, {0x02, 0x02, 1, 0, 1, 0, 3});
     },
     "blend modes"},
    {"clip_events",
     [](MovieBuilder& b) {
         b.tag(26, {0x82, 1, 0, 1, 0});
     },
     "clip events (onClipEvent)"},
    {"button_key_press",
     [](MovieBuilder& b) {
         b.tag(34, {9, 0, 0, 3, 0, 0, 0, 0, 0x00, 0x02, 0});
     },
     "key presses on buttons"},
    {"text_input",
     [](MovieBuilder& b) {
         b.tag(37, {3, 0, 0x00, 0x00, 0x00});
     },
     "text input"},
    {"read_only_text_field",
     [](MovieBuilder& b) {
         b.tag(37, {3, 0, 0x00, 0x08, 0x00, 0, 0});
     },
     ""},
    {"built_in_object_names", [](MovieBuilder& b) { b.actions(Code().push("Math").op(0x1c)); },
     "the built-in name Math"},
    {"built_in_names_without_case",
     [](MovieBuilder& b) {
         b.actions(Code().constants({"x", "_GLOBAL"}));
     },
     "the built-in name _global"},
    {"own_level_paths",
     [](MovieBuilder& b) { b.actions(Code().push("_level0/box:nota").op(0x1c)); }, ""},
    {"other_levels", [](MovieBuilder& b) { b.actions(Code().setTarget("_level10/box")); },
     "other levels (_level10)"},
    {"automatic_instance_names",
     [](MovieBuilder& b) { b.actions(Code().push("instance3").op(0x1c)); },
     "automatic instance names"},
    {"kept_property", [](MovieBuilder& b) { b.actions(Code().push("box").push(13.0).op(0x22)); },
     ""},
    {"mouse_position_property",
     [](MovieBuilder& b) { b.actions(Code().push("box").push(20.0).op(0x22)); },
     "a property the engine does not keep"},
    {"property_chosen_at_run_time",
     [](MovieBuilder& b) { b.actions(Code().push("box").push("i").op(0x1c).op(0x22)); },
     "a property the engine does not keep"},
    {"web_page", [](MovieBuilder& b) { b.actions(Code().getUrl("http://example.org/", "")); },
     "getURL, loadMovie or loadVariables"},
    {"load_movie_into_a_level",
     [](MovieBuilder& b) { b.actions(Code().getUrl("outro.swf", "_level1")); },
     "getURL, loadMovie or loadVariables"},
    {"computed_address",
     [](MovieBuilder& b) {
         b.actions(Code().push("FSCommand:quit").push("").withPayload(0x9a, {0}));
     },
     "getURL, loadMovie or loadVariables to a computed address"},
    {"branch_back_out_of_the_block",
     [](MovieBuilder& b) { b.actions(Code().trace("a").jump(-40)); },
     "a branch out of its action block"},
    {"branch_to_the_end_of_the_block", [](MovieBuilder& b) { b.actions(Code().jump(0)); }, ""},
    {"unnamed_sprite_and_a_script_reading_names",
     [](MovieBuilder& b) {
         MovieBuilder sprite;
         sprite.actions(Code().push("this").op(0x1c).op(0x26));
         sprite.showFrame();
         b.place(2, b.defineSprite(sprite));
     },
     "automatic instance names"},
    {"named_sprite_and_a_script_reading_names",
     [](MovieBuilder& b) {
         MovieBuilder sprite;
         sprite.actions(Code().push("this").op(0x1c).op(0x26));
         sprite.showFrame();
         b.place(2, b.defineSprite(sprite), 0, 0, "box");
     },
     ""},
    {"unnamed_sprite_and_scripts_that_read_no_names",
     [](MovieBuilder& b) {
         MovieBuilder sprite;
         sprite.actions(Code().trace("frame"));
         sprite.showFrame();
         b.place(2, b.defineSprite(sprite));
     },
     ""},
    {"linear_gradient",
     [](MovieBuilder& b) {
         defineBox(b, Fill::linear({0, 0}, {40, 0}, twoStops));
     },
     ""},
    {"linear_rgb_gradient",
     [](MovieBuilder& b) {
         defineBox(b, linearRgb(Fill::linear({0, 0}, {40, 0}, twoStops)));
     },
     "linear-RGB gradients"},
    {"linear_rgb_gradient_on_a_line",
     [](MovieBuilder& b) {
         defineBox(b, linearRgb(Fill::radial({20, 10}, 20, twoStops)), true);
     },
     "linear-RGB gradients"},
    {"linear_rgb_gradient_in_a_morph",
     [](MovieBuilder& b) {
         defineMorph(b, linearRgb(Fill::linear({0, 0}, {40, 0}, twoStops)));
     },
     "linear-RGB gradients"},
    {"gradient_in_a_morph",
     [](MovieBuilder& b) {
         defineMorph(b, Fill::radial({20, 10}, 20, twoStops));
     },
     ""},
    {"focal_gradient",
     [](MovieBuilder& b) {
         defineBox(b, Fill::focal({20, 10}, 20, 0.5, twoStops));
     },
     "focal gradients"},
    {"repeated_gradient_ratio",
     [](MovieBuilder& b) {
         defineBox(b, Fill::linear({0, 0}, {40, 0},
                                   {{0, Rgba::hex(0xff0000)},
                                    {0.5, Rgba::hex(0x00ff00)},
                                    {0.5, Rgba::hex(0x0000ff)}}));
     },
     "gradient ratios that do not increase"},
    {"falling_gradient_ratios",
     [](MovieBuilder& b) {
         defineBox(b, Fill::linear({0, 0}, {40, 0},
                                   {{1, Rgba::hex(0xff0000)}, {0, Rgba::hex(0x0000ff)}}));
     },
     "gradient ratios that do not increase"},
    {"non_zero_winding",
     [](MovieBuilder& b) {
         swfwriter::Shape bands = square(10, 0x336699);
         bands.rectangle(5, 5, 10, 10);
         bands.useNonZeroWinding();
         (void)b.define(bands);
     },
     "non-zero winding fills"},
    {"even_odd_shape4",
     [](MovieBuilder& b) {
         swfwriter::Shape bands = square(10, 0x336699);
         swfwriter::Line flat = swfwriter::Line::plain(2, Rgba::hex(0));
         flat.cap = swfwriter::Cap::None;
         bands.setLine(bands.addLine(flat));
         bands.rectangle(5, 5, 10, 10);
         (void)b.define(bands);
     },
     ""},
    {"background_after_the_first_frame",
     [](MovieBuilder& b) {
         b.tag(9, {0x20, 0x40, 0x60});
     },
     "a background colour set again or after the first frame"},
    {"background_inside_a_sprite",
     [](MovieBuilder& b) {
         MovieBuilder sprite;
         sprite.tag(9, {0x20, 0x40, 0x60});
         sprite.showFrame();
         (void)b.defineSprite(sprite);
     },
     "a background colour set again or after the first frame"},
    {"opaque_background",
     [](MovieBuilder& b) {
         b.tag(70, {0x02, 0x40, 1, 0, 1, 0, 0xff, 0, 0, 0xff});
     },
     "opaque backgrounds (PlaceObject3)"},
    {"hidden_placement",
     [](MovieBuilder& b) {
         b.tag(70, {0x02, 0x20, 1, 0, 1, 0, 0});
     },
     "hidden placements (PlaceObject3)"},
    {"visible_placement_after_blend_and_cache",
     [](MovieBuilder& b) {
         b.tag(70, {0x02, 0x26, 1, 0, 1, 0, 1, 1, 1});
     },
     ""},
    {"html_text",
     [](MovieBuilder& b) {
         b.tag(37, {3, 0, 0x00, 0x08, 0x02, 0, 0});
     },
     "HTML text"},
    {"damaged_actions_count_as_unsupported",
     [](MovieBuilder& b) {
         b.tag(12, {0x96, 0xff, 0x00});
     },
     "damaged data: data ends in the middle of a record"},
};

INSTANTIATE_TEST_SUITE_P(Movies, Scan, testing::ValuesIn(verdicts),
                         [](const auto& info) { return std::string(info.param.name); });

Bytes compressedWith(const Bytes& movie, char signature)
{
    const Bytes body(movie.begin() + 8, movie.end());
    Bytes file(movie.begin(), movie.begin() + 8);
    file[0] = static_cast<std::uint8_t>(signature);
    if (signature == 'C') {
        uLongf size = compressBound(static_cast<uLong>(body.size()));
        Bytes packed(size);
        compress(packed.data(), &size, body.data(), static_cast<uLong>(body.size()));
        file.insert(file.end(), packed.begin(), packed.begin() + static_cast<long>(size));
        return file;
    }
    // LZMA: the compressed length, the 5 property bytes, then the data without the size field
    // the ".lzma" container puts between them.
    lzma_options_lzma options;
    lzma_lzma_preset(&options, 6);
    lzma_stream stream = LZMA_STREAM_INIT;
    EXPECT_EQ(lzma_alone_encoder(&stream, &options), LZMA_OK);
    Bytes packed(body.size() + 1024);
    stream.next_in = body.data();
    stream.avail_in = body.size();
    stream.next_out = packed.data();
    stream.avail_out = packed.size();
    EXPECT_EQ(lzma_code(&stream, LZMA_FINISH), LZMA_STREAM_END);
    packed.resize(stream.total_out);
    lzma_end(&stream);
    const auto length = static_cast<std::uint32_t>(packed.size() - 13);
    for (int shift : {0, 8, 16, 24})
        file.push_back(static_cast<std::uint8_t>(length >> shift));
    file.insert(file.end(), packed.begin(), packed.begin() + 5);
    file.insert(file.end(), packed.begin() + 13, packed.end());
    return file;
}

} // namespace

TEST(MovieFile, CompressedFilesReadLikeTheirUncompressedForm)
{
    const Bytes plain = menuLike().bytes();
    const swf::MovieFile expected = swf::readMovieFile(plain);
    for (char signature : {'C', 'Z'}) {
        const swf::MovieFile read = swf::readMovieFile(compressedWith(plain, signature));
        EXPECT_EQ(read.body, expected.body) << signature;
        EXPECT_EQ(read.stage.xMax, 4000) << signature;
        EXPECT_EQ(read.frameRate, 12) << signature;
        EXPECT_EQ(read.frameCount, 1) << signature;
    }
}

TEST(MovieFile, CompressedDataCutShortKeepsWhatInflated)
{
    Bytes file = compressedWith(menuLike().bytes(), 'C');
    file.resize(file.size() - 6);
    const swf::MovieFile read = swf::readMovieFile(file);
    EXPECT_GT(read.body.size(), 8u);
    EXPECT_LT(read.body.size(), menuLike().bytes().size() - 8);
}

TEST(MovieFile, DamagedFilesAreRefusedWithAReason)
{
    const Bytes good = menuLike().bytes();
    // The End tag replaced by a DoAction claiming 100 bytes, of which 3 follow.
    Bytes tagPastTheEnd(good.begin(), good.end() - 2);
    for (std::uint8_t byte : {0x3f, 0x03, 100, 0, 0, 0, 0x96, 0x07, 0x00})
        tagPastTheEnd.push_back(byte);
    const struct {
        const char* name;
        Bytes file;
    } damaged[] = {
        {"no signature", Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0}},
        {"header only", Bytes{'F', 'W', 'S', 8, 8, 0, 0, 0}},
        {"compressed garbage", Bytes{'C', 'W', 'S', 8, 100, 0, 0, 0, 1, 2, 3, 4, 5, 6}},
        {"lzma without properties", Bytes{'Z', 'W', 'S', 13, 100, 0, 0, 0, 1, 0, 0}},
        {"declared shorter than its header", Bytes{'F', 'W', 'S', 8, 4, 0, 0, 0, 0x50}},
    };
    for (const auto& file : damaged) {
        const swf::MovieSummary summary = swf::scanMovie(file.file);
        EXPECT_FALSE(summary.readable) << file.name;
        EXPECT_FALSE(summary.firstUnsupported.empty()) << file.name;
        EXPECT_THROW((void)swf::Movie::load(file.file), swf::MalformedMovie) << file.name;
    }
    // Readable, but not for the native engine: Ruffle decides what to do with the rest.
    const swf::MovieSummary summary = swf::scanMovie(tagPastTheEnd);
    EXPECT_TRUE(summary.readable);
    EXPECT_TRUE(summary.firstUnsupported.starts_with("damaged data: ")) << summary.firstUnsupported;
    EXPECT_THROW((void)swf::Movie::load(tagPastTheEnd), swf::MalformedMovie);
}

TEST(MovieFile, BitFieldsReadSignedAndUnsignedMostSignificantBitFirst)
{
    const Bytes bytes{0b1011'0011, 0b1000'0000, 0x34, 0x12};
    swf::ByteReader reader(bytes);
    EXPECT_EQ(reader.bits(3), 0b101u);
    EXPECT_EQ(reader.signedBits(3), -4); // 100
    EXPECT_EQ(reader.bits(3), 0b111u);
    EXPECT_EQ(reader.u16(), 0x1234); // starts on the next whole byte
    EXPECT_THROW((void)reader.u8(), swf::MalformedMovie);
}
