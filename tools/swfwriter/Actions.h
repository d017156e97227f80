#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace swfwriter
{

// A list of ActionScript 1/2 actions as the player's bytecode, for DoAction tags and button
// events. Frame numbers count from 1, as in ActionScript. The stack operations are named after
// the actions they write; branches go to marks placed anywhere in the same list.
class Actions final
{
public:
    struct Null {
    };
    struct Undefined {
    };
    // One of the four registers a frame or button script has (0..3).
    struct Register {
        std::uint8_t number = 0;
    };
    // An entry of the last constant pool, by index.
    struct Constant {
        std::uint16_t index = 0;
    };
    // A double is pushed as a 64-bit number, an int as a 32-bit integer.
    using Value =
        std::variant<std::string, double, std::int32_t, bool, Null, Undefined, Register, Constant>;
    // A place in the list that branches can reach before or after it is placed.
    struct Mark {
        std::size_t id = 0;
    };

    Actions& stop();
    Actions& play();
    Actions& nextFrame();
    Actions& previousFrame();
    Actions& gotoAndStop(int frame);
    Actions& gotoAndPlay(int frame);
    Actions& gotoAndStop(std::string_view label);
    Actions& gotoAndPlay(std::string_view label);
    // fscommand(command, args): a GetURL to "FSCommand:" + command with the args as target,
    // which the hosting program receives as an FSCommand event.
    Actions& fscommand(std::string_view command, std::string_view args = {});
    Actions& getUrl(std::string_view url, std::string_view target);
    // Directs the frame actions that follow to the named sprite instance, as tellTarget does;
    // the empty name directs them back to the timeline the script runs on.
    Actions& setTarget(std::string_view target);
    // trace(message) for a literal message: a push of the text, then the trace action.
    Actions& trace(std::string_view message);

    Actions& constantPool(const std::vector<std::string>& constants);
    // One Push action with all the values, the last one ending on top of the stack.
    Actions& push(const std::vector<Value>& values);
    Actions& pop();
    Actions& storeRegister(std::uint8_t number);
    Actions& getVariable();
    Actions& setVariable();
    Actions& add();    // Add2: numbers add, strings concatenate
    Actions& less();   // Less2
    Actions& equals(); // Equals2
    Actions& logicalNot();
    Actions& stringAdd();
    // Traces the value on top of the stack.
    Actions& trace();
    // Any action that carries no payload (codes below 0x80), for the operations that have no
    // name here; throws std::invalid_argument for a code that needs one.
    Actions& operation(std::uint8_t code);

    [[nodiscard]] Mark newMark();
    // Places the mark before the next action written.
    Actions& mark(Mark place);
    Actions& jump(Mark target);
    // Pops a value and branches when it is true.
    Actions& jumpIf(Mark target);

    [[nodiscard]] bool empty() const { return m_code.empty(); }
    // The action records followed by the end-of-actions byte; throws std::logic_error when a
    // branch goes to a mark that was never placed.
    [[nodiscard]] std::vector<std::uint8_t> bytes() const;

private:
    void record(std::uint8_t code, const std::vector<std::uint8_t>& payload = {});
    void branch(std::uint8_t code, Mark target);

    std::vector<std::uint8_t> m_code;
    std::vector<std::optional<std::size_t>> m_marks;      // where each mark lies in m_code
    std::vector<std::pair<std::size_t, Mark>> m_branches; // offset field position, target
};

} // namespace swfwriter
