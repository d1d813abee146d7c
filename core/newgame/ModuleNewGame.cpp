#include "ModuleNewGame.h"

#include "AdoError.h"
#include "BankErrorText.h"
#include "Clock.h"
#include "GameClock.h"
#include "GameState.h"
#include "MessageBox.h"
#include "ModuleEmptySetting.h"
#include "MultimediaControl.h"
#include "RandomSource.h"
#include "Skin.h"

#include <array>
#include <optional>

namespace {

struct Puzzle
{
    QString id;
    std::array<qint16, GameState::kCells> digits {};
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
        for (int i = 0; i < GameState::kCells; ++i) {
            bool ok = false;
            const int digit = rs.Fields(QStringLiteral("l(%1)").arg(i)).toString().trimmed().toInt(&ok);
            if (!ok || digit < 1 || digit > 9)
                throw AdoError(BankErrorText::damagedRecord(puzzle.id, i));
            puzzle.digits[std::size_t(i)] = qint16(digit);
        }
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
        form.L(i).setCaption(QString::number(puzzle.digits[std::size_t(i)]));
        form.L(i).setForeColor(0);
    }
}

void endStart(GameState &form)
{
    form.ProgressBarMake.setValue(0);
    form.ProgressBarMake.setVisible(false);
    form.setMousePointer(GameState::kPointerDefault);
}

} // namespace

void ModuleNewGame::attach(GameState &form)
{
    QObject::connect(&form.optEasy, &Control::click, &form.optEasy, [&form] { optEasy_Click(form); });
    QObject::connect(&form.optMedium, &Control::click, &form.optMedium, [&form] { optMedium_Click(form); });
    QObject::connect(&form.optHard, &Control::click, &form.optHard, [&form] { optHard_Click(form); });
    // Option buttons exclude each other.
    for (Control *option : { &form.optEasy, &form.optMedium, &form.optHard }) {
        QObject::connect(option, &Control::changed, option, [&form, option] {
            if (!option->Value())
                return;
            for (Control *other : { &form.optEasy, &form.optMedium, &form.optHard })
                if (other != option)
                    other->setValue(false);
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

    Skin::setEnabled(form.cmdStart, QStringLiteral("start"), false);
    Skin::setEnabled(form.cmdContinue, QStringLiteral("continue"), false);
    Skin::setEnabled(form.cmdSave, QStringLiteral("save"), true);
    Skin::setEnabled(form.cmdNext, QStringLiteral("next"), true);

    form.menuGame_Start.setEnabled(false);
    form.menuGame_Continue.setEnabled(false);
    for (Control *item :
        { &form.menuGame_Save, &form.menuGame_Clear, &form.menuGame_Print, &form.menuGame_SavePicture,
            &form.menuGame_CopyToClipboard, &form.menuDo_Next, &form.menuSetting_PlayMusic })
        item->setEnabled(true);

    const bool playing = form.MMControl1 && form.MMControl1->Mode() == MultimediaControl::kModePlaying;
    form.menuSetting_PlayMusic_StartPlay.setVisible(!playing);
    form.menuSetting_PlayMusic_StopPlay.setVisible(playing);
    form.menuSetting_PlayMusic_osmira.setChecked(true);
    form.menuSetting_PlayMusic_HappyGM.setChecked(false);
    form.menuSetting_PlayMusic_Waltz.setChecked(false);
    form.window().menuSetting_PlayMusic_StartPlay_Click();

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

void ModuleNewGame::difficultyClick(GameState &form, Control &option, const QString &word)
{
    form.setMousePointer(GameState::kPointerHourglass);
    form.menuDo_Difficoulty_Easy.setChecked(word == QLatin1String("easy"));
    form.menuDo_Difficoulty_Medium.setChecked(word == QLatin1String("medium"));
    form.menuDo_Difficoulty_Hard.setChecked(word == QLatin1String("hard"));
    if (option.Value())
        form.Difficulty = word;
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

void ModuleNewGame::optEasy_Click(GameState &form)
{
    difficultyClick(form, form.optEasy, QStringLiteral("easy"));
}

void ModuleNewGame::optMedium_Click(GameState &form)
{
    difficultyClick(form, form.optMedium, QStringLiteral("medium"));
}

void ModuleNewGame::optHard_Click(GameState &form)
{
    difficultyClick(form, form.optHard, QStringLiteral("hard"));
}

void ModuleNewGame::menuDifficultyClick(GameState &form, Control &option, Control &item)
{
    for (Control *other : { &form.optEasy, &form.optMedium, &form.optHard })
        if (other != &option)
            other->setValue(false);
    option.setValue(true);
    for (Control *other :
        { &form.menuDo_Difficoulty_Easy, &form.menuDo_Difficoulty_Medium, &form.menuDo_Difficoulty_Hard })
        other->setChecked(other == &item);
    if (&option == &form.optEasy)
        optEasy_Click(form);
    else if (&option == &form.optMedium)
        optMedium_Click(form);
    else
        optHard_Click(form);
}

void ModuleNewGame::menuDo_Difficoulty_Easy_Click(GameState &form)
{
    menuDifficultyClick(form, form.optEasy, form.menuDo_Difficoulty_Easy);
}

void ModuleNewGame::menuDo_Difficoulty_Medium_Click(GameState &form)
{
    menuDifficultyClick(form, form.optMedium, form.menuDo_Difficoulty_Medium);
}

void ModuleNewGame::menuDo_Difficoulty_Hard_Click(GameState &form)
{
    menuDifficultyClick(form, form.optHard, form.menuDo_Difficoulty_Hard);
}
