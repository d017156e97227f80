#include "Main.h"

#include "ContentFolders.h"
#include "ErrorReporting.h"

TFRMmain::TFRMmain(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FRMmain"));
    setWindowTitle(QStringLiteral("Quorvane - Fundamental I"));
    setFixedSize(790, 536);
    guarded([this] { FormCreate(); });
}

void TFRMmain::FormCreate()
{
    initialiseFolders();
}
