#include "ModuleTitleBar.h"

#include "GameState.h"
#include "ModuleGameSetting.h"
#include "ModuleSound.h"
#include "Skin.h"

namespace {

void cancelEntry(GameState &form)
{
    ModuleSound::PlaySoundCancel(form);
    Skin::setEnabled(form.cmdSave, QStringLiteral("save"), true);
    form.menuGame_Save.setEnabled(true);
}

void closeBox(GameState &form)
{
    form.txtEnter.setEnabled(false);
    form.txtEnter.setVisible(false);
}

} // namespace

void ModuleTitleBar::picTitle_MouseDown(GameState &form, int button)
{
    // The left button moves the window; the right one only cancels.
    if (button == 1)
        form.dragWindow();
    if (form.txtEnter.Visible() && button == 2) {
        cancelEntry(form);
        for (int i = 0; i < GameState::kCells; ++i)
            form.L(i).setEnabled(true);
        closeBox(form);
    }
}

void ModuleTitleBar::Form_MouseDown(GameState &form, int button)
{
    if (button == 1)
        form.dragWindow();
    if (!form.cmdStart.Enabled() && button == 2 && form.txtEnter.Visible()) {
        cancelEntry(form);
        closeBox(form);
    }
}

void ModuleTitleBar::Form_MouseMove(GameState &form, int button)
{
    if (button != 0)
        return;
    for (int i = 0; i < GameState::kCells; ++i)
        form.L(i).setBackColor(0xFFFFFF);
    ModuleGameSetting::RepaintBoard(form);
}
