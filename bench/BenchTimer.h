#pragma once

#include <QList>
#include <QString>
#include <functional>

// Runs an action repeatedly and reports the median and spread of its
// wall-clock time.
class BenchTimer
{
public:
    struct Result
    {
        QString name;
        int runs = 0;
        double medianMs = 0;
        double minMs = 0;
        double maxMs = 0;
        double targetMs = 0;
    };

    static Result measure(const QString &name, int runs, double targetMs, const std::function<void()> &action,
        const std::function<void()> &prepare = {});
    static void print(const QList<Result> &results);
};
