#include "BankBuilder.h"
#include "BoardColors.h"
#include "Clock.h"
#include "GameHarness.h"
#include "RandomSource.h"
#include "Skin.h"
#include "TimeText.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QtTest>

namespace {

const QByteArray kRecordMessageHead = "恭喜你，完全正确\r\n\r\n耗时：";

QByteArray grade(const char *last, const char *fastest, const char *total, const char *count)
{
    return QByteArray("[LastFinishedTime]\r\n") + last + "\r\n\r\n[FastestTime]\r\n" + fastest
        + "\r\n\r\n[TotalTime]\r\n" + total + "\r\n\r\n[FinishedCount]\r\n" + count
        + "\r\n\r\n[Grade]\r\n\xA1\xEF\r\n";
}

} // namespace

class TestGame : public QObject
{
    Q_OBJECT

private slots:
    void startLaysOutAPuzzleAndStartsTheClock()
    {
        GameHarness game;
        FormMain &form = game.startGame();

        QCOMPARE(game.progress, (QList<int> { 5, 15, 25, 35, 45, 55, 70, 85, 100, 0 }));
        QVERIFY(!form.state().ProgressBarMake.Visible());
        QCOMPARE(form.state().MousePointer(), GameState::kPointerDefault);
        QCOMPARE(game.messages.count(), 0);
        const int id = form.state().GetNumberOrder.toInt();
        QVERIFY(id >= 1 && id <= 8);
        // Every cell holds its solution or is an empty player cell; medium
        // blanks at most 54 cells and never the last one.
        const QList<int> player = game.playerCells();
        QVERIFY(!player.isEmpty() && player.size() <= 54);
        QVERIFY(!player.contains(80));
        for (int i = 0; i < 81; ++i) {
            const CellLabel &cell = form.state().L(i);
            QVERIFY(cell.Enabled());
            if (cell.ForeColor() == 0)
                QCOMPARE(cell.Caption(), QString::number(form.state().SolutionNumber[std::size_t(i)]));
            else
                QVERIFY(cell.Caption().isEmpty());
        }
        QVERIFY(!form.state().cmdStart.Enabled());
        QCOMPARE(form.state().cmdStart.Picture(), Skin::literal(QStringLiteral("start3")));
        QCOMPARE(form.state().cmdContinue.Picture(), Skin::literal(QStringLiteral("continue3")));
        QCOMPARE(form.state().cmdSave.Picture(), Skin::literal(QStringLiteral("save1")));
        QCOMPARE(form.state().cmdNext.Picture(), Skin::literal(QStringLiteral("next1")));
        QVERIFY(!form.state().cmdFinished.Enabled());
        QVERIFY(!form.state().menuGame_Start.Enabled());
        QVERIFY(form.state().menuGame_Save.Enabled() && form.state().menuGame_Clear.Enabled()
            && form.state().menuDo_Next.Enabled());
        QVERIFY(form.state().menuSetting_PlayMusic.Enabled());
        QVERIFY(form.state().menuSetting_PlayMusic_osmira.Checked());
        QVERIFY(form.state().menuSetting_PlayMusic_StopPlay.Visible());
        QVERIFY(!form.state().menuSetting_PlayMusic_StartPlay.Visible());
        QCOMPARE(game.sound.history.mid(game.sound.history.size() - 2),
            (QStringList {
                QStringLiteral("open bkmusic/osmira.mid"), QStringLiteral("play bkmusic/osmira.mid") }));
        QVERIFY(form.state().Timer1.isActive());
        QVERIFY(form.state().labelTime.Visible());
        game.tick(1);
        QCOMPARE(form.state().labelTime.Caption(), QStringLiteral("00:00:01"));
    }

