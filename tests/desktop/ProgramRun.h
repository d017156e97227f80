#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>

namespace desktop
{

// The program under test, started as a user starts it: from its content folder, on the
// desktop's display, with its output kept for the report.
class ProgramRun final
{
public:
    // Settings the program keeps go to a folder of this run's own.
    ProgramRun(const QString& program, const QString& workingFolder,
               const QStringList& arguments = {});
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    [[nodiscard]] qint64 pid() const { return m_pid; }
    [[nodiscard]] bool running();
    // True once the program has ended on a signal (a crash, an abort from a sanitizer).
    [[nodiscard]] bool crashed();
    [[nodiscard]] bool waitForExit(std::chrono::milliseconds patience);
    [[nodiscard]] int exitCode() const { return m_process.exitCode(); }
    // Everything the program has written so far, standard output and error together.
    [[nodiscard]] QString output();
    // A report of AddressSanitizer or UndefinedBehaviorSanitizer in the output, if any.
    [[nodiscard]] QString sanitizerReport();
    void kill();

private:
    QTemporaryDir m_settings;
    QProcess m_process;
    qint64 m_pid = 0;
    QByteArray m_output;
};

} // namespace desktop
