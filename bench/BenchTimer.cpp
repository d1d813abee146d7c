#include "BenchTimer.h"

#include <QElapsedTimer>
#include <QTextStream>
#include <algorithm>

BenchTimer::Result BenchTimer::measure(const QString &name, int runs, double targetMs,
    const std::function<void()> &action, const std::function<void()> &prepare)
{
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        QElapsedTimer timer;
        timer.start();
        action();
        times << timer.nsecsElapsed() / 1e6;
    }
    std::sort(times.begin(), times.end());
    Result r;
    r.name = name;
    r.runs = runs;
    r.medianMs = times.at(times.size() / 2);
    r.minMs = times.first();
    r.maxMs = times.last();
    r.targetMs = targetMs;
    return r;
}

void BenchTimer::print(const QList<Result> &results)
{
    QTextStream out(stdout);
    out << "| measure | runs | median ms | min ms | max ms | target ms | met |\n";
    out << "|---|---|---|---|---|---|---|\n";
    for (const auto &r : results)
        out << "| " << r.name << " | " << r.runs << " | " << QString::number(r.medianMs, 'f', 2) << " | "
            << QString::number(r.minMs, 'f', 2) << " | " << QString::number(r.maxMs, 'f', 2) << " | "
            << QString::number(r.targetMs, 'f', 0) << " | " << (r.medianMs <= r.targetMs ? "yes" : "NO")
            << " |\n";
}
