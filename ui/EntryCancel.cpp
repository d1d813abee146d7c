#include "EntryCancel.h"

#include "GameState.h"
#include "ModuleSound.h"
#include "Skin.h"

void EntryCancel::cancel(GameState &form, Cells cells)
{
    ModuleSound::PlaySoundCancel(form);
    Skin::setEnabled(form.cmdSave, QStringLiteral("save"), true);
    form.menuGame_Save.setEnabled(true);
    if (cells == Cells::Enable) {
        for (int i = 0; i < GameState::kCells; ++i)
            form.L(i).setEnabled(true);
    }
    form.txtEnter.setEnabled(false);
    form.txtEnter.setVisible(false);
}
