#include "Main.h"

#include "Fonts.h"
#include "QtTranslations.h"
#include "WindowSlots.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    installFontSubstitutions();
    installQtTranslations();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/assets/icon.png")));

    TFRMmain mainWindow;
    FRMmain = &mainWindow;
    mainWindow.show();
    return QApplication::exec();
}
