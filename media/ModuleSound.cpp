#include "ModuleSound.h"

#include "AppPath.h"
#include "GameState.h"
#include "MultimediaControl.h"

void ModuleSound::PlayEffect(GameState &form, const QString &literal)
{
    MultimediaControl *mm = form.MMControl1;
    if (!mm)
        return;
    mm->Notify = false;
    mm->Wait = true;
    mm->FileName = AppPath::file(literal);
    mm->setCommand(QStringLiteral("sound"));
}

void ModuleSound::PlaySoundDu(GameState &form)
{
    PlayEffect(form, QStringLiteral("\\bkmusic\\D_du.wav"));
}

void ModuleSound::PlaySoundBubble(GameState &form)
{
    PlayEffect(form, QStringLiteral("\\bkmusic\\D_bubble.wav"));
}

void ModuleSound::PlaySoundCancel(GameState &form)
{
    PlayEffect(form, QStringLiteral("\\bkmusic\\D_cancel.wav"));
}