    void wholeGameToARecordFinish()
    {
        GameHarness game;
        FormMain &form = game.startGame();
        game.sound.clear();
        const QList<int> player = game.playerCells();
        game.tick(65);

        // The finish command comes exactly with the last digit.
        for (int n = 0; n < player.size(); ++n) {
            QVERIFY(!form.state().cmdFinished.Enabled());
            const int i = player.at(n);
            game.clickCell(i);
            QVERIFY(form.state().txtEnter.Visible());
            QVERIFY(!form.state().cmdSave.Enabled() && !form.state().cmdNext.Enabled()
                && !form.state().optHard.Enabled());
            game.type(QChar('0' + form.state().SolutionNumber[std::size_t(i)]));
            QVERIFY(!form.state().txtEnter.Visible());
            QCOMPARE(form.state().L(i).ForeColor(), BoardColors::kPlayer);
        }
        QVERIFY(form.state().cmdFinished.Enabled());
        QVERIFY(form.state().menuDo_Finished.Enabled());
        QStringList expected;
        for (int n = 0; n < player.size(); ++n)
            expected << QStringLiteral("D_bubble.wav") << QStringLiteral("D_press.wav");
        QCOMPARE(game.sound.effects(), expected);

        game.sound.clear();
        game.click(QStringLiteral("cmdFinished"));
        QCOMPARE(game.messages.count(), 1);
        QCOMPARE(game.messages.last().title, QStringLiteral("完成"));
        QCOMPARE(game.messages.last().icon, MessageBox::Icon::Information);
        QCOMPARE(game.messages.last().text,
            QString::fromUtf8(kRecordMessageHead) + QStringLiteral("00:01:05\r\n打破了最快用时纪录\r\n "));
        QCOMPARE(game.sound.effects(), QStringList { QStringLiteral("D_great.wav") });
        QCOMPARE(game.file(QStringLiteral("grade")), grade("00:01:05", "00:01:05", "00:00:00", " 1 "));

        // Back to no running game, with the next puzzle laid out and timed.
        QVERIFY(form.state().cmdStart.Enabled());
        QVERIFY(!form.state().cmdSave.Enabled() && !form.state().cmdNext.Enabled()
            && !form.state().cmdFinished.Enabled());
        QVERIFY(form.state().optEasy.Enabled() && form.state().menuDo_Difficoulty.Enabled()
            && form.state().menuGame_Start.Enabled());
        QVERIFY(!form.state().menuGame_Save.Enabled() && !form.state().menuDo_Next.Enabled()
            && !form.state().menuDo_Finished.Enabled());
        QVERIFY(!game.playerCells().isEmpty());
        QVERIFY(form.state().Timer1.isActive());
        QVERIFY(form.state().labelTime.Visible());
        QCOMPARE(form.state().labelTime.Caption(), QStringLiteral("00:00:00"));
        game.tick(1);
        QCOMPARE(form.state().labelTime.Caption(), QStringLiteral("00:00:01"));
    }

