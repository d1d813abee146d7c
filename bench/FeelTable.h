#pragma once

#include <QList>
#include <QString>
#include <QTextStream>

// The figures of one run of the probe beside their targets and what the
// peers measured on the same machine, printed for the console and as the
// rows of the README's table.
class FeelTable
{
public:
    enum class Unit { Milliseconds, Megabytes, Percent, PerSecond };

    struct Row
    {
        QString figure;
        Unit unit = Unit::Milliseconds;
        QList<double> samples;
        // Met when the median is at most this; 0 for a figure shown
        // without a target.
        double target = 0;
        // This game before the work on how it feels, and the peers; "–"
        // where nothing was measured.
        QString earlier = QStringLiteral("–");
        QString gnomeSudoku = QStringLiteral("–");
        QString solo = QStringLiteral("–");
        QString ksudoku = QStringLiteral("–");
    };

    void add(const Row &row) { m_rows << row; }

    // Every sample, the median, the largest and whether the target is met.
    void printDetails(QTextStream &out) const;
    // The README's table, whole, to paste over the old one.
    void printMarkdown(QTextStream &out) const;
    // One line per missed target, or nothing.
    void printMissed(QTextStream &out) const;

    static double median(QList<double> samples);
    static double largest(const QList<double> &samples);

private:
    static QString number(const Row &row, double value);
    static QString withUnit(const Row &row, const QString &value);
    static QString measured(const Row &row);
    static QString target(const Row &row);
    static bool hasTarget(const Row &row);
    static bool met(const Row &row);

    QList<Row> m_rows;
};
