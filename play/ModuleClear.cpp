#include "ModuleClear.h"

#include "GameClock.h"
#include "GameState.h"
#include "Skin.h"

void ModuleClear::menuGame_Clear_Click(GameState &form)
{
    for (int i = 0; i < GameState::kCells; ++i)
        if (form.L(i).ForeColor() != 0)
            form.L(i).setCaption(QString());
    form.txtEnter.setVisible(false);
    form.txtEnter.setEnabled(false);
    GameClock::restart(form);
    // An emptied board cannot be finished: checking it would fail on the
    // first empty cell.
    bool full = true;
    for (int i = 0; i < GameState::kCells && full; ++i)
        full = !form.L(i).Caption().isEmpty();
    if (!full) {
        Skin::setEnabled(form.cmdFinished, QStringLiteral("finish"), false);
        form.menuDo_Finished.setEnabled(false);
    }
}

void ModuleClear::menuGame_Reload_Click(GameState &form)
{
    form.window().reloadWindow();
}
