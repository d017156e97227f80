#include "ProgramSession.h"

#include <QElapsedTimer>
#include <QThread>

#include <map>

namespace desktop
{

ProgramSession::ProgramSession(Desktop& desktop, const QString& program,
                               const QString& workingFolder, const QStringList& arguments)
    : m_desktop(desktop)
    , m_run(std::make_unique<ProgramRun>(program, workingFolder, arguments))
{
}

QString ProgramSession::describe()
{
    QString text = QStringLiteral("windows of the program:");
    for (const Window& window : m_desktop.windowsOf(m_run->pid()))
        text += QStringLiteral(" [%1%2]").arg(
            window.title, window.minimised ? QStringLiteral(", minimised") : QString());
    if (const auto active = m_desktop.activeWindow())
        text += QStringLiteral("; active: [%1]").arg(active->title);
    const QString output = m_run->output();
    if (!output.isEmpty())
        text += QStringLiteral("\nprogram output (last lines):\n") + output.right(3000);
    return text;
}

void ProgramSession::expectAlive()
{
    if (const QString report = m_run->sanitizerReport(); !report.isEmpty())
        throw SessionError("sanitizer report:\n" + report.toStdString());
    if (!m_run->running())
        throw SessionError(
            QStringLiteral("the program ended (%1, code %2)\n%3")
                .arg(m_run->crashed() ? QStringLiteral("crashed") : QStringLiteral("exited"))
                .arg(m_run->exitCode())
                .arg(m_run->output().right(4000))
                .toStdString());
}

Window ProgramSession::expectActive(WindowKind kind, std::chrono::milliseconds patience)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        expectAlive();
        const auto active = m_desktop.activeWindow();
        // A window is ready for input once the window manager has decorated it and it has
        // stopped moving: clicks aimed at a window on its way somewhere land elsewhere.
        const auto settled = [&] {
            if (!active || active->frame == active->client)
                return false;
            QThread::msleep(50);
            const auto again = m_desktop.window(active->id);
            return again && again->frame == active->frame;
        };
        if (active && kindOf(*active) == kind && settled()) {
            std::map<WindowKind, int> open;
            for (const Window& window : m_desktop.windowsOf(m_run->pid())) {
                if (const auto other = kindOf(window); other && ++open[*other] > 1)
                    throw SessionError(std::string("two windows of one kind: ") + nameOf(*other)
                                       + "\n" + describe().toStdString());
            }
            return *active;
        }
        if (clock.elapsed() > patience.count())
            throw SessionError(std::string("expected the ") + nameOf(kind) + " to be active; "
                               + describe().toStdString());
        QThread::msleep(20);
    }
}

void ProgramSession::expectExit(std::chrono::milliseconds patience)
{
    if (!m_run->waitForExit(patience))
        throw SessionError("the program did not end; " + describe().toStdString());
    if (m_run->crashed() || m_run->exitCode() != 0 || !m_run->sanitizerReport().isEmpty())
        throw SessionError(QStringLiteral("the program ended badly (code %1)\n%2")
                               .arg(m_run->exitCode())
                               .arg(m_run->output().right(4000))
                               .toStdString());
}

} // namespace desktop
