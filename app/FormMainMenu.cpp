#include "FormMainMenu.h"

#include "ControlBinder.h"
#include "Difficulty.h"
#include "FormMain.h"
#include "FormPrint.h"
#include "FormSelectPath.h"
#include "ModuleClear.h"
#include "ModuleClipboard.h"
#include "ModuleHint.h"
#include "ModuleInfo.h"
#include "ModuleMusic.h"
#include "ModuleSetting.h"

#include <QAction>
#include <functional>

FormMainMenu::FormMainMenu(FormMain &window)
    : QMenu(window.state().menuMain.Caption(), &window)
{
    GameState &form = window.state();
    setObjectName(form.menuMain.objectName());
    using Handler = std::function<void()>;
    auto makeAction = [this, &window](Control &control, QMenu *menu, const Handler &handler,
                          const QKeySequence &shortcut = {}, bool checkable = false) {
        auto *action = new QAction(control.Caption(), &window);
        action->setCheckable(checkable);
        action->setShortcut(shortcut);
        ControlBinder::bindAction(control, action);
        menu->addAction(action);
        // Shortcuts act while the menu is closed, too.
        window.addAction(action);
        m_actions.insert(control.objectName(), action);
        QObject::connect(action, &QAction::triggered, &window, handler);
        if (checkable) {
            // A checkable action flips its own mark before the handler
            // runs; the game decides the mark, so it is shown again as the
            // game holds it (choosing the checked difficulty keeps it).
            QObject::connect(action, &QAction::triggered, action,
                [&control, action] { action->setChecked(control.Checked()); });
        }
        return action;
    };
    auto makeMenu = [this](Control &control, QMenu *parent) {
        QMenu *menu = parent->addMenu(control.Caption());
        menu->setObjectName(control.objectName());
        ControlBinder::bindAction(control, menu->menuAction());
        m_actions.insert(control.objectName(), menu->menuAction());
        return menu;
    };
    constexpr bool kCheckable = true;

    QMenu *top = this;
    makeAction(
        form.menuGame_Start, top, [&window] { window.cmdStart_Click(); }, QKeySequence(Qt::CTRL | Qt::Key_B));
    makeAction(
        form.menuGame_Continue, top, [&window] { window.cmdContinue_Click(); },
        QKeySequence(Qt::CTRL | Qt::Key_C));
    makeAction(
        form.menuGame_Save, top, [&window] { window.cmdSave_Click(); }, QKeySequence(Qt::CTRL | Qt::Key_S));
    makeAction(
        form.menuGame_Clear, top, [&form] { ModuleClear::menuGame_Clear_Click(form); },
        QKeySequence(Qt::CTRL | Qt::Key_R));
    makeAction(form.menuGame_Reload, top, [&form] { ModuleClear::menuGame_Reload_Click(form); });
    top->addSeparator();
    makeAction(form.menuGame_CopyToClipboard, top,
        [&form] { ModuleClipboard::menuGame_CopyToClipboard_Click(form); });
    makeAction(form.menuGame_SavePicture, top,
        [&form, &window] { FormSelectPath::menuGame_SavePicture_Click(form, &window); });
    makeAction(
        form.menuGame_Print, top, [&form, &window] { FormPrint::menuGame_Print_Click(form, &window); });
    top->addSeparator();

    QMenu *doMenu = makeMenu(form.menuDo, top);
    makeAction(
        form.menuDo_Next, doMenu, [&window] { window.cmdNext_Click(); }, QKeySequence(Qt::CTRL | Qt::Key_N));
    doMenu->addSeparator();
    QMenu *difficulty = makeMenu(form.menuDo_Difficoulty, doMenu);
    for (const Difficulty::Level &level : Difficulty::levels()) {
        makeAction(
            form.*level.menuItem, difficulty, [&window, &level] { window.menuDo_Difficoulty_Click(level); },
            {}, kCheckable);
    }
    doMenu->addSeparator();
    makeAction(
        form.menuDo_Finished, doMenu, [&window] { window.menuDo_Finished_Click(); },
        QKeySequence(Qt::CTRL | Qt::Key_F));

    QMenu *setting = makeMenu(form.menuSetting, top);
    makeAction(
        form.menuSetting_ShowNumberHint, setting,
        [&form] { ModuleHint::menuSetting_ShowNumberHint_Click(form); }, {}, kCheckable);
    makeAction(
        form.menuSetting_ShowCrossHint, setting,
        [&form] { ModuleHint::menuSetting_ShowCrossHint_Click(form); }, {}, kCheckable);
    makeAction(
        form.menuSetting_PieceColor, setting, [&form] { ModuleSetting::menuSetting_PieceColor_Click(form); },
        {}, kCheckable);
    makeAction(
        form.menuSetting_ShowBorder, setting, [&form] { ModuleSetting::menuSetting_ShowBorder_Click(form); },
        {}, kCheckable);
    makeAction(
        form.menuSetting_FontBold, setting, [&form] { ModuleSetting::menuSetting_FontBold_Click(form); }, {},
        kCheckable);
    setting->addSeparator();
    QMenu *music = makeMenu(form.menuSetting_PlayMusic, setting);
    makeAction(
        form.menuSetting_PlayMusic_osmira, music,
        [&form] { ModuleMusic::menuSetting_PlayMusic_osmira_Click(form); }, {}, kCheckable);
    makeAction(
        form.menuSetting_PlayMusic_HappyGM, music,
        [&form] { ModuleMusic::menuSetting_PlayMusic_HappyGM_Click(form); }, {}, kCheckable);
    makeAction(
        form.menuSetting_PlayMusic_Waltz, music,
        [&form] { ModuleMusic::menuSetting_PlayMusic_Waltz_Click(form); }, {}, kCheckable);
    music->addSeparator();
    makeAction(
        form.menuSetting_PlayMusic_StartPlay, music,
        [&window] { window.menuSetting_PlayMusic_StartPlay_Click(); }, QKeySequence(Qt::CTRL | Qt::Key_P));
    makeAction(form.menuSetting_PlayMusic_StopPlay, music,
        [&form] { ModuleMusic::menuSetting_PlayMusic_StopPlay_Click(form); });
    setting->addSeparator();
    makeAction(
        form.menuSetting_ExitAutoSave, setting,
        [&form] { ModuleSetting::menuSetting_ExitAutoSave_Click(form); }, {}, kCheckable);
    makeAction(
        form.menuSetting_PutOnFront, setting, [&form] { ModuleSetting::menuSetting_PutOnFront_Click(form); },
        {}, kCheckable);
    top->addSeparator();

    makeAction(form.menuGame_Grade, top, [&window] { window.menuGame_Grade_Click(); });
    QMenu *about = makeMenu(form.menuAbout, top);
    // F1 is shown here and handled when the key is released in the window.
    QAction *help = makeAction(
        form.menuAbout_Help, about, [&window] { window.menuAbout_Help_Click(); }, QKeySequence(Qt::Key_F1));
    window.removeAction(help);
    makeAction(form.menuAbout_Copyright, about,
        [&form, &window] { ModuleInfo::menuAbout_Copyright_Click(form, &window); });
    makeAction(form.menuAbout_AboutMe, about,
        [&form, &window] { ModuleInfo::menuAbout_AboutMe_Click(form, &window); });
    about->addSeparator();
    makeAction(form.menuAbout_UpdateInfo, about,
        [&form, &window] { ModuleInfo::menuAbout_UpdateInfo_Click(form, &window); });
    makeAction(
        form.menuGame_SoftUpdata, top,
        [&form, &window] { ModuleInfo::menuGame_SoftUpdata_Click(form, &window); },
        QKeySequence(Qt::CTRL | Qt::Key_U));
    makeAction(
        form.menuGame_Exit, top, [&window] { window.cmdExit_Click(); }, QKeySequence(Qt::CTRL | Qt::Key_F4));
}
