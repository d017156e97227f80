#pragma once

#include <QString>

class QLabel;
class QPoint;
class QRect;
class QWidget;
class TransparentLabel;
class TShockwaveFlash;

// The backdrop picture stretched over a window's 790 x 536 client area (control Image1).
QLabel* makeBackdrop(QWidget* window);

// The brand line (control Label7) at its place in a window.
TransparentLabel* makeBrandLine(QWidget* window, const QPoint& position);

// A player control, named and placed in its parent.
TShockwaveFlash* makePlayer(QWidget* parent, const QString& name, const QRect& geometry);

// The caption of a school year by its grade code ("3A" -> "3º Ano - Fundamental I"); empty for
// any other code.
[[nodiscard]] QString yearCaption(const QString& gradeCode);

// Centres a child window of the menus on the grade menu window, as it is being shown.
void centreOnGradeMenu(QWidget& window);

// Makes the window's title bar show no text. Qt puts the program's name in the window system's
// title of a window whose title is empty; this clears it there too.
void showNoTitle(QWidget& window);
