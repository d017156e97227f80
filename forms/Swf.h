#pragma once

#include <QWidget>

class BevelPanel;
class QTimer;
class TShockwaveFlash;

// The player window: one activity movie, maximised. Whenever its player holds no movie it
// shows the waiting animation instead.
class TFRMswf final : public QWidget
{
    Q_OBJECT

public:
    // Created by the activities window, its owner, and stored in FRMswf before it is shown.
    explicit TFRMswf(QWidget* owner);

    // Sets the movie of the window's player.
    void showMovie(const QString& path);

    // Shows the window modally; returns when it has closed. The window then frees itself.
    void showModal();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormShow();
    void Timer1Timer();
    void FormClose();

    BevelPanel* p1 = nullptr;
    TShockwaveFlash* SWF = nullptr;
    BevelPanel* p2 = nullptr;
    QTimer* Timer1 = nullptr;
};
