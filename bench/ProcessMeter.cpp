#include "ProcessMeter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <algorithm>
#include <unistd.h>

namespace {

QByteArray readProc(const QString &path)
{
    QFile file(path);
    // /proc files report a size of 0; readAll reads to their end.
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The number after "Name:" in a /proc status file, or -1.
qint64 statusField(const QByteArray &status, const QByteArray &name)
{
    for (const QByteArray &line : status.split('\n')) {
        if (!line.startsWith(name + ':'))
            continue;
        const QList<QByteArray> words = line.mid(name.size() + 1).simplified().split(' ');
        bool ok = false;
        const qint64 value = words.value(0).toLongLong(&ok);
        return ok ? value : -1;
    }
    return -1;
}

} // namespace

ProcessMeter::ProcessMeter(qint64 pid)
    : m_pid(pid)
{ }

double ProcessMeter::residentMb() const
{
    const qint64 kb = statusField(readProc(QStringLiteral("/proc/%1/status").arg(m_pid)), "VmRSS");
    return kb < 0 ? -1 : double(kb) / 1024.0;
}

qint64 ProcessMeter::cpuTicks() const
{
    // The command name in parentheses may hold blanks; the fields are
    // counted from its closing parenthesis: utime and stime are the 14th
    // and 15th of the line, the 12th and 13th after it.
    const QByteArray stat = readProc(QStringLiteral("/proc/%1/stat").arg(m_pid));
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0)
        return -1;
    const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    return fields.at(11).toLongLong() + fields.at(12).toLongLong();
}

std::map<qint64, ProcessMeter::Thread> ProcessMeter::voluntarySwitches() const
{
    std::map<qint64, Thread> threads;
    const QString tasks = QStringLiteral("/proc/%1/task").arg(m_pid);
    for (const QString &tid : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString task = tasks + QLatin1Char('/') + tid;
        const qint64 count
            = statusField(readProc(task + QStringLiteral("/status")), "voluntary_ctxt_switches");
        if (count >= 0)
            threads[tid.toLongLong()]
                = { QString::fromLocal8Bit(readProc(task + QStringLiteral("/comm")).trimmed()), count };
    }
    return threads;
}

ProcessMeter::Usage ProcessMeter::usageOver(int msecs) const
{
    const qint64 ticksBefore = cpuTicks();
    const std::map<qint64, Thread> before = voluntarySwitches();
    QElapsedTimer wall;
    wall.start();
    QThread::msleep(ulong(msecs));
    const qint64 ticksAfter = cpuTicks();
    const std::map<qint64, Thread> after = voluntarySwitches();
    const double seconds = double(wall.nsecsElapsed()) / 1e9;

    // A thread that started meanwhile counts from nothing; one that ended
    // meanwhile is lost with its last switches.
    Usage usage;
    qint64 woken = 0;
    for (const auto &[tid, thread] : after) {
        const auto earlier = before.find(tid);
        const qint64 count = thread.switches - (earlier == before.end() ? 0 : earlier->second.switches);
        woken += count;
        usage.wakeupsByThread.append(
            { QStringLiteral("%1 (%2)").arg(thread.name).arg(tid), double(count) / seconds });
    }
    std::sort(usage.wakeupsByThread.begin(), usage.wakeupsByThread.end(),
        [](const auto &a, const auto &b) { return a.second > b.second; });
    usage.cpuPercent = 100.0 * double(ticksAfter - ticksBefore) / double(sysconf(_SC_CLK_TCK)) / seconds;
    usage.wakeupsPerSecond = double(woken) / seconds;
    return usage;
}
