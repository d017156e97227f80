#pragma once

#include "CatalogOperations.h"
#include "ClientDataSet.h"

#include <QWidget>

class BevelPanel;
class CatalogModel;
class Outline;
class QFrame;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTableView;
class TShockwaveFlash;
class TransparentLabel;

// The activities window: the catalog entries of the chosen grade and subject, as quizzes or as
// lessons, searchable by code or description; a double-click opens the chosen activity.
class TFRMAtividades final : public QWidget
{
    Q_OBJECT

public:
    // Created by the subject menu, its owner, and stored in FRMAtividades before it is shown.
    explicit TFRMAtividades(QWidget* owner);

    // Shows the window modally; returns when it has closed. The window then frees itself.
    void showModal();

    // Plays `path` in the player window: retargets the open one, or opens one modally and
    // returns when it has closed.
    void Carregar_animacao(const QString& path);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    [[nodiscard]] bool opensCurrentRecord(const QObject* watched, const QEvent* event) const;
    void buildList();
    void setTabOrder();
    void connectHandlers();
    void openCatalog(catalog::View view);
    void showCurrentRecord();
    void expectListedMovies();

    void FormCreate();
    void SWFmostra();
    void r1Click();
    void r2Click();
    void e1Change();
    void DBGrid1DblClick();
    void SWFsairFSCommand(const QString& command, const QString& args);
    void FormClose();

    catalog::ClientDataSet cdxtb{"cdxtb"};
    CatalogModel* m_model = nullptr;

    QLabel* Image1 = nullptr;
    TShockwaveFlash* SWF1 = nullptr;
    TransparentLabel* Label7 = nullptr;
    QRadioButton* r2 = nullptr;
    QRadioButton* r1 = nullptr;
    TransparentLabel* Label3 = nullptr;
    QLineEdit* e1 = nullptr;
    BevelPanel* P1 = nullptr;
    QFrame* ScrollBox1 = nullptr;
    Outline* Shape1 = nullptr;
    QLabel* lser = nullptr;
    QTableView* DBGrid1 = nullptr;
    TShockwaveFlash* SWFsair = nullptr;
};
