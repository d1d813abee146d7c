#include "ModuleContinue.h"

#include "AdoError.h"
#include "Difficulty.h"
#include "GameClock.h"
#include "GameCommands.h"
#include "GameState.h"
#include "MessageBox.h"
#include "ModuleNewGame.h"
#include "MusicMenu.h"
#include "SaveFile.h"

namespace {

void endContinue(GameState &form)
{
    form.ProgressBarMake.setValue(0);
    form.ProgressBarMake.setVisible(false);
    form.setMousePointer(GameState::kPointerDefault);
}

void selectDifficulty(GameState &form, const QString &savedWord)
{
    // Start is still enabled here, so the option's handler only records
    // the difficulty and the menu's check marks; it blanks nothing.
    if (const Difficulty::Level *level = Difficulty::withSavedWord(savedWord))
        (form.*level->option).setValue(true);
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

    ModuleNewGame::Solution solution {};
    try {
        form.bank.OpenSavedPuzzle(form.GetNumberOrder);
        progress.setValue(60);
        // A broken record leaves the last puzzle's solution in place.
        solution = ModuleNewGame::solutionOf(form.bank.rsProblem, form.GetNumberOrder);
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
    for (int i = 0; i < GameState::kCells; ++i)
        form.L(i).setDigit(form.SavedNumber[std::size_t(i)]);
    for (int i = 0; i < GameState::kCells; ++i)
        form.L(i).setForeColor(form.SavedColor[std::size_t(i)]);

    progress.setValue(95);
    selectDifficulty(form, form.strSavedDifficulty);
    GameCommands::offerForGame(form);
    // A continued game keeps the difficulty it was saved with.
    Difficulty::enableChoice(form, false);
    MusicMenu::startForGame(form);

    progress.setValue(100);
    GameClock::start(form);
    progress.setValue(0);
    progress.setVisible(false);

    GameCommands::offerFinish(form);
    form.setMousePointer(GameState::kPointerDefault);
}
