#pragma once

#include <QString>
#include <array>
#include <optional>

// A solved 9x9 grid in cell order (row by row from the top-left).
class SudokuGrid
{
public:
    using Cells = std::array<int, 81>;

    // Reads 81 digits; blanks and line breaks between them are ignored.
    // Anything else, or a different count, gives nothing.
    static std::optional<Cells> parse(const QString &text);

    // True when every row, column and 3x3 box holds 1..9 exactly once.
    // Otherwise `why` (when given) names the first fault found.
    static bool isValidSolution(const Cells &cells, QString *why = nullptr);
};
