#include "BoardColors.h"
#include "Difficulty.h"
#include "GameHarness.h"
#include "ModuleContinue.h"
#include "ModuleSaveFiles.h"
#include "SaveFile.h"
#include "Skin.h"

#include <QFile>
#include <QRegularExpression>
#include <QtTest>

namespace {

// Puzzle 3 of the built bank, which the fixtures under save/ hold.
const char kGrid3[] = "471865932923174658856932174392741586147658329685329741239417865568293417714586293";

struct Board
{
    QStringList captions;
    QList<int> colors;
    std::array<qint16, 81> solution {};
    QString id;

    static Board of(GameState &form)
    {
        Board b;
        for (int i = 0; i < 81; ++i) {
            b.captions << form.L(i).Caption();
            b.colors << form.L(i).ForeColor();
        }
        b.solution = form.SolutionNumber;
        b.id = form.GetNumberOrder;
        return b;
    }
};

// Everything a refused Continue must leave as it was.
QStringList snapshot(GameState &form)
{
    QStringList s;
    for (const Control *c : form.controls()) {
        s << QStringLiteral("%1 %2 %3 %4 %5 %6 %7")
                 .arg(c->objectName(), c->Caption(), c->Picture())
                 .arg(c->Enabled())
                 .arg(c->Visible())
                 .arg(c->Value())
                 .arg(c->ForeColor());
    }
    for (int i = 0; i < 81; ++i) {
        const CellLabel &cell = form.L(i);
        s << QStringLiteral("L(%1) %2 %3 %4")
                 .arg(i)
                 .arg(cell.Caption())
                 .arg(cell.ForeColor())
                 .arg(cell.Enabled());
    }
    for (const qint16 digit : form.SolutionNumber)
        s << QString::number(digit);
    s << form.GetNumberOrder << form.Difficulty << QString::number(form.Timer1.isActive());
    return s;
}

// A window loaded on the save put in its folder before, continued by the
// handler (the button's sound aside).
GameState &continueSaved(GameHarness &game)
{
    game.load();
    ModuleContinue::cmdContinue_Click(game.state());
    return game.state();
}

// What a refused Continue shows: one error box that starts with `head`,
// the progress bar gone again, the normal pointer and the bank closed.
void checkRefused(GameHarness &game, const QString &head, const QList<int> &progressSeen)
{
    QCOMPARE(game.messages.count(), 1);
    const MessageBox::Request &shown = game.messages.last();
    QCOMPARE(shown.icon, MessageBox::Icon::Critical);
    QCOMPARE(shown.title, QStringLiteral("产生错误"));
    QVERIFY2(shown.text.startsWith(head) && shown.text.size() > head.size(), qPrintable(shown.text));
    QCOMPARE(game.progress, progressSeen);
    QVERIFY(!game.state().ProgressBarMake.Visible());
    QCOMPARE(game.state().MousePointer(), GameState::kPointerDefault);
    QCOMPARE(game.state().bank.rsProblem.State(), 0);
}

// Plays a game in a window of its own and saves it after ten minutes: the
// whole board solved when `full`, else some player cells filled, some
// empty and one found wrong by a check (red).
void playAndSave(bool full, Board *board, QByteArray *file)
{
    GameHarness game;
    game.startGame();
    GameState &form = game.state();
    game.tick(600);
    if (full) {
        game.solve();
    } else {
        const int wrong = game.solveWithOneWrong();
        game.click(QStringLiteral("cmdFinished"));
        QCOMPARE(form.L(wrong).ForeColor(), BoardColors::kWrong);
        const QList<int> player = game.playerCells();
        QVERIFY(player.size() > 4);
        for (int n = 1; n <= 3; ++n)
            game.enter(player.at(n), QLatin1Char('0'));
    }
    ModuleSaveFiles::cmdSave_Click(form);
    QCOMPARE(game.messages.last().text, QStringLiteral("存盘操作完成！"));
    *board = Board::of(form);
    *file = game.file(QStringLiteral("save"));
}

} // namespace

