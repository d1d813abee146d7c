#include "ModuleInfo.h"

#include "FormAbout.h"
#include "FormCopyright.h"
#include "FormHelp.h"
#include "FormUpdate.h"
#include "GameState.h"
#include "ModuleSound.h"
#include "UrlOpener.h"
#include "WebAddresses.h"

namespace {
QRect placeOf(QWidget *mainWindow)
{
    return mainWindow ? mainWindow->frameGeometry() : QRect();
}
} // namespace

void ModuleInfo::menuAbout_AboutMe_Click(GameState &form, QWidget *mainWindow)
{
    auto *window = new FormAbout(mainWindow);
    window->load(placeOf(mainWindow));
    ModuleSound::PlaySoundBubble(form);
    window->showActive();
}

void ModuleInfo::menuAbout_Copyright_Click(GameState &form, QWidget *mainWindow)
{
    auto *window = new FormCopyright(mainWindow);
    window->load(placeOf(mainWindow));
    ModuleSound::PlaySoundBubble(form);
    window->showActive();
}

void ModuleInfo::menuAbout_Help_Click(GameState &, QWidget *mainWindow)
{
    FormHelp::open(mainWindow);
}

void ModuleInfo::menuAbout_UpdateInfo_Click(GameState &, QWidget *)
{
    UrlOpener::open(QUrl(WebAddresses::updatePage()));
}

void ModuleInfo::menuGame_SoftUpdata_Click(GameState &, QWidget *mainWindow)
{
    FormUpdate::open(mainWindow);
}
