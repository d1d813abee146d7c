#include "ModuleClear.h"

#include "GameClock.h"
#include "GameCommands.h"
#include "GameState.h"
#include "Skin.h"

void ModuleClear::menuGame_Clear_Click(GameState &form)
{
    for (int i = 0; i < GameState::kCells; ++i)
        if (form.L(i).kind() != CellKind::Given)
            form.L(i).setDigit(0);
    form.txtEnter.setVisible(false);
    form.txtEnter.setEnabled(false);
    GameClock::restart(form);
    // An emptied board cannot be finished: checking it would fail on the
    // first empty cell.
    if (!GameCommands::boardFull(form)) {
        Skin::setEnabled(form.cmdFinished, QStringLiteral("finish"), false);
        form.menuDo_Finished.setEnabled(false);
    }
}

void ModuleClear::menuGame_Reload_Click(GameState &form)
{
    form.window().reloadWindow();
}
