#include "ProgramWindows.h"

#include <QRegularExpression>

#include <array>

namespace desktop
{

std::optional<WindowKind> kindOf(const Window& window)
{
    static const QRegularExpression year(QStringLiteral("^\\dº Ano - Fundamental I$"));
    static const QRegularExpression activities(
        QStringLiteral("^Atividades - \\dº Ano - Fundamental I$"));
    const QString& title = window.title;
    if (title == QStringLiteral("Quorvane - Fundamental I"))
        return WindowKind::GradeMenu;
    if (year.match(title).hasMatch())
        return WindowKind::SubjectMenu;
    if (activities.match(title).hasMatch())
        return WindowKind::Activities;
    if (title.isEmpty())
        return WindowKind::Player;
    if (title == QStringLiteral("Atenção") || title == QStringLiteral("quorvane"))
        return WindowKind::MessageBox;
    return std::nullopt;
}

const char* nameOf(WindowKind kind)
{
    switch (kind) {
    case WindowKind::GradeMenu:
        return "grade menu";
    case WindowKind::SubjectMenu:
        return "subject menu";
    case WindowKind::Activities:
        return "activities window";
    case WindowKind::Player:
        return "player window";
    case WindowKind::MessageBox:
        return "message box";
    }
    return "?";
}

namespace at
{

// The tiles' panels: their left and top inside the window, inside a 3-px frame.
constexpr QPoint gradePanel{54 + 3, 112 + 3};
constexpr QPoint subjectPanel{62 + 3, 112 + 3};

QPoint yearTile(int year)
{
    static constexpr std::array<QPoint, 5> tiles{
        {{20, 9}, {262, 10}, {504, 9}, {146, 175}, {383, 175}}};
    return gradePanel + tiles.at(static_cast<std::size_t>(year - 1)) + QPoint(161 / 2, 135 / 2);
}

QPoint subjectTile(int slot, bool firstYears)
{
    static constexpr std::array<QPoint, 6> tiles{
        {{68, 15}, {268, 16}, {464, 16}, {67, 178}, {268, 178}, {468, 178}}};
    QPoint tile = tiles.at(static_cast<std::size_t>(slot - 1));
    if (firstYears && slot == 5)
        tile.setX(62 + 100);
    if (firstYears && slot == 6)
        tile.setX(62 + 300);
    return subjectPanel + tile + QPoint(156 / 2, 116 / 2);
}

QPoint listRow(int row)
{
    constexpr int firstRowMiddle = 181;
    constexpr int rowHeight = 22;
    return {300, firstRowMiddle + row * rowHeight};
}

} // namespace at
} // namespace desktop
