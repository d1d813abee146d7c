#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>
#include <map>

// What a running process costs the machine, read from /proc as any tool
// would read it: resident memory, processor time and how often its threads
// wake up.
class ProcessMeter
{
public:
    struct Usage
    {
        // Of one core.
        double cpuPercent = 0;
        // Voluntary context switches of all its threads: each is a thread
        // going to sleep, so each stands for a wakeup.
        double wakeupsPerSecond = 0;
        // The same by thread, "name (id)", the busiest first.
        QList<std::pair<QString, double>> wakeupsByThread;
    };

    explicit ProcessMeter(qint64 pid);

    // VmRSS in MB (MiB), or -1 when the process is gone.
    double residentMb() const;
    // Waits `msecs` and tells what the process used meanwhile.
    Usage usageOver(int msecs) const;

private:
    // utime + stime of all its threads, in clock ticks.
    qint64 cpuTicks() const;
    struct Thread
    {
        QString name;
        qint64 switches = 0;
    };
    // Voluntary context switches by thread id.
    std::map<qint64, Thread> voluntarySwitches() const;

    qint64 m_pid;
};
