#include "ModuleHint.h"

#include "BoardColors.h"
#include "GameState.h"
#include "ModuleGameSetting.h"

void ModuleHint::clearHighlight(GameState &form)
{
    for (int j = 0; j < GameState::kCells; ++j)
        form.L(j).setBackColor(BoardColors::kPaper);
    ModuleGameSetting::RepaintBoard(form);
}

void ModuleHint::L_MouseMove(GameState &form, int index, int)
{
    if (!form.menuSetting_ShowCrossHint.Checked())
        return;
    clearHighlight(form);
    int color = 0;
    if (!GameState::colorValue(form.lColorValue, &color))
        return;
    const int row = index / 9;
    const int column = index % 9;
    for (int j = row * 9; j < row * 9 + 9; ++j)
        form.L(j).setBackColor(color);
    for (int j = column; j < GameState::kCells; j += 9)
        form.L(j).setBackColor(color);
}

void ModuleHint::menuSetting_ShowNumberHint_Click(GameState &form)
{
    form.setMousePointer(GameState::kPointerHourglass);
    form.menuSetting_ShowNumberHint.setChecked(!form.menuSetting_ShowNumberHint.Checked());
    ModuleGameSetting::ApplyLayout(form);
    form.setMousePointer(GameState::kPointerDefault);
}

void ModuleHint::menuSetting_ShowCrossHint_Click(GameState &form)
{
    form.setMousePointer(GameState::kPointerHourglass);
    form.menuSetting_ShowCrossHint.setChecked(!form.menuSetting_ShowCrossHint.Checked());
    form.setMousePointer(GameState::kPointerDefault);
}
