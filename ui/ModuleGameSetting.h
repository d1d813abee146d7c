#pragma once

class GameState;

// Adapts the board and the window to the display preferences.
class ModuleGameSetting
{
public:
    // The cells of the four boxes that touch the middle of an edge, in the
    // order they are painted.
    static const int kPieceCells[36];

    // Shades those boxes in the piece colour while the preference is on.
    // It never whitens a cell: callers that need the plain board whiten
    // all cells first.
    static void RepaintBoard(GameState &form);

    // Narrow window without the number-hint panel, or wide with it; the
    // wide one has everything right of the board 720 twips further right.
    static void ApplyLayout(GameState &form);

    static constexpr int kNarrowWidth = 6310;
    static constexpr int kWideWidth = 7030;
    static constexpr int kHeight = 5240;
};
