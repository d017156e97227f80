#pragma once

#include "Desktop.h"

#include <QPoint>

#include <optional>

namespace desktop
{

// The program's windows, told apart the way a user tells them apart: by their title.
enum class WindowKind { GradeMenu, SubjectMenu, Activities, Player, MessageBox };

[[nodiscard]] std::optional<WindowKind> kindOf(const Window& window);
[[nodiscard]] const char* nameOf(WindowKind kind);

// Where a user clicks, in each window's own coordinates: the middle of each control.
namespace at
{
// Year 1 to 5 on the grade menu.
[[nodiscard]] QPoint yearTile(int year);
inline constexpr QPoint gradeOk{713, 497};
inline constexpr QPoint gradeSair{642, 498};

// Subject slot 1 to 6 on the subject menu; years 1 and 2 centre their lower row.
[[nodiscard]] QPoint subjectTile(int slot, bool firstYears);
inline constexpr QPoint subjectOk{714, 501};
inline constexpr QPoint subjectVoltar{643, 501};

inline constexpr QPoint activitiesVoltar{668, 497};
inline constexpr QPoint quizOption{110, 55};
inline constexpr QPoint lessonOption{110, 81};
inline constexpr QPoint searchBox{660, 76};
inline constexpr QPoint listTitles{300, 158};
// Row 0 is the first record.
[[nodiscard]] QPoint listRow(int row);
} // namespace at

} // namespace desktop
