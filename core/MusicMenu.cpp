#include "MusicMenu.h"

#include "GameState.h"
#include "MultimediaControl.h"

std::array<Control *, 3> MusicMenu::tunes(GameState &form)
{
    return { &form.menuSetting_PlayMusic_osmira, &form.menuSetting_PlayMusic_HappyGM,
        &form.menuSetting_PlayMusic_Waltz };
}

void MusicMenu::checkTune(GameState &form, const Control &tune)
{
    for (Control *item : tunes(form))
        item->setChecked(item == &tune);
}

void MusicMenu::enableTunes(GameState &form, bool enabled)
{
    for (Control *item : tunes(form))
        item->setEnabled(enabled);
}

void MusicMenu::showPlaying(GameState &form, bool playing)
{
    form.menuSetting_PlayMusic_StartPlay.setVisible(!playing);
    form.menuSetting_PlayMusic_StopPlay.setVisible(playing);
}

void MusicMenu::startForGame(GameState &form)
{
    form.menuSetting_PlayMusic.setEnabled(true);
    showPlaying(form, form.MMControl1 && form.MMControl1->Mode() == MultimediaControl::kModePlaying);
    checkTune(form, form.menuSetting_PlayMusic_osmira);
    form.window().menuSetting_PlayMusic_StartPlay_Click();
}
