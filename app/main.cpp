#include "Main.h"

#include "ContentFolderChoice.h"
#include "Fonts.h"
#include "PlatformChoice.h"
#include "QtTranslations.h"
#include "WindowSlots.h"

#include <QApplication>
#include <QIcon>
#include <QLoggingCategory>

namespace
{

Q_LOGGING_CATEGORY(startup, "quorvane.startup")

} // namespace

int main(int argc, char* argv[])
{
    const bool onXWayland = runsOnXWayland(QProcessEnvironment::systemEnvironment());
    if (onXWayland)
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quorvane"));
    if (onXWayland)
        qCInfo(startup) << "Wayland session: the program runs on XWayland, for its see-through"
                           " menu and the placing of its windows";
    installFontSubstitutions();
    installQtTranslations();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/assets/icon.png")));
    if (!enterContentFolder(QApplication::arguments()))
        return 1;

    TFRMmain mainWindow;
    FRMmain = &mainWindow;
    mainWindow.show();
    return QApplication::exec();
}
