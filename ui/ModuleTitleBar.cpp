#include "ModuleTitleBar.h"

#include "BoardColors.h"
#include "EntryCancel.h"
#include "GameState.h"
#include "ModuleGameSetting.h"

void ModuleTitleBar::picTitle_MouseDown(GameState &form, int button)
{
    // The left button moves the window; the right one only cancels.
    if (button == 1)
        form.window().dragWindow();
    if (form.txtEnter.Visible() && button == 2)
        EntryCancel::cancel(form, EntryCancel::Cells::Enable);
}

void ModuleTitleBar::Form_MouseDown(GameState &form, int button)
{
    if (button == 1)
        form.window().dragWindow();
    if (!form.cmdStart.Enabled() && button == 2 && form.txtEnter.Visible())
        EntryCancel::cancel(form);
}

void ModuleTitleBar::Form_MouseMove(GameState &form, int button)
{
    if (button != 0)
        return;
    for (int i = 0; i < GameState::kCells; ++i)
        form.L(i).setBackColor(BoardColors::kPaper);
    ModuleGameSetting::RepaintBoard(form);
}
