#include "ModuleSetting.h"

#include "BoardColors.h"
#include "GameState.h"
#include "ModuleGameSetting.h"
#include "ModuleSound.h"
#include "Skin.h"

namespace {

// Inverts the check mark and tells whether it is now set.
bool toggle(Control &item)
{
    item.setChecked(!item.Checked());
    return item.Checked();
}

} // namespace

void ModuleSetting::menuSetting_ExitAutoSave_Click(GameState &form)
{
    form.setMousePointer(GameState::kPointerHourglass);
    toggle(form.menuSetting_ExitAutoSave);
    form.setMousePointer(GameState::kPointerDefault);
}

void ModuleSetting::menuSetting_FontBold_Click(GameState &form)
{
    const bool bold = toggle(form.menuSetting_FontBold);
    for (int i = 0; i < GameState::kCells; ++i)
        form.L(i).setFontBold(bold);
}

void ModuleSetting::menuSetting_PieceColor_Click(GameState &form)
{
    if (toggle(form.menuSetting_PieceColor)) {
        ModuleGameSetting::RepaintBoard(form);
        return;
    }
    for (int i = 0; i < GameState::kCells; ++i)
        form.L(i).setBackColor(BoardColors::kPaper);
}

void ModuleSetting::menuSetting_ShowBorder_Click(GameState &form)
{
    form.setMousePointer(GameState::kPointerHourglass);
    form.Shape2.setVisible(toggle(form.menuSetting_ShowBorder));
    form.setMousePointer(GameState::kPointerDefault);
}

void ModuleSetting::menuSetting_PutOnFront_Click(GameState &form)
{
    const bool onTop = toggle(form.menuSetting_PutOnFront);
    form.window().setTopMost(onTop);
    form.picPutOnFront.setPicture(
        Skin::literal(onTop ? QStringLiteral("putonfront2") : QStringLiteral("putonfront1")));
}

void ModuleSetting::picPutOnFront_MouseDown(GameState &form, int button)
{
    if (button == 1)
        ModuleSound::PlaySoundDu(form);
}

void ModuleSetting::picPutOnFront_MouseUp(GameState &form, int button)
{
    if (button == 1)
        menuSetting_PutOnFront_Click(form);
}

void ModuleSetting::Form_Activate(GameState &form)
{
    form.window().setTopMost(form.menuSetting_PutOnFront.Checked());
}
