#pragma once

#include <QWidget>

// The grade menu: the program's main window.
class TFRMmain final : public QWidget {
    Q_OBJECT

public:
    explicit TFRMmain(QWidget* parent = nullptr);

private:
    void FormCreate();
};
