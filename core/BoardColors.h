#pragma once

#include "Rgb.h"

// The colours of the board, each said once: the cells and their view, the
// check, the hints, the picture, the print and the save file take them
// from here. 0x00BBGGRR integers, as the game stores and compares them.
struct BoardColors
{
    // Text colours. They tell a cell's kind (CellLabel::kind), and the save
    // file holds them: a file the game wrote has no other.
    static constexpr int kGiven = RGB(0, 0, 0);
    static constexpr int kPlayer = RGB(56, 196, 0); // lEmptyColorValue
    static constexpr int kWrong = RGB(255, 0, 0); // after a failed check

    // Backgrounds.
    static constexpr int kPaper = RGB(255, 255, 255); // a plain cell, the number hints
    static constexpr int kHint = RGB(162, 197, 255); // the cross hint, lColorValue
    static constexpr int kShading = RGB(230, 230, 230); // the shaded boxes, lPieceColorValue
    // A digit placed nine times keeps the paper's colour (lNumericalTimeTrueColor).
    static constexpr int kNumberHintComplete = kPaper;
    static constexpr int kEntry = RGB(255, 180, 55); // the entry box over a cell

    // Lines.
    static constexpr int kGridLine = RGB(0, 0, 0);
    static constexpr int kBorder = RGB(64, 64, 64); // Shape2, on screen and in the picture
    static constexpr int kPrintBorder = kGridLine; // printed, the border is drawn as the grid
};
