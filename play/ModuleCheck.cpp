#include "ModuleCheck.h"

#include "BoardColors.h"
#include "Difficulty.h"
#include "GameClock.h"
#include "GameCommands.h"
#include "GameState.h"
#include "MessageBox.h"
#include "ModuleExit.h"
#include "ModuleNewGame.h"
#include "ModuleSaveFiles.h"
#include "ModuleSound.h"
#include "Skin.h"

namespace {

const QString kErrorTitle = QStringLiteral("出错");
const QString kTypeMismatch = QStringLiteral("类型不匹配");

bool isRecord(const QString &time, const QString &fastest)
{
    return time < fastest || fastest == QLatin1String("00:00:00");
}

} // namespace

void ModuleCheck::menuDo_Finished_Click(GameState &form)
{
    cmdFinished_Click(form);
}

void ModuleCheck::cmdFinished_Click(GameState &form)
{
    int playerColor = 0;
    if (!GameState::colorValue(form.lEmptyColorValue, &playerColor)) {
        MessageBox::critical(kErrorTitle, kTypeMismatch);
        return;
    }
    int count = 0;
    for (int i = 0; i < GameState::kCells; ++i) {
        CellLabel &cell = form.L(i);
        const int digit = cell.digit();
        if (digit == 0) {
            // A cell without a digit cannot be compared; what was marked
            // so far stays marked.
            MessageBox::critical(kErrorTitle, kTypeMismatch);
            return;
        }
        if (digit == form.SolutionNumber[std::size_t(i)]) {
            ++count;
            cell.markRight(playerColor);
        } else {
            cell.markWrong();
            Skin::setEnabled(form.cmdFinished, QStringLiteral("finish"), false);
        }
    }
    if (count == GameState::kCells) {
        correctBoard(form);
        return;
    }
    ModuleSound::PlayEffect(form, QStringLiteral("\\bkmusic\\D_wrong.wav"));
    ModuleSound::PlayEffect(form, QStringLiteral("\\bkmusic\\D_oohs.wav"));
}

void ModuleCheck::correctBoard(GameState &form)
{
    const bool running = form.Timer1.isActive();
    form.Timer1.stop();
    // The clock last showed the time at its latest tick; the game ends now.
    if (running)
        GameClock::show(form);
    form.strLastFinishedTime = form.labelTime.Caption();
    const QString time = form.labelTime.Caption();
    const QString fastest = form.strFastestTime.toString();
    const bool record = isRecord(time, fastest);
    const QString head = QStringLiteral("恭喜你，完全正确\r\n\r\n耗时：") + time + QStringLiteral("\r\n");
    if (record) {
        MessageBox::information(QStringLiteral("完成"), head + QStringLiteral("打破了最快用时纪录\r\n "));
        ModuleSound::PlayEffect(form, QStringLiteral("\\bkmusic\\D_great.wav"));
    } else {
        // A time equal to the record is a plain finish, announced as such.
        MessageBox::information(QStringLiteral("完成"), head + QStringLiteral(" "));
        ModuleSound::PlayEffect(form, QStringLiteral("\\bkmusic\\D_finished.wav"));
    }
    for (int k = 0; k < 9; ++k)
        form.Label1(k).setBackColor(BoardColors::kPaper);

    bool countOk = false;
    const qlonglong finished = form.strFinishedCount.toString().trimmed().toLongLong(&countOk);
    if (!countOk) {
        MessageBox::critical(kErrorTitle, kTypeMismatch);
    } else {
        form.strFinishedCount = QVariant::fromValue(finished + 1);
        if (record)
            form.strFastestTime = time;
        QString error;
        if (!ModuleSaveFiles::SaveGrade(form, &error))
            MessageBox::critical(kErrorTitle, error);
    }

    // Back to the state without a running game, even if the statistics
    // could not be kept: a stopped clock over a solved board helps no one.
    Skin::setEnabled(form.cmdStart, QStringLiteral("start"), true);
    form.menuGame_Start.setEnabled(true);
    GameCommands::withdrawPlay(form);
    Difficulty::enableChoice(form, true);
    for (int i = 0; i < GameState::kCells; ++i) {
        form.L(i).setDigit(0);
        form.L(i).setEnabled(true);
    }
    form.labelTime.setCaption(QStringLiteral("00:00:00"));
    form.labelTime.setVisible(false);

    if (form.IsContinuedGame) {
        // The load reads the settings and the statistics files afresh and
        // counts playing time from now: what this run changed and played so
        // far goes into them first.
        ModuleExit::keepPreferences(form);
        ModuleExit::addRunTime(form);
        form.window().Form_Load();
        return;
    }
    ModuleNewGame::cmdNext_Click(form);
    // The next puzzle is on the board and playable: its clock runs, or its
    // finish would read 00:00:00 and count as a record.
    if (form.bank.rsProblem.State() == 1)
        GameClock::start(form);
}
