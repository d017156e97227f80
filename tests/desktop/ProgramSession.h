#pragma once

#include "Desktop.h"
#include "ProgramRun.h"
#include "ProgramWindows.h"

#include <chrono>
#include <memory>
#include <stdexcept>

namespace desktop
{

// A failed expectation about the program on the desktop, with what was on screen.
class SessionError final : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The program running on the desktop, and what a user sees of it: which window is active,
// which are open. Every wait fails with SessionError when the program has died.
class ProgramSession final
{
public:
    ProgramSession(Desktop& desktop, const QString& program, const QString& workingFolder,
                   const QStringList& arguments = {});

    [[nodiscard]] Desktop& desktop() { return m_desktop; }
    [[nodiscard]] ProgramRun& run() { return *m_run; }

    // Waits until a window of `kind` is the active one, and checks that the program shows no
    // kind of window twice. Throws SessionError otherwise.
    Window expectActive(WindowKind kind,
                        std::chrono::milliseconds patience = std::chrono::seconds(15));
    // Waits for the program to end by itself, with exit code 0.
    void expectExit(std::chrono::milliseconds patience = std::chrono::seconds(15));
    // Throws SessionError when the program has died or reported a sanitizer error.
    void expectAlive();
    [[nodiscard]] QString describe();

private:
    Desktop& m_desktop;
    std::unique_ptr<ProgramRun> m_run;
};

} // namespace desktop
