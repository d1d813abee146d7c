#pragma once

class GameState;

// The number hint: a digit's label is shown normally once the digit stands
// on the board nine times, greyed while fewer are placed. Recounted after
// every change of a cell's digit, whether the panel is shown or not.
class ModuleNumericalTime
{
public:
    // Recounts after every change of any cell's digit.
    static void attach(GameState &form);
    static void NumericalTime(GameState &form);
};
