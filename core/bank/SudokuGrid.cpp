#include "SudokuGrid.h"

std::optional<SudokuGrid::Cells> SudokuGrid::parse(const QString &text)
{
    Cells cells {};
    int n = 0;
    for (const QChar ch : text) {
        if (ch.isSpace())
            continue;
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9') || n >= 81)
            return std::nullopt;
        cells[std::size_t(n++)] = ch.unicode() - '0';
    }
    if (n != 81)
        return std::nullopt;
    return cells;
}

bool SudokuGrid::isValidSolution(const Cells &cells, QString *why)
{
    auto fail = [why](const QString &reason) {
        if (why)
            *why = reason;
        return false;
    };
    for (int i = 0; i < 81; ++i)
        if (cells[std::size_t(i)] < 1 || cells[std::size_t(i)] > 9)
            return fail(
                QStringLiteral("cell %1 holds %2, not a digit 1..9").arg(i).arg(cells[std::size_t(i)]));
    const char *const kinds[] = { "row", "column", "box" };
    for (int kind = 0; kind < 3; ++kind) {
        for (int unit = 0; unit < 9; ++unit) {
            unsigned seen = 0;
            for (int k = 0; k < 9; ++k) {
                int row = 0, col = 0;
                if (kind == 0) {
                    row = unit;
                    col = k;
                } else if (kind == 1) {
                    row = k;
                    col = unit;
                } else {
                    row = (unit / 3) * 3 + k / 3;
                    col = (unit % 3) * 3 + k % 3;
                }
                const unsigned bit = 1u << cells[std::size_t(row * 9 + col)];
                if (seen & bit)
                    return fail(QStringLiteral("%1 %2 holds %3 twice")
                                    .arg(QLatin1String(kinds[kind]))
                                    .arg(unit)
                                    .arg(cells[std::size_t(row * 9 + col)]));
                seen |= bit;
            }
        }
    }
    return true;
}
