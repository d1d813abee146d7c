#include "ModuleExit.h"

#include "Clock.h"
#include "GameState.h"
#include "MessageBox.h"
#include "ModuleSaveFiles.h"
#include "MultimediaControl.h"
#include "TimeText.h"

namespace {

QString word(const Control &item)
{
    return item.Checked() ? QStringLiteral("True") : QStringLiteral("False");
}

void closeMusic(GameState &form)
{
    if (form.MMControl1)
        form.MMControl1->setCommand(QStringLiteral("close"));
}

} // namespace

void ModuleExit::Form_Unload(GameState &form)
{
    form.setMousePointer(GameState::kPointerHourglass);
    if (form.menuSetting_ExitAutoSave.Checked() && form.cmdSave.Enabled())
        ModuleSaveFiles::cmdSave_Click(form);
    form.bank.CloseBank();
    keepPreferences(form);
    addRunTime(form);
    form.setMousePointer(GameState::kPointerDefault);
    closeMusic(form);
}

void ModuleExit::keepPreferences(GameState &form)
{
    form.strShowNumberHint = word(form.menuSetting_ShowNumberHint);
    form.strShowCrossHint = word(form.menuSetting_ShowCrossHint);
    form.strExitAutoSave = word(form.menuSetting_ExitAutoSave);
    form.strPutOnFront = word(form.menuSetting_PutOnFront);
    form.strPieceColor = word(form.menuSetting_PieceColor);
    form.strShowBorder = word(form.menuSetting_ShowBorder);
    form.strFontBold = word(form.menuSetting_FontBold);
    QString error;
    if (!ModuleSaveFiles::SaveSetting(form, &error))
        MessageBox::critical(QStringLiteral("出错"), QStringLiteral("设置保存失败！\r\n") + error);
}

void ModuleExit::addRunTime(GameState &form)
{
    form.GameTimeEnd = Clock::now();
    // The run's true length, also across midnight.
    form.GameTime = TimeText::elapsedMsecs(form.GameTimeStart, form.GameTimeEnd);
    const auto total = TimeText::parse(form.strTotalTime.toString());
    bool saved = false;
    if (total) {
        form.strTotalTime = TimeText::format(*total + form.GameTime);
        saved = ModuleSaveFiles::SaveGrade(form);
    }
    if (!saved)
        MessageBox::critical(QStringLiteral("出错"), QStringLiteral("游戏时间累计失败！"));
}
