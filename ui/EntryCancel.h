#pragma once

class GameState;

// A right click cancels the open entry box, on a cell, on the box itself,
// on the window's background or on the title: the cell keeps its digit,
// the cancel sound plays and saving is possible again. Only the title
// also hands the cells back their mouse.
class EntryCancel
{
public:
    enum class Cells { Keep, Enable };

    static void cancel(GameState &form, Cells cells = Cells::Keep);
};
