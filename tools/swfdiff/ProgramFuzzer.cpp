#include "ProgramFuzzer.h"

#include "Probe.h"
#include "ValueTables.h"

#include <random>
#include <string>
#include <vector>

namespace swfdiff
{
namespace
{

using swfwriter::Actions;

constexpr std::uint8_t getVariable = 0x1c;
constexpr std::uint8_t setVariable = 0x1d;
constexpr std::uint8_t pushDuplicate = 0x4c;
constexpr std::uint8_t stackSwap = 0x4d;
constexpr std::uint8_t firstVersion = 5;
constexpr std::uint8_t lastVersion = 8;
const char* const variableNames[] = {"a", "b", "c"};

class ProgramWriter final
{
public:
    ProgramWriter(std::uint32_t seed, std::uint8_t version, TracedMovie& movie, Actions& actions)
        : m_random(seed)
        , m_version(version)
        , m_movie(movie)
        , m_actions(actions)
        , m_seed(seed)
    {
    }

    void program(int number)
    {
        m_prefix = "seed " + std::to_string(m_seed) + ", program " + std::to_string(number) + ":";
        m_steps.clear();
        m_depth = 0;
        for (int steps = 6 + pick(10); steps > 0; --steps)
            step();
        while (m_depth > 0)
            traceTop();
    }

private:
    int pick(std::size_t count) { return static_cast<int>(m_random() % count); }

    void step()
    {
        switch (pick(10)) {
        case 0:
        case 1:
        case 2:
            pushAny();
            return;
        case 3:
        case 4:
            if (m_depth > 0)
                return operation(1);
            return pushAny();
        case 5:
        case 6:
            if (m_depth > 2 && pick(4) == 0)
                return operation(3);
            if (m_depth > 1)
                return operation(2);
            return pushAny();
        case 7:
            if (m_depth > 0)
                return traceTop();
            return pushAny();
        case 8:
            return stackOrVariable();
        default:
            if (m_depth > 0)
                return branch();
            return pushAny();
        }
    }

    void pushAny()
    {
        const auto values = operands();
        const Operand& operand = values[static_cast<std::size_t>(pick(values.size()))];
        pushOperand(m_actions, operand);
        note("push " + std::string(operand.name));
        ++m_depth;
    }

    void operation(int operands)
    {
        std::vector<const Operation*> choices;
        for (const Operation& candidate : operations()) {
            if (candidate.operands == operands && (m_version >= 6 || !candidate.unicodeOnly))
                choices.push_back(&candidate);
        }
        const Operation& chosen = *choices[static_cast<std::size_t>(pick(choices.size()))];
        m_actions.operation(chosen.code);
        note(std::string(chosen.name));
        m_depth -= operands - 1;
    }

    void stackOrVariable()
    {
        const std::string name = variableNames[pick(std::size(variableNames))];
        const auto reg = static_cast<std::uint8_t>(pick(4));
        switch (pick(5)) {
        case 0:
            if (m_depth > 0) {
                m_actions.operation(pushDuplicate);
                note("duplicate");
                ++m_depth;
                return;
            }
            break;
        case 1:
            if (m_depth > 1) {
                m_actions.operation(stackSwap);
                note("swap");
                return;
            }
            break;
        case 2:
            if (m_depth > 0) {
                m_actions.push({name}).operation(stackSwap).operation(setVariable);
                note("set " + name);
                --m_depth;
                return;
            }
            break;
        case 3:
            if (m_depth > 0) {
                m_actions.storeRegister(reg);
                note("store r" + std::to_string(reg));
                return;
            }
            break;
        default:
            break;
        }
        if (pick(2) == 0) {
            m_actions.push({name}).operation(getVariable);
            note("get " + name);
        } else {
            m_actions.push({Actions::Register{reg}});
            note("push r" + std::to_string(reg));
        }
        ++m_depth;
    }

    // Pops a value and traces which way an If went: one line either way.
    void branch()
    {
        const Actions::Mark taken = m_actions.newMark();
        const Actions::Mark end = m_actions.newMark();
        m_actions.jumpIf(taken).trace("branch not taken").jump(end);
        m_actions.mark(taken).trace("branch taken").mark(end);
        --m_depth;
        note("if");
        label();
    }

    void traceTop()
    {
        describeTop(m_actions);
        m_actions.trace();
        --m_depth;
        note("trace");
        label();
    }

    void note(const std::string& step) { m_steps += " " + step + ";"; }
    void label() { m_movie.labels.push_back(m_prefix + m_steps); }

    std::mt19937 m_random;
    std::uint8_t m_version;
    TracedMovie& m_movie;
    Actions& m_actions;
    std::uint32_t m_seed;
    std::string m_prefix;
    std::string m_steps;
    int m_depth = 0;
};

} // namespace

TracedMovie fuzzMovie(std::uint32_t seed, int programs)
{
    const auto version =
        static_cast<std::uint8_t>(firstVersion + seed % (lastVersion - firstVersion + 1));
    TracedMovie movie;
    movie.name = "fuzz-seed" + std::to_string(seed) + "-swf" + std::to_string(version);
    Actions actions;
    ProgramWriter writer(seed, version, movie, actions);
    for (int i = 1; i <= programs; ++i)
        writer.program(i);
    actions.fscommand(swfcompare::stopMarker).stop();
    movie.file = scriptMovie(version, actions);
    return movie;
}

} // namespace swfdiff
