#include "FeelTable.h"

#include <algorithm>

double FeelTable::median(QList<double> samples)
{
    if (samples.isEmpty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const qsizetype middle = samples.size() / 2;
    return samples.size() % 2 ? samples.at(middle) : (samples.at(middle - 1) + samples.at(middle)) / 2;
}

double FeelTable::largest(const QList<double> &samples)
{
    return samples.isEmpty() ? 0 : *std::max_element(samples.begin(), samples.end());
}

QString FeelTable::number(const Row &row, double value)
{
    switch (row.unit) {
    case Unit::Milliseconds:
        return QString::number(value, 'f', value < 10 ? 1 : 0);
    case Unit::Megabytes:
    case Unit::PerSecond:
        return QString::number(value, 'f', 1);
    case Unit::Percent:
        return QString::number(value, 'f', 2);
    }
    return {};
}

QString FeelTable::withUnit(const Row &row, const QString &value)
{
    switch (row.unit) {
    case Unit::Milliseconds:
        return value + QStringLiteral(" ms");
    case Unit::Megabytes:
        return value + QStringLiteral(" MB");
    case Unit::Percent:
        return value + QStringLiteral(" %");
    case Unit::PerSecond:
        return value;
    }
    return value;
}

// The median, and the largest beside it when there were several samples
// and it differs.
QString FeelTable::measured(const Row &row)
{
    if (row.samples.isEmpty())
        return QStringLiteral("not measured");
    const QString middle = number(row, median(row.samples));
    const QString top = number(row, largest(row.samples));
    if (row.samples.size() == 1 || top == middle)
        return withUnit(row, middle);
    return withUnit(row, middle) + QStringLiteral(" (max ") + top + QLatin1Char(')');
}

QString FeelTable::target(const Row &row)
{
    if (!hasTarget(row))
        return QStringLiteral("–");
    return QStringLiteral("≤ ") + withUnit(row, QString::number(row.target));
}

bool FeelTable::hasTarget(const Row &row)
{
    return row.target > 0;
}

bool FeelTable::met(const Row &row)
{
    return !hasTarget(row) || (!row.samples.isEmpty() && median(row.samples) <= row.target);
}

void FeelTable::printDetails(QTextStream &out) const
{
    for (const Row &row : m_rows) {
        out << row.figure << '\n' << "    ";
        for (const double sample : row.samples)
            out << number(row, sample) << ' ';
        out << "\n    median " << withUnit(row, number(row, median(row.samples))) << ", max "
            << withUnit(row, number(row, largest(row.samples))) << ", target " << target(row);
        if (hasTarget(row))
            out << ": " << (met(row) ? "met" : "MISSED");
        out << '\n';
    }
}

void FeelTable::printMarkdown(QTextStream &out) const
{
    out << "| figure | this game | before the sound rework | GNOME Sudoku | Solo (GTK 3) | KSudoku | target "
           "| met |\n";
    out << "|---|---|---|---|---|---|---|---|\n";
    for (const Row &row : m_rows)
        out << "| " << row.figure << " | " << measured(row) << " | " << row.earlier << " | "
            << row.gnomeSudoku << " | " << row.solo << " | " << row.ksudoku << " | " << target(row) << " | "
            << (!hasTarget(row)   ? "–"
                       : met(row) ? "yes"
                                  : "**no**")
            << " |\n";
}

void FeelTable::printMissed(QTextStream &out) const
{
    for (const Row &row : m_rows)
        if (!met(row))
            out << "missed: " << row.figure << ": " << measured(row) << ", target " << target(row) << '\n';
}
