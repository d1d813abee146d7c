#pragma once

#include <QPoint>
#include <QRect>
#include <array>

// Where the board's 81 cells and the line round it lie: on the main window,
// in the saved picture and on the printed page, which all draw the same
// board. The cells overlap, so that neighbouring borders merge into one
// grid line: one pixel apart inside a box, two pixels apart between boxes.
// The main window's board is the design, in twips; the picture and the page
// lay it out elsewhere, pixel for pixel the same.
class BoardGeometry
{
public:
    // The main window's columns and rows, in twips.
    static constexpr std::array<int, 9> kColumnLeft { 150, 650, 1140, 1650, 2150, 2640, 3150, 3650, 4145 };
    static constexpr std::array<int, 9> kRowTop { 535, 1030, 1530, 2040, 2540, 3030, 3540, 4040, 4530 };
    static constexpr int kCellSize = 515;

    // Cell `index` on the main window, in twips.
    static constexpr int left(int index) { return kColumnLeft[std::size_t(index % 9)]; }
    static constexpr int top(int index) { return kRowTop[std::size_t(index / 9)]; }
    // The column and the row of the cell that lies at `left` or `top`
    // (twips, main window); -1 where no cell lies.
    static int column(int left);
    static int row(int top);

    // Cell `index` on the main window, in pixels.
    static QRect cellRect(int index);
    // Cell `index` of a board whose top-left cell has its corner at
    // `origin`, in pixels.
    static QRect cellRect(int index, const QPoint &origin);
    // The one-pixel line round that board: it touches the outer cells, so
    // that it stands where their own borders would.
    static QRect outline(const QPoint &origin);
};