class TestContinue : public QObject
{
    Q_OBJECT

private slots:
    void restoresTheSavedGame()
    {
        Board saved;
        QByteArray file;
        playAndSave(false, &saved, &file);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(file.contains("\r\n00:10:00\r\n"));
        QVERIFY(saved.colors.contains(BoardColors::kWrong));
        QVERIFY(saved.captions.contains(QString()));

        GameHarness game;
        QVERIFY(game.folder().put(QStringLiteral("save"), file));
        GameState &form = game.load().state();
        QVERIFY(form.cmdContinue.Enabled());
        game.sound.clear();
        ModuleContinue::cmdContinue_Click(form);

        QCOMPARE(game.messages.count(), 0);
        QCOMPARE(game.progress, (QList<int> { 10, 30, 50, 60, 85, 95, 100, 0 }));
        QVERIFY(!form.ProgressBarMake.Visible());
        QCOMPARE(form.MousePointer(), GameState::kPointerDefault);
        const Board now = Board::of(form);
        QCOMPARE(now.captions, saved.captions);
        QCOMPARE(now.colors, saved.colors);
        QCOMPARE(now.solution, saved.solution);
        QCOMPARE(now.id, saved.id);
        for (int i = 0; i < 81; ++i)
            QVERIFY(form.L(i).Enabled());
        QCOMPARE(form.IsContinuedGame, qint16(-1));
        QCOMPARE(form.strSavedTime, QStringLiteral("00:10:00"));
        QCOMPARE(form.strSavedDifficulty, QStringLiteral("Medium"));

        QVERIFY(form.optMedium.Value());
        QCOMPARE(form.Difficulty, QStringLiteral("medium"));
        for (const Difficulty::Level &level : Difficulty::levels())
            QVERIFY(!(form.*level.option).Enabled());
        for (const Control *c :
            { &form.Frame1, &form.menuDo_Difficoulty, &form.menuGame_Start, &form.menuGame_Continue })
            QVERIFY2(!c->Enabled(), qPrintable(c->objectName()));
        for (const Control *c : { &form.menuGame_Save, &form.menuGame_Clear, &form.menuGame_Print,
                 &form.menuGame_SavePicture, &form.menuGame_CopyToClipboard, &form.menuSetting_PlayMusic })
            QVERIFY2(c->Enabled(), qPrintable(c->objectName()));
        QVERIFY(!form.cmdStart.Enabled() && !form.cmdContinue.Enabled() && form.cmdSave.Enabled());
        QCOMPARE(form.cmdStart.Picture(), Skin::literal(QStringLiteral("start3")));
        QCOMPARE(form.cmdContinue.Picture(), Skin::literal(QStringLiteral("continue3")));
        QCOMPARE(form.cmdSave.Picture(), Skin::literal(QStringLiteral("save1")));
        // Next is not offered by Continue.
        QVERIFY(!form.cmdNext.Enabled() && !form.menuDo_Next.Enabled());
        // Empty cells remain, so there is nothing to check yet.
        QVERIFY(!form.cmdFinished.Enabled() && !form.menuDo_Finished.Enabled());
        QCOMPARE(form.cmdFinished.Picture(), Skin::literal(QStringLiteral("finish3")));

        QVERIFY(form.menuSetting_PlayMusic_osmira.Checked());
        QVERIFY(!form.menuSetting_PlayMusic_HappyGM.Checked() && !form.menuSetting_PlayMusic_Waltz.Checked());
        QVERIFY(
            form.menuSetting_PlayMusic_StopPlay.Visible() && !form.menuSetting_PlayMusic_StartPlay.Visible());
        QCOMPARE(game.sound.history.mid(game.sound.history.size() - 2),
            (QStringList {
                QStringLiteral("open bkmusic/osmira.mid"), QStringLiteral("play bkmusic/osmira.mid") }));

        QVERIFY(form.Timer1.isActive());
        QVERIFY(form.labelTime.Visible());
        QCOMPARE(form.labelTime.Caption(), QStringLiteral("00:10:00"));
        game.tick(1);
        QCOMPARE(form.labelTime.Caption(), QStringLiteral("00:10:01"));

        // Play goes on: the red digit is mended and the empty cells filled.
        for (int i = 0; i < 81; ++i) {
            if (form.L(i).ForeColor() != 0
                && form.L(i).Caption() != QString::number(form.SolutionNumber[std::size_t(i)]))
                game.enter(i, QChar('0' + form.SolutionNumber[std::size_t(i)]));
        }
        QVERIFY(form.cmdFinished.Enabled());
    }

