#include "ModuleMusic.h"

#include "AppPath.h"
#include "GameState.h"
#include "MultimediaControl.h"
#include "MusicMenu.h"

namespace {
const char *const kOsmira = "\\bkmusic\\osmira.mid";
const char *const kHappyGM = "\\bkmusic\\happygm.mid";
const char *const kWaltz = "\\bkmusic\\waltz.mid";

void command(GameState &form, const char *cmd)
{
    if (form.MMControl1)
        form.MMControl1->setCommand(QLatin1String(cmd));
}
} // namespace

void ModuleMusic::menuSetting_PlayMusic_StartPlay_Click(GameState &form)
{
    form.setMousePointer(GameState::kPointerHourglass);
    if (MultimediaControl *mm = form.MMControl1) {
        mm->Notify = true;
        mm->DeviceType = QStringLiteral("Sequencer");
        if (form.menuSetting_PlayMusic_osmira.Checked())
            mm->FileName = AppPath::file(QLatin1String(kOsmira));
        else if (form.menuSetting_PlayMusic_HappyGM.Checked())
            mm->FileName = AppPath::file(QLatin1String(kHappyGM));
        else if (form.menuSetting_PlayMusic_Waltz.Checked())
            mm->FileName = AppPath::file(QLatin1String(kWaltz));
        mm->setCommand(QStringLiteral("open"));
        mm->setCommand(QStringLiteral("play"));
    }
    MusicMenu::showPlaying(form, true);
    MusicMenu::enableTunes(form, true);
    form.picMusicPlay.setVisible(false);
    form.picMusicStop.setVisible(true);
    form.setMousePointer(GameState::kPointerDefault);
}

void ModuleMusic::menuSetting_PlayMusic_StopPlay_Click(GameState &form)
{
    if (form.MMControl1)
        form.MMControl1->Notify = true;
    command(form, "stop");
    command(form, "close");
    MusicMenu::showPlaying(form, false);
    MusicMenu::enableTunes(form, false);
    form.picMusicPlay.setVisible(true);
    form.picMusicStop.setVisible(false);
}

void ModuleMusic::playTune(GameState &form, Control &item, const char *literal)
{
    if (MultimediaControl *mm = form.MMControl1) {
        mm->Notify = true;
        mm->setCommand(QStringLiteral("close"));
        mm->DeviceType = QStringLiteral("Sequencer");
        mm->FileName = AppPath::file(QLatin1String(literal));
        mm->setCommand(QStringLiteral("open"));
        mm->setCommand(QStringLiteral("play"));
    }
    MusicMenu::checkTune(form, item);
    MusicMenu::showPlaying(form, true);
}

void ModuleMusic::menuSetting_PlayMusic_osmira_Click(GameState &form)
{
    playTune(form, form.menuSetting_PlayMusic_osmira, kOsmira);
}

void ModuleMusic::menuSetting_PlayMusic_HappyGM_Click(GameState &form)
{
    playTune(form, form.menuSetting_PlayMusic_HappyGM, kHappyGM);
}

void ModuleMusic::menuSetting_PlayMusic_Waltz_Click(GameState &form)
{
    playTune(form, form.menuSetting_PlayMusic_Waltz, kWaltz);
}

void ModuleMusic::MMControl1_Done(GameState &form)
{
    MultimediaControl *mm = form.MMControl1;
    if (mm && mm->Mode() == MultimediaControl::kModeStopped) {
        // An effect may have turned notification off since the tune
        // started; without it this play would be the tune's last.
        mm->Notify = true;
        mm->setCommand(QStringLiteral("prev"));
        mm->setCommand(QStringLiteral("play"));
    }
}

void ModuleMusic::picMusicPlay_MouseUp(GameState &form, int button)
{
    if (button == 1)
        menuSetting_PlayMusic_StartPlay_Click(form);
}

void ModuleMusic::picMusicStop_MouseUp(GameState &form, int button)
{
    if (button == 1)
        menuSetting_PlayMusic_StopPlay_Click(form);
}
