#include "ProcessProbe.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <unistd.h>

#include <ctime>
#include <map>

namespace bench
{

double boottimeSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double ownCpuSeconds()
{
    timespec used{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) / 1e9;
}

QStringList statFields(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString line = QString::fromLatin1(file.readAll());
    // The command name may hold spaces; the fields after it are plain.
    return line.mid(line.lastIndexOf(u')') + 2).split(u' ');
}

double processStart()
{
    return statFields(getpid()).value(19).toDouble() / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// This process and every process it started, directly or not.
std::set<qint64> processTree()
{
    std::multimap<qint64, qint64> children;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        const QStringList fields = statFields(pid);
        if (number && fields.size() > 1)
            children.emplace(fields[1].toLongLong(), pid);
    }
    std::set<qint64> tree{getpid()};
    QList<qint64> open{getpid()};
    while (!open.isEmpty()) {
        const qint64 parent = open.takeLast();
        for (auto [it, end] = children.equal_range(parent); it != end; ++it) {
            if (tree.insert(it->second).second)
                open.append(it->second);
        }
    }
    return tree;
}

double treeMegabytes(const QByteArray& field)
{
    double kilobytes = 0;
    for (const qint64 pid : processTree()) {
        QFile file(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (line.startsWith(field))
                kilobytes += line.mid(field.size()).trimmed().split(' ').first().toDouble();
        }
    }
    return kilobytes / 1024;
}

double treeCpuSeconds()
{
    double ticks = 0;
    for (const qint64 pid : processTree()) {
        const QStringList fields = statFields(pid);
        if (pid != getpid() && fields.size() > 12)
            ticks += fields[11].toDouble() + fields[12].toDouble(); // utime, stime
    }
    return ownCpuSeconds() + ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

bool webEngineProcessRunning()
{
    for (const qint64 pid : processTree()) {
        QFile file(QStringLiteral("/proc/%1/comm").arg(pid));
        // The kernel keeps the first 15 characters of the name.
        if (file.open(QIODevice::ReadOnly) && file.readAll().startsWith("QtWebEngineProc"))
            return true;
    }
    return false;
}

void idle(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace bench
