// Takes the README's screenshots: the program's four windows on the demo content, each as the
// desktop shows it, title bar included, walking the journey with real clicks.
//
//   quorvane-screenshots PROGRAM DEMO_FOLDER OUTPUT_FOLDER    (under X with a window manager)

#include "Desktop.h"
#include "ProgramSession.h"
#include "ProgramWindows.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>

#include <cstdio>

using namespace desktop;

namespace
{

// Lets the menus' animations reach a frame worth showing.
void settle()
{
    QThread::msleep(1500);
}

void save(const Window& window, const QString& file)
{
    const QRect frame = window.frame;
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(
        0, frame.x(), frame.y(), frame.width(), frame.height());
    if (!shot.save(file))
        throw SessionError("cannot write " + file.toStdString());
    std::printf("%s\n", qPrintable(file));
}

void clickTwice(Desktop& desktop, const Window& window, QPoint at)
{
    desktop.click(window.id, at);
    QThread::msleep(400);
    desktop.click(window.id, at);
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: quorvane-screenshots PROGRAM DEMO_FOLDER OUTPUT_FOLDER\n");
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[3]);
    try {
        Desktop desktop;
        ProgramSession session(desktop, QString::fromLocal8Bit(argv[1]),
                               QString::fromLocal8Bit(argv[2]));
        settle();
        const Window grade = session.expectActive(WindowKind::GradeMenu);
        save(grade, output + QStringLiteral("/grade-menu.png"));

        clickTwice(desktop, grade, at::yearTile(3));
        settle();
        save(session.expectActive(WindowKind::SubjectMenu),
             output + QStringLiteral("/subject-menu.png"));

        clickTwice(desktop, session.expectActive(WindowKind::SubjectMenu),
                   at::subjectTile(5, false));
        const Window activities = session.expectActive(WindowKind::Activities);
        desktop.click(activities.id, at::listRow(1));
        settle();
        save(session.expectActive(WindowKind::Activities),
             output + QStringLiteral("/activities.png"));

        desktop.doubleClick(activities.id, at::listRow(1));
        settle();
        save(session.expectActive(WindowKind::Player), output + QStringLiteral("/player.png"));
        session.run().kill();
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quorvane-screenshots: %s\n", error.what());
        return 1;
    }
}
