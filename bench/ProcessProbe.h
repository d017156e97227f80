#pragma once

#include <QByteArray>
#include <QStringList>

#include <set>

// What the benchmarks read about their own process and the processes it started (the web
// engine's among them), from /proc.
namespace bench
{

// Seconds on the CLOCK_BOOTTIME scale, which processStart() shares.
[[nodiscard]] double boottimeSeconds();
// CPU seconds used so far by this process's threads, to the nanosecond.
[[nodiscard]] double ownCpuSeconds();
// The fields of /proc/<pid>/stat after the command name; empty when the process is gone.
[[nodiscard]] QStringList statFields(qint64 pid);
// When this process started, on the CLOCK_BOOTTIME scale, to the kernel's clock tick.
[[nodiscard]] double processStart();
// This process and every process it started, directly or not.
[[nodiscard]] std::set<qint64> processTree();
// One field of smaps_rollup ("Pss:", "Rss:") summed over the process tree, in megabytes.
[[nodiscard]] double treeMegabytes(const QByteArray& field);
// CPU seconds used so far by the process tree: this process to the nanosecond, the others to
// the kernel's clock tick.
[[nodiscard]] double treeCpuSeconds();
[[nodiscard]] bool webEngineProcessRunning();
// Runs the event loop for `milliseconds`, sleeping whenever nothing is due, as an application
// does.
void idle(int milliseconds);

} // namespace bench
