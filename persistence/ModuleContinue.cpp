#include "ModuleContinue.h"

#include "AdoError.h"
#include "BankErrorText.h"
#include "GameClock.h"
#include "GameState.h"
#include "MessageBox.h"
#include "MultimediaControl.h"
#include "SaveFile.h"
#include "Skin.h"

#include <array>

namespace {

using Solution = std::array<qint16, GameState::kCells>;

void endContinue(GameState &form)
{
    form.ProgressBarMake.setValue(0);
    form.ProgressBarMake.setVisible(false);
    form.setMousePointer(GameState::kPointerDefault);
}

// The solved grid of the open record, read whole before any of it is used,
// so that a broken record leaves the last puzzle's solution in place.
Solution solutionOf(const AdoRecordset &rs, const QString &id)
{
    Solution solution {};
    for (int i = 0; i < GameState::kCells; ++i) {
        bool ok = false;
        const int digit = rs.Fields(QStringLiteral("l(%1)").arg(i)).toString().trimmed().toInt(&ok);
        if (!ok || digit < 1 || digit > 9)
            throw AdoError(BankErrorText::damagedRecord(id, i));
        solution[std::size_t(i)] = qint16(digit);
    }
    return solution;
}

void selectDifficulty(GameState &form, const QString &word)
{
    // Start is still enabled here, so the option's handler only records
    // the difficulty and the menu's check marks; it blanks nothing.
    if (word == QLatin1String("Easy"))
        form.optEasy.setValue(true);
    else if (word == QLatin1String("Medium"))
        form.optMedium.setValue(true);
    else if (word == QLatin1String("Hard"))
        form.optHard.setValue(true);
}

void offerCommands(GameState &form)
{
    Skin::setEnabled(form.cmdStart, QStringLiteral("start"), false);
    Skin::setEnabled(form.cmdContinue, QStringLiteral("continue"), false);
    Skin::setEnabled(form.cmdSave, QStringLiteral("save"), true);
    form.menuGame_Start.setEnabled(false);
    form.menuGame_Continue.setEnabled(false);
    for (Control *item : { &form.menuGame_Save, &form.menuGame_Clear, &form.menuGame_Print,
             &form.menuGame_SavePicture, &form.menuGame_CopyToClipboard })
        item->setEnabled(true);
    // A continued game keeps the difficulty it was saved with.
    for (Control *control :
        { &form.Frame1, &form.optEasy, &form.optMedium, &form.optHard, &form.menuDo_Difficoulty })
        control->setEnabled(false);
}

void startMusic(GameState &form)
{
    form.menuSetting_PlayMusic.setEnabled(true);
    const bool playing = form.MMControl1 && form.MMControl1->Mode() == MultimediaControl::kModePlaying;
    form.menuSetting_PlayMusic_StartPlay.setVisible(!playing);
    form.menuSetting_PlayMusic_StopPlay.setVisible(playing);
    form.menuSetting_PlayMusic_osmira.setChecked(true);
    form.menuSetting_PlayMusic_HappyGM.setChecked(false);
    form.menuSetting_PlayMusic_Waltz.setChecked(false);
    form.window().menuSetting_PlayMusic_StartPlay_Click();
}

} // namespace

void ModuleContinue::cmdContinue_Click(GameState &form)
{
    ProgressModel &progress = form.ProgressBarMake;
    form.setMousePointer(GameState::kPointerHourglass);
    progress.setVisible(true);
    progress.setValue(10);

    // The whole file is read and checked before anything changes, so a
    // damaged one leaves the window exactly as it was.
    QString why;
    const auto saved = SaveFile::read(SaveFile::pathToRead(), &why);
    if (!saved) {
        MessageBox::critical(QStringLiteral("产生错误"), QStringLiteral("读取存档时出错！\r\n") + why);
        endContinue(form);
        return;
    }
    form.IsContinuedGame = -1;
    // The file's number arrives as its plain decimal text, which is also
    // what the bank's query takes.
    form.GetNumberOrder = saved->id;
    form.strSavedTime = saved->savedTime;
    form.strSavedDifficulty = saved->difficulty;
    form.SavedNumber = saved->number;
    form.SavedColor = saved->color;
    progress.setValue(30);
    progress.setValue(50);

    Solution solution {};
    try {
        form.bank.OpenSavedPuzzle(form.GetNumberOrder);
        progress.setValue(60);
        solution = solutionOf(form.bank.rsProblem, form.GetNumberOrder);
    } catch (const AdoError &error) {
        MessageBox::critical(
            QStringLiteral("产生错误"), QStringLiteral("连接题库时出错！") + error.description());
        endContinue(form);
        form.bank.CloseBank();
        return;
    }
    form.SolutionNumber = solution;

    progress.setValue(85);
    for (int i = 0; i < GameState::kCells; ++i)
        form.L(i).setEnabled(true);
    for (int i = 0; i < GameState::kCells; ++i) {
        const qint16 digit = form.SavedNumber[std::size_t(i)];
        form.L(i).setCaption(digit != 0 ? QString::number(digit) : QString());
    }
    for (int i = 0; i < GameState::kCells; ++i)
        form.L(i).setForeColor(form.SavedColor[std::size_t(i)]);

    progress.setValue(95);
    selectDifficulty(form, form.strSavedDifficulty);
    offerCommands(form);
    startMusic(form);

    progress.setValue(100);
    GameClock::start(form);
    progress.setValue(0);
    progress.setVisible(false);

    int filled = 0;
    for (int i = 0; i < GameState::kCells; ++i)
        if (!form.L(i).Caption().isEmpty())
            ++filled;
    const bool full = filled == GameState::kCells;
    Skin::setEnabled(form.cmdFinished, QStringLiteral("finish"), full);
    form.menuDo_Finished.setEnabled(full);
    form.setMousePointer(GameState::kPointerDefault);
}
