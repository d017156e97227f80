#pragma once

#include "TileSelection.h"

#include <QWidget>

class BevelPanel;
class Outline;
class QFrame;
class QLabel;
class QPushButton;
class QTimer;
class TShockwaveFlash;
class TransparentLabel;

// The grade menu, the program's main window: five animated year tiles, chosen with the shared
// two-click tile selection. A confirmed year sets the grade code and opens the subject menu
// modally; meanwhile this menu sleeps and keeps the child windows over itself.
class TFRMmain final : public QWidget
{
    Q_OBJECT

public:
    explicit TFRMmain(QWidget* parent = nullptr);

    // Wakes the menu: stops the alignment timer, loads the animations and shows them.
    void SWFmostra();
    // Puts the menu to sleep: starts the alignment timer, hides and unloads the year tiles.
    void SWFdesativa();
    // Snaps the subject and activities windows onto this window's position.
    void Timer1Timer();
    // Loads the logo animation again.
    void reloadLogo();

    [[nodiscard]] const TileSelection& tileSelection() const { return m_selection; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void addTile(int slot, TShockwaveFlash*& player, const QString& playerName,
                 const QRect& playerGeometry, const QString& outlineName,
                 const QRect& outlineGeometry, const QString& labelName, const QString& caption,
                 const QPoint& labelPosition);
    void connectHandlers();

    void FormCreate();
    void SWFinfEnter();
    void SWFef1Enter();
    void SwFef2Enter();
    void swftemEnter();
    void swfcdEnter();
    void btokClick();
    void SWFokFSCommand(const QString& command, const QString& args);
    void SWFsairFSCommand(const QString& command, const QString& args);

    // Created in this order, which is also their tab order: Qt's focus chain follows creation.
    QLabel* Image1;
    TransparentLabel* Label7;
    TShockwaveFlash* SWF1;
    TShockwaveFlash* SWFok;
    TShockwaveFlash* SWFsair;
    QPushButton* btok;
    BevelPanel* P1;
    TileSelection m_selection;
    QFrame* ScrollBox1 = nullptr;
    TShockwaveFlash* SWFinf = nullptr;
    TShockwaveFlash* SWFef1 = nullptr;
    TShockwaveFlash* SwFef2 = nullptr;
    TShockwaveFlash* swftem = nullptr;
    TShockwaveFlash* swfcd = nullptr;
    QTimer* Timer1 = nullptr;
    bool m_placedOnScreen = false;
};
