#include "ModuleKeyboard.h"

#include "GameState.h"
#include "ModuleEntry.h"

namespace {

bool editable(const GameState &form, int index)
{
    return form.L(index).kind() != CellKind::Given;
}

} // namespace

int ModuleKeyboard::target(const GameState &form, int dx, int dy)
{
    // No puzzle on the board: nothing to select.
    if (!form.L(0).Enabled())
        return -1;
    if (!form.txtEnter.Visible()) {
        // A closed box opens where the player was, else on the first cell
        // that can be filled.
        if (editable(form, form.EnterIndex))
            return form.EnterIndex;
        for (int i = 0; i < GameState::kCells; ++i)
            if (editable(form, i))
                return i;
        return -1;
    }
    int row = form.EnterIndex / 9;
    int column = form.EnterIndex % 9;
    while (true) {
        row += dy;
        column += dx;
        if (row < 0 || row > 8 || column < 0 || column > 8)
            return -1;
        if (editable(form, row * 9 + column))
            return row * 9 + column;
    }
}

void ModuleKeyboard::arrowKey(GameState &form, int dx, int dy)
{
    const int cell = target(form, dx, dy);
    if (cell >= 0)
        ModuleEntry::L_MouseDown(form, cell, 1);
}
