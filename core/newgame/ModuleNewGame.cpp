#include "ModuleNewGame.h"

#include "AdoError.h"
#include "BankErrorText.h"
#include "Clock.h"
#include "GameClock.h"
#include "GameCommands.h"
#include "GameState.h"
#include "MessageBox.h"
#include "ModuleEmptySetting.h"
#include "MusicMenu.h"
#include "RandomSource.h"
#include "Skin.h"

#include <array>
#include <optional>

namespace {

struct Puzzle
{
    QString id;
    ModuleNewGame::Solution digits {};
};

// Reads the current record whole before anything on the board changes, so
// a record that cannot be laid out leaves the board as it was. A closed or
// empty result gives nothing; a broken record is reported. The bank was
// reached by then, so the report says the puzzle could not be read rather
// than that the bank could not be connected to.
std::optional<Puzzle> currentPuzzle(GameState &form)
{
    AdoRecordset &rs = form.bank.rsProblem;
    if (rs.State() != 1 || rs.Bof() || rs.Eof())
        return std::nullopt;
    try {
        Puzzle puzzle;
        puzzle.id = rs.Fields(QStringLiteral("ID")).toString();
        puzzle.digits = ModuleNewGame::solutionOf(rs, puzzle.id);
        return puzzle;
    } catch (const AdoError &error) {
        MessageBox::critical(
            QStringLiteral("产生错误"), QStringLiteral("读取题目时出错！") + error.description());
        return std::nullopt;
    }
}

void layOut(GameState &form, const Puzzle &puzzle)
{
    for (int i = 0; i < GameState::kCells; ++i) {
        form.SolutionNumber[std::size_t(i)] = puzzle.digits[std::size_t(i)];
        form.L(i).setGiven(puzzle.digits[std::size_t(i)]);
    }
}

void endStart(GameState &form)
{
    form.ProgressBarMake.setValue(0);
    form.ProgressBarMake.setVisible(false);
    form.setMousePointer(GameState::kPointerDefault);
}

} // namespace

ModuleNewGame::Solution ModuleNewGame::solutionOf(const AdoRecordset &rs, const QString &id)
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

void ModuleNewGame::attach(GameState &form)
{
    for (const Difficulty::Level &level : Difficulty::levels()) {
        Control *option = &(form.*level.option);
        QObject::connect(option, &Control::click, option, [&form, &level] { opt_Click(form, level); });
        // Option buttons exclude each other.
        QObject::connect(option, &Control::changed, option, [&form, &level, option] {
            if (option->Value())
                Difficulty::deselectOthers(form, level);
        });
    }
}

void ModuleNewGame::cmdStart_Click(GameState &form)
{
    ProgressModel &progress = form.ProgressBarMake;
    progress.setValue(5);
    form.IsContinuedGame = 0;
    RandomSource::randomizeFromClock();
    form.setMousePointer(GameState::kPointerHourglass);
    progress.setVisible(true);
    progress.setValue(15);
    progress.setValue(25);
    form.bank.GetNumber();
    progress.setValue(35);

    AdoRecordset &rs = form.bank.rsProblem;
    if (rs.State() != 1) {
        // The draw failed and has said so; no game starts.
        endStart(form);
        return;
    }
    if (rs.RecordCount() <= 0) {
        MessageBox::information(
            QStringLiteral("完成"), QStringLiteral("题库中没有相应级别的题目\r\n试试其它难度吧！"));
        endStart(form);
        form.bank.CloseBank();
        return;
    }
    if (rs.Bof() || rs.Eof()) {
        MessageBox::information(QStringLiteral("完成"), QStringLiteral("所有题目都已经做过了！"));
        endStart(form);
        form.bank.CloseBank();
        return;
    }
    rs.MoveFirst();
    const auto puzzle = currentPuzzle(form);
    if (!puzzle) {
        endStart(form);
        form.bank.CloseBank();
        return;
    }
    form.GetNumberOrder = puzzle->id;
    progress.setValue(45);
    layOut(form, *puzzle);
    progress.setValue(55);
    ModuleEmptySetting::EmptySetting(form);
    progress.setValue(70);
    progress.setValue(85);
    for (int i = 0; i < GameState::kCells; ++i)
        form.L(i).setEnabled(true);

    GameCommands::offerForGame(form);
    Skin::setEnabled(form.cmdNext, QStringLiteral("next"), true);
    form.menuDo_Next.setEnabled(true);
    MusicMenu::startForGame(form);

    progress.setValue(100);
    GameClock::start(form);
    endStart(form);
}

void ModuleNewGame::cmdNext_Click(GameState &form)
{
    form.setMousePointer(GameState::kPointerHourglass);
    form.bank.GetNumber();
    const auto puzzle = currentPuzzle(form);
    if (!puzzle) {
        // No usable draw: the puzzle on the board stays.
        form.setMousePointer(GameState::kPointerDefault);
        return;
    }
    form.GetNumberOrder = puzzle->id;
    layOut(form, *puzzle);
    ModuleEmptySetting::EmptySetting(form);
    GameClock::restart(form);
    form.setMousePointer(GameState::kPointerDefault);
}

void ModuleNewGame::opt_Click(GameState &form, const Difficulty::Level &level)
{
    form.setMousePointer(GameState::kPointerHourglass);
    Difficulty::checkMenuItem(form, level);
    if ((form.*level.option).Value())
        form.Difficulty = level.wordText();
    if (form.cmdStart.Enabled()) {
        form.setMousePointer(GameState::kPointerDefault);
        return;
    }
    // A game runs: the same puzzle, blanked anew for the new level.
    const auto puzzle = currentPuzzle(form);
    if (!puzzle) {
        form.setMousePointer(GameState::kPointerDefault);
        return;
    }
    layOut(form, *puzzle);
    ModuleEmptySetting::EmptySetting(form);
    GameClock::restart(form);
    Skin::setEnabled(form.cmdFinished, QStringLiteral("finish"), false);
    form.setMousePointer(GameState::kPointerDefault);
}

void ModuleNewGame::menuDo_Difficoulty_Click(GameState &form, const Difficulty::Level &level)
{
    Difficulty::deselectOthers(form, level);
    (form.*level.option).setValue(true);
    Difficulty::checkMenuItem(form, level);
    opt_Click(form, level);
}