    void fullBoardCanBeCheckedAtOnce()
    {
        Board saved;
        QByteArray file;
        playAndSave(true, &saved, &file);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(!saved.captions.contains(QString()));

        GameHarness game;
        QVERIFY(game.folder().put(QStringLiteral("save"), file));
        GameState &form = continueSaved(game);
        QCOMPARE(game.messages.count(), 0);
        QCOMPARE(Board::of(form).captions, saved.captions);
        QVERIFY(form.cmdFinished.Enabled());
        QCOMPARE(form.cmdFinished.Picture(), Skin::literal(QStringLiteral("finish1")));
        QVERIFY(form.menuDo_Finished.Enabled());
        QVERIFY(!game.playerCells().isEmpty());
        for (const int i : game.playerCells())
            QCOMPARE(form.L(i).ForeColor(), BoardColors::kPlayer);
    }

    void savedDifficultyIsSelected_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("difficulty");
        // The window loads with medium selected; an unknown word keeps it.
        QTest::newRow("Easy") << "Easy"
                              << "optEasy"
                              << "easy";
        QTest::newRow("Medium") << "Medium"
                                << "optMedium"
                                << "medium";
        QTest::newRow("Hard") << "Hard"
                              << "optHard"
                              << "hard";
        QTest::newRow("lower case") << "hard"
                                    << "optMedium"
                                    << "medium";
        QTest::newRow("empty") << ""
                               << "optMedium"
                               << "medium";
    }

    void savedDifficultyIsSelected()
    {
        QFETCH(QString, word);
        QFETCH(QString, option);
        QFETCH(QString, difficulty);
        GameHarness game;
        QString why;
        auto contents = SaveFile::read(ProgramFolder::fixture(QStringLiteral("save/valid.save")), &why);
        QVERIFY2(contents, qPrintable(why));
        contents->difficulty = word;
        QVERIFY(
            SaveFile::write(game.folder().file(QStringLiteral("save")), *contents, QDate(2026, 1, 1), &why));
        GameState &form = continueSaved(game);

        QCOMPARE(game.messages.count(), 0);
        QCOMPARE(form.strSavedDifficulty, word);
        QCOMPARE(form.Difficulty, difficulty);
        for (const Difficulty::Level &level : Difficulty::levels()) {
            const Control &c = form.*level.option;
            QCOMPARE(c.Value(), c.objectName() == option);
            QCOMPARE((form.*level.menuItem).Checked(), difficulty == level.wordText());
            QVERIFY(!c.Enabled());
        }
        QVERIFY(!form.Frame1.Enabled() && !form.menuDo_Difficoulty.Enabled());
        // Selecting the difficulty did not blank the saved board anew.
        for (int i = 0; i < 81; ++i) {
            const qint16 n = contents->number[std::size_t(i)];
            QCOMPARE(form.L(i).Caption(), n ? QString::number(n) : QString());
            QCOMPARE(form.L(i).ForeColor(), contents->color[std::size_t(i)]);
        }
    }

    void readableFixturesContinue_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("CR LF") << "valid.save";
        QTest::newRow("LF only") << "lf-only.save";
        QTest::newRow("no final line break") << "no-final-break.save";
        QTest::newRow("no date line") << "without-date.save";
    }

    void readableFixturesContinue()
    {
        QFETCH(QString, name);
        GameHarness game;
        QVERIFY(game.folder().putFixture(QStringLiteral("save"), QStringLiteral("save/") + name));
        GameState &form = continueSaved(game);
        QCOMPARE(game.messages.count(), 0);
        QCOMPARE(form.GetNumberOrder, QStringLiteral("3"));
        // The solution comes from the bank, not from the file.
        for (int i = 0; i < 81; ++i)
            QCOMPARE(form.SolutionNumber[std::size_t(i)], qint16(kGrid3[i] - '0'));
        QCOMPARE(form.L(40).ForeColor(), BoardColors::kWrong);
        QCOMPARE(form.L(40).Caption(), QString::number((kGrid3[40] - '0') % 9 + 1));
        QCOMPARE(form.L(1).Caption(), QString());
        QCOMPARE(form.L(1).ForeColor(), BoardColors::kPlayer);
        QCOMPARE(form.L(0).Caption(), QStringLiteral("4"));
        QCOMPARE(form.L(0).ForeColor(), 0);
        game.tick(2);
        QCOMPARE(form.labelTime.Caption(), QStringLiteral("00:10:02"));
    }

    void continuedClockCountsOnFromTheSavedTimeInRealTime()
    {
        GameHarness game;
        game.useRealClock();
        QVERIFY(game.folder().putFixture(QStringLiteral("save"), QStringLiteral("save/valid.save")));
        GameState &form = game.load().state();
        QStringList ticks;
        connect(&form.Timer1, &QTimer::timeout, this, [&] { ticks << form.labelTime.Caption(); });
        game.click(QStringLiteral("cmdContinue"));
        QCOMPARE(form.labelTime.Caption(), QStringLiteral("00:10:00"));
        QTRY_COMPARE_WITH_TIMEOUT(ticks.size(), 3, 5000);
        QCOMPARE(ticks,
            (QStringList {
                QStringLiteral("00:10:01"), QStringLiteral("00:10:02"), QStringLiteral("00:10:03") }));
    }

    void finishingAContinuedGameKeepsThisRun()
    {
        GameHarness game;
        QVERIFY(game.folder().putFixture(QStringLiteral("save"), QStringLiteral("save/valid.save")));
        GameState &form = game.load().state();
        // Changed during this run, so far only in the menu.
        QVERIFY(form.menuSetting_ShowCrossHint.Checked());
        game.trigger(QStringLiteral("menuSetting_ShowCrossHint"));
        game.trigger(QStringLiteral("menuSetting_FontBold"));
        game.tick(30);
        game.click(QStringLiteral("cmdContinue"));
        game.tick(60);
        game.solve();
        game.click(QStringLiteral("cmdFinished"));

        QCOMPARE(game.messages.count(), 1);
        // Back in the start state, with this run's choices and time kept.
        QVERIFY(form.cmdStart.Enabled());
        QVERIFY(!form.menuSetting_ShowCrossHint.Checked());
        QVERIFY(form.menuSetting_FontBold.Checked());
        QVERIFY(form.L(0).FontBold());
        QCOMPARE(form.strTotalTime.toString(), QStringLiteral("00:01:30"));
        QVERIFY(game.file(QStringLiteral("grade")).contains("[TotalTime]\r\n00:01:30\r\n"));
        // What is played from here on counts from now.
        game.tick(10);
        game.form().close();
        QVERIFY(game.file(QStringLiteral("grade")).contains("[TotalTime]\r\n00:01:40\r\n"));
    }

    void unreadableSaveChangesNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing") << "";
        QTest::newRow("empty") << "empty.save";
        QTest::newRow("40 lines") << "short.save";
        QTest::newRow("86 lines") << "extra-line.save";
        QTest::newRow("10,000 lines") << "ten-thousand-lines.save";
        QTest::newRow("letters for the number") << "letters-in-id.save";
        QTest::newRow("number 0") << "zero-id.save";
        QTest::newRow("time 25:99:00") << "bad-time.save";
        QTest::newRow("letter for a digit") << "letters-in-cell.save";
        QTest::newRow("digit above 9") << "digit-above-nine.save";
        QTest::newRow("missing comma") << "missing-comma.save";
        QTest::newRow("colour 16711680") << "colour-blue.save";
        QTest::newRow("colour 65280") << "colour-green.save";
        QTest::newRow("binary bytes in a cell") << "binary-in-cell.save";
        QTest::newRow("random bytes") << "binary.save";
    }

    void unreadableSaveChangesNothing()
    {
        QFETCH(QString, name);
        GameHarness game;
        if (!name.isEmpty())
            QVERIFY(game.folder().putFixture(QStringLiteral("save"), QStringLiteral("save/") + name));
        GameState &form = game.load().state();
        const QStringList before = snapshot(form);
        ModuleContinue::cmdContinue_Click(form);

        checkRefused(game, QStringLiteral("读取存档时出错！\r\n"), { 10, 0 });
        QCOMPARE(snapshot(form), before);
        QCOMPARE(form.IsContinuedGame, qint16(0));
        QVERIFY(form.strSavedTime.isEmpty() && form.strSavedDifficulty.isEmpty());
        QCOMPARE(form.SavedNumber, (std::array<qint16, 81> {}));
        QCOMPARE(form.SavedColor, (std::array<qint32, 81> {}));
    }

    void bankWithoutTheSavedPuzzle_data()
    {
        QTest::addColumn<QString>("bank");
        QTest::addColumn<QList<int>>("progressSeen");
        // What the player is told after the prefix, in his language.
        QTest::addColumn<QString>("cause");
        const QList<int> noRecord { 10, 30, 50, 0 };
        const QString noCurrent = QStringLiteral("当前的记录");
        QTest::newRow("puzzle finished") << "finished" << noRecord << noCurrent;
        QTest::newRow("puzzle not in the bank") << "other ids" << noRecord << noCurrent;
        QTest::newRow("bank missing") << "missing" << noRecord << "找不到题库文件";
        QTest::newRow("text posing as a bank") << "text" << noRecord << "不是题库";
        QTest::newRow("record with a 0 in its grid")
            << "damaged" << QList<int> { 10, 30, 50, 60, 0 } << "题库中第 3 题的记录已损坏：第 2 行第 9 列";
    }

    void bankWithoutTheSavedPuzzle()
    {
        QFETCH(QString, bank);
        QFETCH(QList<int>, progressSeen);
        QFETCH(QString, cause);
        GameHarness game;
        const ProgramFolder &folder = game.folder();
        QVERIFY(QFile::remove(folder.bankFile()));
        SudokuGrid::Cells grid {};
        for (int i = 0; i < 81; ++i)
            grid[std::size_t(i)] = kGrid3[i] - '0';
        if (bank == QLatin1String("finished")) {
            folder.putBank({ { QStringLiteral("3"), QStringLiteral("true"), grid },
                { QStringLiteral("4"), QStringLiteral("false"), grid } });
        } else if (bank == QLatin1String("other ids")) {
            folder.putBank({ { QStringLiteral("33"), QStringLiteral("false"), grid },
                { QStringLiteral("13"), QStringLiteral("false"), grid } });
        } else if (bank == QLatin1String("damaged")) {
            SudokuGrid::Cells damaged = grid;
            damaged[17] = 0;
            folder.putBank({ { QStringLiteral("3"), QStringLiteral("false"), damaged } });
        } else if (bank == QLatin1String("text")) {
            QVERIFY(folder.putFixture(
                QStringLiteral("problem/problem.dbs"), QStringLiteral("bank/text-posing-as-bank.dbs")));
        }
        QVERIFY(folder.putFixture(QStringLiteral("save"), QStringLiteral("save/valid.save")));
        GameState &form = game.load().state();
        const QStringList before = snapshot(form);
        ModuleContinue::cmdContinue_Click(form);

        checkRefused(game, QStringLiteral("连接题库时出错！"), progressSeen);
        const QString shown = game.messages.last().text;
        QVERIFY2(shown.contains(cause), qPrintable(shown));
        // No English words, apart from a quoted file name.
        const QString words = QString(shown).remove(QRegularExpression(QStringLiteral("“[^”]*”")));
        QVERIFY2(!words.contains(QRegularExpression(QStringLiteral("[A-Za-z]{4}"))), qPrintable(shown));
        // The board, the commands and the menus are as they were, with
        // Continue still offered; what was read from the file is kept.
        QStringList after = snapshot(form);
        const int idLine = int(after.size()) - 3;
        QCOMPARE(after.at(idLine), QStringLiteral("3"));
        after[idLine] = before.at(idLine);
        QCOMPARE(after, before);
        QVERIFY(form.cmdContinue.Enabled() && form.menuGame_Continue.Enabled());
        QCOMPARE(form.IsContinuedGame, qint16(-1));
        QCOMPARE(form.strSavedTime, QStringLiteral("00:10:00"));
        QCOMPARE(form.strSavedDifficulty, QStringLiteral("Medium"));
        QCOMPARE(form.SavedColor[40], BoardColors::kWrong);
        QCOMPARE(form.SavedNumber[0], qint16(4));
    }

    void continuingTwice()
    {
        QByteArray file;
        {
            GameHarness game;
            QVERIFY(game.folder().putFixture(QStringLiteral("save"), QStringLiteral("save/valid.save")));
            GameState &form = continueSaved(game);
            const Board first = Board::of(form);
            game.tick(30);
            game.enter(1, QChar(kGrid3[1]));
            QCOMPARE(form.L(1).Caption(), QString(QChar(kGrid3[1])));

            // Again on the same window: the saved game comes back as saved,
            // with the bank reopened on its puzzle and the clock going on
            // from the saved time.
            game.progress.clear();
            ModuleContinue::cmdContinue_Click(form);
            QCOMPARE(game.messages.count(), 0);
            QCOMPARE(game.progress, (QList<int> { 10, 30, 50, 60, 85, 95, 100, 0 }));
            const Board second = Board::of(form);
            QCOMPARE(second.captions, first.captions);
            QCOMPARE(second.colors, first.colors);
            QCOMPARE(second.solution, first.solution);
            QCOMPARE(form.bank.rsProblem.State(), 1);
            game.tick(1);
            QCOMPARE(form.labelTime.Caption(), QStringLiteral("00:10:01"));

            game.enter(1, QChar(kGrid3[1]));
            game.messages.answerNext(MessageBox::Answer::Yes);
            ModuleSaveFiles::cmdSave_Click(form);
            QCOMPARE(game.messages.last().text, QStringLiteral("存盘操作完成！"));
            file = game.file(QStringLiteral("save"));
            QVERIFY(file.contains("\r\n00:10:01\r\n"));
        }

        // Saved over and continued in a fresh window, the move is there.
        GameHarness fresh;
        QVERIFY(fresh.folder().put(QStringLiteral("save"), file));
        continueSaved(fresh);
        QCOMPARE(fresh.messages.count(), 0);
        QCOMPARE(fresh.state().L(1).Caption(), QString(QChar(kGrid3[1])));
        QCOMPARE(fresh.state().L(1).ForeColor(), BoardColors::kPlayer);
        QCOMPARE(fresh.state().strSavedTime, QStringLiteral("00:10:01"));
    }
};

QTEST_MAIN(TestContinue)
#include "tst_continue.moc"
