#pragma once

#include "TileSelection.h"

#include <QWidget>

class BevelPanel;
class QPushButton;
class TShockwaveFlash;
class TransparentLabel;

// The subject menu: up to six subject tiles for the grade code chosen on the grade menu, with
// the same two-click tile selection. A confirmed subject sets the subject name and opens the
// activities window modally. Its background is see-through, so it sits over the grade menu as
// if it were part of it.
class TFRMfundI final : public QWidget
{
    Q_OBJECT

public:
    // Created by the grade menu, its owner, and stored in FRMfundI before it is shown.
    explicit TFRMfundI(QWidget* owner);

    // Shows the window modally; returns when it has closed. The window then frees itself.
    void showModal();

    [[nodiscard]] const TileSelection& tileSelection() const { return m_selection; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void addTile(int slot, TShockwaveFlash*& player, const QString& playerName,
                 const QRect& playerGeometry, Outline*& outline, const QString& outlineName,
                 const QRect& outlineGeometry, TransparentLabel*& label, const QString& labelName,
                 const QString& caption, const QPoint& labelPosition);
    void connectHandlers();

    void FormCreate();
    void SWFmostraF1();
    void FormActivate();
    void FormClose();
    void SWFmatEnter();
    void SwFportEnter();
    void SwfessoEnter();
    void SwFingEnter();
    void SwFcieEnter();
    void SwFinfEnter();
    void btokClick();
    void SWFokFSCommand(const QString& command, const QString& args);
    void SWFvoltarFSCommand(const QString& command, const QString& args);

    // The tab order is the order of creation (Qt's focus chain follows it): P1, the tiles with
    // Geografia/História before Português, then SWFvoltar, SWFok, SWF1.
    BevelPanel* P1;
    QPushButton* btok;
    TileSelection m_selection;
    TShockwaveFlash* SWF1 = nullptr;
    TShockwaveFlash* SWFvoltar = nullptr;
    TShockwaveFlash* SWFok = nullptr;
    TShockwaveFlash* SWFmat = nullptr;
    TShockwaveFlash* SwFport = nullptr;
    TShockwaveFlash* Swfesso = nullptr;
    TShockwaveFlash* SwFing = nullptr;
    TShockwaveFlash* SwFcie = nullptr;
    TShockwaveFlash* SwFinf = nullptr;
    Outline* Shape1 = nullptr;
    Outline* Shape2 = nullptr;
    Outline* Shape3 = nullptr;
    Outline* Shape4 = nullptr;
    Outline* Shape5 = nullptr;
    Outline* Shape6 = nullptr;
    TransparentLabel* Label1 = nullptr;
    TransparentLabel* Label2 = nullptr;
    TransparentLabel* Label3 = nullptr;
    TransparentLabel* L4 = nullptr;
    TransparentLabel* L5 = nullptr;
    TransparentLabel* L6 = nullptr;
};