    void clockCountsTrueSecondsInRealTime()
    {
        GameHarness game;
        game.useRealClock();
        FormMain &form = game.load();
        // Each tick's caption with the time the test had counted by then,
        // from just before the click that started the clock.
        QElapsedTimer sinceClick;
        QList<std::pair<qint64, qint64>> ticks;
        connect(&form.state().Timer1, &QTimer::timeout, this, [&] {
            ticks << std::pair { TimeText::parse(form.state().labelTime.Caption()).value_or(-1000) / 1000,
                sinceClick.elapsed() / 1000 };
        });
        // A busy machine may deliver a tick late, so that it shows a later
        // second than its number; it never shows one not yet played, nor
        // goes back.
        const auto countsTrueSeconds = [&ticks] {
            QString seen;
            for (const auto &[shown, counted] : std::as_const(ticks))
                seen += QStringLiteral(" %1/%2").arg(shown).arg(counted);
            for (qsizetype i = 0; i < ticks.size(); ++i) {
                const auto [shown, counted] = ticks.at(i);
                if (shown < i + 1 || shown > counted || (i > 0 && shown < ticks.at(i - 1).first))
                    return QStringLiteral("shown/counted:") + seen;
            }
            return QString();
        };

        sinceClick.start();
        game.click(QStringLiteral("cmdStart"));
        QCOMPARE(form.state().labelTime.Caption(), QStringLiteral("00:00:00"));
        QTRY_VERIFY_WITH_TIMEOUT(ticks.size() >= 2, 10000);
        QVERIFY2(countsTrueSeconds().isEmpty(), qPrintable(countsTrueSeconds()));

        // Finished half a second after a tick: the time kept is the time
        // played, not the time of the last tick.
        game.solve();
        QTest::qWait(500);
        const QDateTime started = form.state().timeStart;
        const qint64 before = started.msecsTo(Clock::now()) / 1000;
        game.click(QStringLiteral("cmdFinished"));
        const qint64 after = started.msecsTo(Clock::now()) / 1000;
        const qint64 kept
            = TimeText::parse(form.state().strLastFinishedTime.toString()).value_or(-1000) / 1000;
        QVERIFY2(kept >= before && kept <= after,
            qPrintable(QStringLiteral("%1 kept, %2..%3 played")
                           .arg(form.state().strLastFinishedTime.toString())
                           .arg(before)
                           .arg(after)));

        // The next puzzle is laid out and timed at once; a new Start a
        // second later shows its own nought, not that puzzle's time.
        ticks.clear();
        QTRY_VERIFY_WITH_TIMEOUT(!ticks.isEmpty() && ticks.last().first >= 1, 10000);
        sinceClick.start();
        ticks.clear();
        game.click(QStringLiteral("cmdStart"));
        QCOMPARE(form.state().labelTime.Caption(), QStringLiteral("00:00:00"));
        QTRY_VERIFY_WITH_TIMEOUT(!ticks.isEmpty(), 10000);
        QVERIFY2(countsTrueSeconds().isEmpty(), qPrintable(countsTrueSeconds()));
    }

    void wrongBoardIsMarkedRed()
    {
        GameHarness game;
        FormMain &form = game.startGame();
        const int wrong = game.solveWithOneWrong();
        const int right = form.state().SolutionNumber[std::size_t(wrong)];
        QVERIFY(form.state().cmdFinished.Enabled());
        game.sound.clear();
        game.click(QStringLiteral("cmdFinished"));

        QCOMPARE(game.messages.count(), 0);
        QCOMPARE(game.sound.effects(),
            (QStringList { QStringLiteral("D_wrong.wav"), QStringLiteral("D_oohs.wav") }));
        QCOMPARE(form.state().L(wrong).ForeColor(), BoardColors::kWrong);
        for (int i = 0; i < 81; ++i)
            if (i != wrong)
                QCOMPARE(
                    form.state().L(i).ForeColor(), game.playerCells().contains(i) ? BoardColors::kPlayer : 0);
        QVERIFY(!form.state().cmdFinished.Enabled());
        QCOMPARE(form.state().cmdFinished.Picture(), Skin::literal(QStringLiteral("finish3")));
        QVERIFY(form.state().menuDo_Finished.Enabled());
        QVERIFY(form.state().Timer1.isActive());

        // The menu still checks; the red digit is typed in red when mended.
        game.sound.clear();
        game.trigger(QStringLiteral("menuDo_Finished"));
        QCOMPARE(game.sound.effects(),
            (QStringList { QStringLiteral("D_wrong.wav"), QStringLiteral("D_oohs.wav") }));
        game.clickCell(wrong);
        QCOMPARE(form.state().txtEnter.ForeColor(), BoardColors::kWrong);
        game.type(QChar('0' + right));
        QCOMPARE(form.state().L(wrong).ForeColor(), BoardColors::kWrong);
        QVERIFY(form.state().cmdFinished.Enabled());
        game.click(QStringLiteral("cmdFinished"));
        QCOMPARE(game.messages.count(), 1);
        QVERIFY(form.state().cmdStart.Enabled());
    }

