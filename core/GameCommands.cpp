#include "GameCommands.h"

#include "GameState.h"
#include "Skin.h"

void GameCommands::offerForGame(GameState &form)
{
    Skin::setEnabled(form.cmdStart, QStringLiteral("start"), false);
    Skin::setEnabled(form.cmdContinue, QStringLiteral("continue"), false);
    Skin::setEnabled(form.cmdSave, QStringLiteral("save"), true);
    form.menuGame_Start.setEnabled(false);
    form.menuGame_Continue.setEnabled(false);
    for (Control *item : { &form.menuGame_Save, &form.menuGame_Clear, &form.menuGame_Print,
             &form.menuGame_SavePicture, &form.menuGame_CopyToClipboard })
        item->setEnabled(true);
}

void GameCommands::withdrawPlay(GameState &form)
{
    Skin::setEnabled(form.cmdSave, QStringLiteral("save"), false);
    Skin::setEnabled(form.cmdNext, QStringLiteral("next"), false);
    Skin::setEnabled(form.cmdFinished, QStringLiteral("finish"), false);
    for (Control *item : { &form.menuGame_Save, &form.menuDo_Next, &form.menuDo_Finished })
        item->setEnabled(false);
}

bool GameCommands::boardFull(const GameState &form)
{
    for (int i = 0; i < GameState::kCells; ++i)
        if (form.L(i).isEmpty())
            return false;
    return true;
}

void GameCommands::offerFinish(GameState &form)
{
    const bool full = boardFull(form);
    Skin::setEnabled(form.cmdFinished, QStringLiteral("finish"), full);
    form.menuDo_Finished.setEnabled(full);
}
