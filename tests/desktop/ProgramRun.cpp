#include "ProgramRun.h"

#include <QFileInfo>
#include <QProcessEnvironment>

#include <stdexcept>

namespace desktop
{

ProgramRun::ProgramRun(const QString& program, const QString& workingFolder,
                       const QStringList& arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Root in CI, where Chromium refuses its sandbox should a movie need the web engine.
    environment.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    // A sanitizer's report ends the run at once, so the crash is seen where it happened. The
    // sized-delete check stays off: Qt WebEngine's own Chromium code, not built with the
    // sanitizer, trips it whenever a web page is destroyed.
    environment.insert(
        QStringLiteral("ASAN_OPTIONS"),
        QStringLiteral("detect_leaks=0:abort_on_error=1:new_delete_type_mismatch=0"));
    environment.insert(QStringLiteral("UBSAN_OPTIONS"),
                       QStringLiteral("print_stacktrace=1:halt_on_error=1:abort_on_error=1"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_settings.path());
    m_process.setProcessEnvironment(environment);
    m_process.setWorkingDirectory(workingFolder);
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(QFileInfo(program).absoluteFilePath(), arguments);
    if (!m_process.waitForStarted(10000))
        throw std::runtime_error("the program does not start: " + program.toStdString());
    m_pid = m_process.processId();
}

ProgramRun::~ProgramRun()
{
    kill();
}

bool ProgramRun::running()
{
    m_process.waitForFinished(0);
    return m_process.state() != QProcess::NotRunning;
}

bool ProgramRun::crashed()
{
    return !running() && m_process.exitStatus() == QProcess::CrashExit;
}

bool ProgramRun::waitForExit(std::chrono::milliseconds patience)
{
    return m_process.waitForFinished(static_cast<int>(patience.count()))
           || m_process.state() == QProcess::NotRunning;
}

QString ProgramRun::output()
{
    m_output += m_process.readAll();
    return QString::fromLocal8Bit(m_output);
}

QString ProgramRun::sanitizerReport()
{
    const QString text = output();
    for (const QLatin1String marker :
         {QLatin1String("ERROR: AddressSanitizer"), QLatin1String("runtime error:"),
          QLatin1String("ERROR: LeakSanitizer")}) {
        if (const auto at = text.indexOf(marker); at >= 0)
            return text.mid(at, 4000);
    }
    return {};
}

void ProgramRun::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(5000);
}

} // namespace desktop