    void finishAgainstTheRecord_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<bool>("record");
        QTest::addColumn<QByteArray>("fastestAfter");
        // The stored record is 00:00:30.
        QTest::newRow("faster") << 20 << true << QByteArray("00:00:20");
        QTest::newRow("slower") << 65 << false << QByteArray("00:00:30");
        QTest::newRow("equal") << 30 << false << QByteArray("00:00:30");
    }

    void finishAgainstTheRecord()
    {
        QFETCH(int, seconds);
        QFETCH(bool, record);
        QFETCH(QByteArray, fastestAfter);
        GameHarness game;
        QVERIFY(game.folder().put(QStringLiteral("grade"), grade("00:00:40", "00:00:30", "01:00:00", " 3 ")));
        game.startGame();
        game.tick(seconds);
        game.solve();
        game.sound.clear();
        game.click(QStringLiteral("cmdFinished"));
        const QString time = game.state().strLastFinishedTime.toString();
        QCOMPARE(time, QTime(0, 0).addSecs(seconds).toString(QStringLiteral("HH:mm:ss")));
        QCOMPARE(game.messages.count(), 1);
        QCOMPARE(game.messages.last().text,
            QString::fromUtf8(kRecordMessageHead) + time
                + (record ? QStringLiteral("\r\n打破了最快用时纪录\r\n ") : QStringLiteral("\r\n ")));
        QCOMPARE(game.sound.effects(),
            QStringList { record ? QStringLiteral("D_great.wav") : QStringLiteral("D_finished.wav") });
        QCOMPARE(game.file(QStringLiteral("grade")),
            grade(time.toLatin1().constData(), fastestAfter.constData(), "01:00:00", " 4 "));
    }

    void entryBoxKeyTable_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("open");
        QTest::addColumn<QStringList>("effects");
        // Each case starts from an open box on a player cell holding "3".
        QTest::newRow("Esc empties") << int(Qt::Key_Escape) << "" << false << QStringList();
        QTest::newRow("0 erases") << int('0') << "" << false << QStringList();
        QTest::newRow("dot erases") << int('.') << "" << false << QStringList();
        QTest::newRow("digit") << int('5') << "5" << false << QStringList { QStringLiteral("D_press.wav") };
        QTest::newRow("letter kept") << int('a') << "3" << true << QStringList();
        QTest::newRow("backspace kept") << int(Qt::Key_Backspace) << "3" << true << QStringList();
        QTest::newRow("enter kept") << int(Qt::Key_Return) << "3" << true << QStringList();
        QTest::newRow("blank kept") << int(' ') << "3" << true << QStringList();
    }

    void entryBoxKeyTable()
    {
        QFETCH(int, key);
        QFETCH(QString, caption);
        QFETCH(bool, open);
        QFETCH(QStringList, effects);
        GameHarness game;
        FormMain &form = game.startGame();
        const int cell = game.playerCells().first();
        game.enter(cell, QLatin1Char('3'));
        game.clickCell(cell);
        QCOMPARE(form.state().txtEnter.Text(), QStringLiteral("3"));
        game.sound.clear();
        if (key < 128 && key != Qt::Key_Escape)
            game.type(QChar(key));
        else
            game.typeKey(Qt::Key(key));
        QCOMPARE(form.state().L(cell).Caption(), caption);
        QCOMPARE(form.state().txtEnter.Visible(), open);
        QCOMPARE(game.sound.effects(), effects);
        QCOMPARE(form.state().L(cell).ForeColor(), BoardColors::kPlayer);
        // Save comes back with any key; next and the difficulty do not.
        QVERIFY(form.state().cmdSave.Enabled() || open);
        QVERIFY(!form.state().cmdNext.Enabled());
        QVERIFY(!form.state().optEasy.Enabled());
    }

    void entryBoxTakesTextOnlyThroughItsKeys()
    {
        GameHarness game;
        FormMain &form = game.startGame();
        const int cell = game.playerCells().first();
        game.clickCell(cell);
        auto *box = qobject_cast<QLineEdit *>(form.view(QStringLiteral("txtEnter")));
        QVERIFY(box && box->isVisible());
        QGuiApplication::clipboard()->setText(QStringLiteral("7"));

        // A Chinese input method committing a full stop and a full-width 7.
        for (const QString &commit : { QStringLiteral("。"), QStringLiteral("７") }) {
            QInputMethodEvent composed;
            composed.setCommitString(commit);
            QApplication::sendEvent(box, &composed);
        }
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
        QTest::mouseClick(box, Qt::MiddleButton, {}, box->rect().center());
        auto *dropped = new QMimeData;
        dropped->setText(QStringLiteral("7"));
        QDragEnterEvent enter(box->rect().center(), Qt::CopyAction, dropped, Qt::LeftButton, {});
        QApplication::sendEvent(box, &enter);
        QVERIFY(!enter.isAccepted());
        QDropEvent drop(box->rect().center(), Qt::CopyAction, dropped, Qt::LeftButton, {});
        QApplication::sendEvent(box, &drop);
        delete dropped;
        QContextMenuEvent menu(
            QContextMenuEvent::Mouse, box->rect().center(), box->mapToGlobal(box->rect().center()));
        QApplication::sendEvent(box, &menu);
        QVERIFY(!QApplication::activePopupWidget());

        QCOMPARE(box->text(), QString());
        QCOMPARE(form.state().L(cell).Caption(), QString());
        QVERIFY(form.state().txtEnter.Visible());
        // Typed, the same digit goes in.
        game.type(QLatin1Char('7'));
        QCOMPARE(form.state().L(cell).Caption(), QStringLiteral("7"));
    }

    void clicksOnCells()
    {
        GameHarness game;
        FormMain &form = game.startGame();
        const int given = [&] {
            for (int i = 0; i < 81; ++i)
                if (form.state().L(i).ForeColor() == 0)
                    return i;
            return -1;
        }();
        const int player = game.playerCells().first();
        form.state().EnterIndex = 7;
        game.sound.clear();
        game.clickCell(given);
        QCOMPARE(form.state().EnterIndex, qint16(7));
        QVERIFY(!form.state().txtEnter.Visible());
        // A right click with the box closed does nothing at all.
        game.clickCell(player, Qt::RightButton);
        QVERIFY(game.sound.effects().isEmpty());

        game.clickCell(player);
        QCOMPARE(form.state().EnterIndex, qint16(player));
        QCOMPARE(form.state().txtEnter.Left(), form.state().L(player).Left());
        QCOMPARE(form.state().txtEnter.Top(), form.state().L(player).Top());
        QVERIFY(form.state().txtEnter.FontBold());
        QCOMPARE(game.sound.effects(), QStringList { QStringLiteral("D_bubble.wav") });
        QVERIFY(!form.state().cmdSave.Enabled());
        game.clickCell(given, Qt::RightButton);
        QCOMPARE(game.sound.effects().last(), QStringLiteral("D_cancel.wav"));
        QVERIFY(!form.state().txtEnter.Visible());
        QVERIFY(form.state().cmdSave.Enabled());
        QVERIFY(form.state().menuGame_Save.Enabled());
        // The box's own right click cancels as well, without a visibility test.
        game.clickCell(player);
        game.click(QStringLiteral("txtEnter"), Qt::RightButton);
        QCOMPARE(game.sound.effects().last(), QStringLiteral("D_cancel.wav"));
        QVERIFY(!form.state().txtEnter.Visible());
    }

    void nextReplacesOnlyThePuzzle()
    {
        GameHarness game;
        FormMain &form = game.startGame();
        game.tick(300);
        form.state().IsContinuedGame = -1;
        // Real clock seeds, as in play: every draw may differ.
        RandomSource::setFixedClockSeed(std::nullopt);
        QStringList ids;
        for (int n = 0; n < 12; ++n) {
            game.click(QStringLiteral("cmdNext"));
            ids << form.state().GetNumberOrder;
        }
        QVERIFY2(ids.removeDuplicates() < 11, "the draw never changes");
        QCOMPARE(form.state().IsContinuedGame, qint16(-1));
        QVERIFY(!form.state().cmdStart.Enabled());
        QVERIFY(form.state().cmdNext.Enabled());
        QVERIFY(form.state().Timer1.isActive());
        form.state().IsContinuedGame = 0;
        game.tick(1);
        QCOMPARE(form.state().labelTime.Caption(), QStringLiteral("00:00:01"));
    }

    void difficultyDuringAGameReblanksTheSamePuzzle()
    {
        GameHarness game;
        FormMain &form = game.load();
        game.trigger(QStringLiteral("menuDo_Difficoulty_Easy"));
        QCOMPARE(form.state().Difficulty, QStringLiteral("easy"));
        QVERIFY(form.state().optEasy.Value() && !form.state().optMedium.Value());
        QVERIFY(form.state().menuDo_Difficoulty_Easy.Checked()
            && !form.state().menuDo_Difficoulty_Medium.Checked());
        QVERIFY(game.playerCells().isEmpty());

        game.click(QStringLiteral("cmdStart"));
        QVERIFY(game.playerCells().size() <= 38);
        const QString id = form.state().GetNumberOrder;
        game.solve();
        QVERIFY(form.state().cmdFinished.Enabled());
        game.tick(100);
        game.trigger(QStringLiteral("menuDo_Difficoulty_Hard"));
        QCOMPARE(form.state().GetNumberOrder, id);
        QCOMPARE(form.state().Difficulty, QStringLiteral("hard"));
        QVERIFY(form.state().optHard.Value() && !form.state().optEasy.Value());
        QVERIFY(form.state().menuDo_Difficoulty_Hard.Checked()
            && !form.state().menuDo_Difficoulty_Easy.Checked());
        const QList<int> player = game.playerCells();
        QVERIFY(!player.isEmpty() && player.size() <= 68);
        for (const int i : player)
            QVERIFY(form.state().L(i).Caption().isEmpty());
        QVERIFY(!form.state().cmdFinished.Enabled());
        QCOMPARE(form.state().cmdFinished.Picture(), Skin::literal(QStringLiteral("finish3")));
        game.tick(1);
        QCOMPARE(form.state().labelTime.Caption(), QStringLiteral("00:00:01"));
    }

    void startWithoutAUsableBank_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing bank") << "missing"
                                      << "连接题库时出错！";
        QTest::newRow("bank without the puzzle") << "empty"
                                                 << "题库中没有相应级别的题目\r\n试试其它难度吧！";
        // The bank was reached: the player is told the record is broken,
        // not that the bank could not be connected to.
        QTest::newRow("record with a 0 in its grid") << "damaged"
                                                     << "读取题目时出错！题库中第 ";
    }

    void startWithoutAUsableBank()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        GameHarness game;
        const ProgramFolder &folder = game.folder();
        QVERIFY(QFile::remove(folder.bankFile()));
        if (kind == QLatin1String("empty"))
            QVERIFY(folder.putFixture(
                QStringLiteral("problem/problem.dbs"), QStringLiteral("bank/empty-bank.dbs")));
        if (kind == QLatin1String("damaged")) {
            QList<BankBuilder::Entry> entries;
            for (int id = 1; id <= 8; ++id) {
                BankBuilder::Entry entry { QString::number(id) };
                for (int i = 0; i < 81; ++i)
                    entry.cells[std::size_t(i)] = (3 * (i / 9 % 3) + i / 27 + i % 9) % 9 + 1;
                entry.cells[40] = 0;
                entries << entry;
            }
            folder.putBank(entries);
        }
        FormMain &form = game.startGame();
        QCOMPARE(game.messages.count(), 1);
        QVERIFY2(game.messages.last().text.startsWith(message), qPrintable(game.messages.last().text));
        if (kind == QLatin1String("damaged"))
            QVERIFY(game.messages.last().text.endsWith(
                QStringLiteral("的记录已损坏：第 5 行第 5 列不是 1 到 9 的数字。")));
        QVERIFY(!form.state().ProgressBarMake.Visible());
        QCOMPARE(form.state().MousePointer(), GameState::kPointerDefault);
        QVERIFY(form.state().cmdStart.Enabled());
        QVERIFY(!form.state().Timer1.isActive());
        QCOMPARE(form.state().bank.rsProblem.State(), 0);
        for (int i = 0; i < 81; ++i)
            QVERIFY(form.state().L(i).Caption().isEmpty());
    }
};

QTEST_MAIN(TestGame)
#include "tst_game.moc"
