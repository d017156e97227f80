#include "ValueTables.h"

#include "Probe.h"
#include "swfwriter/Movie.h"
#include "swfwriter/Timeline.h"

#include <array>
#include <limits>
#include <string>

namespace swfdiff
{
namespace
{

using swfwriter::Actions;

constexpr double infinity = std::numeric_limits<double>::infinity();

// The kinds of values that take different paths through the conversions: both empties, both
// booleans, zero of either sign, a fraction, the three non-finite numbers, strings that read as
// numbers in each notation and ones that do not, and a clip.
const std::array operandTable{
    Operand{"undefined", Actions::Undefined{}},
    Operand{"null", Actions::Null{}},
    Operand{"true", true},
    Operand{"false", false},
    Operand{"0", 0.0},
    Operand{"-0", -0.0},
    Operand{"1.5", 1.5},
    Operand{"7 (integer)", std::int32_t{7}},
    Operand{"NaN", std::numeric_limits<double>::quiet_NaN()},
    Operand{"Infinity", infinity},
    Operand{"-Infinity", -infinity},
    Operand{"\"12\"", std::string("12")},
    Operand{"\" -2.5e1 \"", std::string(" -2.5e1 ")},
    Operand{"\"0x1A\"", std::string("0x1A")},
    Operand{"\"abc\"", std::string("abc")},
    Operand{"\"\"", std::string()},
    Operand{"clip", std::string("box"), true},
};

const std::array operationTable{
    Operation{"Add", 0x0a, 2},
    Operation{"Subtract", 0x0b, 2},
    Operation{"Multiply", 0x0c, 2},
    Operation{"Divide", 0x0d, 2},
    Operation{"Modulo", 0x3f, 2},
    Operation{"Add2", 0x47, 2},
    Operation{"Equals", 0x0e, 2},
    Operation{"Equals2", 0x49, 2},
    Operation{"StrictEquals", 0x66, 2},
    Operation{"Less", 0x0f, 2},
    Operation{"Less2", 0x48, 2},
    Operation{"Greater", 0x67, 2},
    Operation{"StringEquals", 0x13, 2},
    Operation{"StringLess", 0x29, 2},
    Operation{"StringGreater", 0x68, 2},
    Operation{"StringAdd", 0x21, 2},
    Operation{"And", 0x10, 2},
    Operation{"Or", 0x11, 2},
    Operation{"BitAnd", 0x60, 2},
    Operation{"BitOr", 0x61, 2},
    Operation{"BitXor", 0x62, 2},
    Operation{"BitLShift", 0x63, 2},
    Operation{"BitRShift", 0x64, 2},
    Operation{"BitURShift", 0x65, 2},
    Operation{"Not", 0x12, 1},
    Operation{"ToNumber", 0x4a, 1},
    Operation{"ToString", 0x4b, 1},
    Operation{"ToInteger", 0x18, 1},
    Operation{"TypeOf", 0x44, 1},
    Operation{"Increment", 0x50, 1},
    Operation{"Decrement", 0x51, 1},
    Operation{"StringLength", 0x14, 1},
    Operation{"MbStringLength", 0x31, 1},
    Operation{"CharToAscii", 0x32, 1},
    Operation{"AsciiToChar", 0x33, 1},
    Operation{"MbCharToAscii", 0x36, 1},
    Operation{"MbAsciiToChar", 0x37, 1, true},
    Operation{"StringExtract", 0x15, 3},
    Operation{"MbStringExtract", 0x35, 3},
};

constexpr std::uint8_t getVariable = 0x1c;
constexpr std::uint8_t pushDuplicate = 0x4c;
constexpr std::uint8_t typeOf = 0x44;
constexpr std::uint8_t stringAdd = 0x21;
constexpr std::uint8_t stackSwap = 0x4d;
constexpr std::uint8_t asciiToChar = 0x33;
constexpr std::uint8_t mbAsciiToChar = 0x37;
constexpr std::uint8_t mbStringLength = 0x31;
constexpr std::uint8_t mbCharToAscii = 0x36;

const double characterCodes[] = {-65,     -1,      0,        65,          127,    128,
                                 255,     256,     321.7,    0x263a,      0xd800, 0xffff,
                                 0x10000, 0x1f600, 0x110000, 4294967361.0};

std::string formatCode(double number)
{
    return std::to_string(static_cast<long long>(number));
}

} // namespace

void describeTop(Actions& actions)
{
    actions.operation(pushDuplicate).operation(typeOf).push({std::string(" ")});
    actions.operation(stringAdd).operation(stackSwap).operation(stringAdd);
}

std::vector<std::uint8_t> scriptMovie(std::uint8_t version, const Actions& actions)
{
    swfwriter::Movie file(100, 100, 30, swfwriter::Rgba::hex(0xffffff), version);
    swfwriter::Timeline box;
    box.showFrame();
    swfwriter::Placement named;
    named.name = "box";
    file.timeline().place(1, file.define(box), named);
    file.timeline().actions(actions);
    file.timeline().showFrame();
    return file.bytes(swfwriter::Compression::None);
}

std::span<const Operand> operands()
{
    return operandTable;
}

std::span<const Operation> operations()
{
    return operationTable;
}

void pushOperand(Actions& actions, const Operand& operand)
{
    actions.push({operand.literal});
    if (operand.clip)
        actions.operation(getVariable);
}

TracedMovie valueTable(std::uint8_t version)
{
    TracedMovie movie;
    movie.name = "values-swf" + std::to_string(version);
    const std::string prefix = "SWF " + std::to_string(version) + ": ";
    Actions actions;
    for (const Operand& value : operandTable) {
        pushOperand(actions, value);
        actions.trace();
        movie.labels.push_back(prefix + "trace(" + std::string(value.name) + ")");
    }
    for (const Operation& operation : operationTable) {
        // Three operands would make the table too long for one movie: see below.
        if (operation.operands > 2 || (operation.unicodeOnly && version < 6))
            continue;
        for (const Operand& a : operandTable) {
            if (operation.operands == 1) {
                pushOperand(actions, a);
                actions.operation(operation.code);
                describeTop(actions);
                actions.trace();
                movie.labels.push_back(prefix + std::string(operation.name) + "("
                                       + std::string(a.name) + ")");
                continue;
            }
            for (const Operand& b : operandTable) {
                pushOperand(actions, a);
                pushOperand(actions, b);
                actions.operation(operation.code);
                describeTop(actions);
                actions.trace();
                movie.labels.push_back(prefix + std::string(operation.name) + "("
                                       + std::string(a.name) + ", " + std::string(b.name) + ")");
            }
        }
    }
    // Substrings of a fixed text, from every kind of start for every kind of length.
    for (const Operation& operation : operationTable) {
        if (operation.operands != 3)
            continue;
        for (const Operand& index : operandTable) {
            for (const Operand& count : operandTable) {
                actions.push({std::string("abcdef")});
                pushOperand(actions, index);
                pushOperand(actions, count);
                actions.operation(operation.code);
                describeTop(actions);
                actions.trace();
                movie.labels.push_back(prefix + std::string(operation.name) + "(\"abcdef\", "
                                       + std::string(index.name) + ", " + std::string(count.name)
                                       + ")");
            }
        }
    }
    // Characters from codes out of range as well: each read back as its length and first code,
    // since a control character does not print.
    for (const std::uint8_t code : {asciiToChar, mbAsciiToChar}) {
        if (code == mbAsciiToChar && version < 6)
            continue;
        for (const double number : characterCodes) {
            actions.push({number}).operation(code).operation(pushDuplicate);
            actions.operation(mbStringLength).push({std::string(" ")}).operation(stringAdd);
            actions.operation(stackSwap).operation(mbCharToAscii).operation(stringAdd).trace();
            movie.labels.push_back(prefix
                                   + (code == asciiToChar ? "AsciiToChar(" : "MbAsciiToChar(")
                                   + formatCode(number) + ")");
        }
    }
    actions.fscommand(swfcompare::stopMarker).stop();
    movie.file = scriptMovie(version, actions);
    return movie;
}

} // namespace swfdiff
