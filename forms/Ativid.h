#pragma once

#include <QWidget>

// The activities window, for now only as far as the menus need it: it shows the grade code and
// subject it was opened for and keeps the window protocol of the program (slot, owner, modal
// display, freed on close).
class TFRMAtividades final : public QWidget
{
    Q_OBJECT

public:
    // Created by the subject menu, its owner, and stored in FRMAtividades before it is shown.
    explicit TFRMAtividades(QWidget* owner);

    // Shows the window modally; returns when it has closed. The window then frees itself.
    void showModal();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormClose();
};
