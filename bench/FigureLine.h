#pragma once

#include <cstdio>
#include <string>

namespace bench
{

// How a figure is judged: against a limit on itself, or on its ratio to its baseline.
enum class Goal { None, AtMost, RatioAtMost };

// One machine-readable line, which scripts/bench gathers from every benchmark into its table:
// "figure", name, value, unit, baseline (0 when there is none), goal kind and limit, by tabs.
inline void printFigure(const std::string& name, double value, const std::string& unit,
                        double baseline, Goal goal, double limit)
{
    const char* const kind = goal == Goal::AtMost ? "<=" : goal == Goal::RatioAtMost ? "x<=" : "-";
    std::printf("figure\t%s\t%.4f\t%s\t%.4f\t%s\t%.4f\n", name.c_str(), value, unit.c_str(),
                baseline, kind, limit);
}

} // namespace bench
