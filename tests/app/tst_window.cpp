#include "AppPath.h"
#include "BoardColors.h"
#include "CellLabelView.h"
#include "Clock.h"
#include "FileBytes.h"
#include "FormGrade.h"
#include "FormHelp.h"
#include "GameHarness.h"
#include "MMControl.h"
#include "ModuleGameSetting.h"
#include "Skin.h"
#include "SkinButton.h"
#include "Twips.h"
#include "UnwritableFolder.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QtTest>

namespace {

const QByteArray kDefaultSetting
    = "[ShowNumberHint]\r\nFalse\r\n\r\n[ShowCrossHint]\r\nTrue\r\n\r\n[AutoSave]\r\n"
      "False\r\n\r\n[PutOnFront]\r\nTrue\r\n\r\n[PieceColor]\r\nTrue\r\n\r\n"
      "[ShowBorder]\r\nFalse\r\n\r\n[FontBold]\r\nFalse\r\n";
const QByteArray kDefaultGrade
    = "[LastFinishedTime]\r\n00:00:00\r\n\r\n[FastestTime]\r\n00:00:00\r\n\r\n"
      "[TotalTime]\r\n00:00:00\r\n\r\n[FinishedCount]\r\n0\r\n\r\n[Grade]\r\n\xA1\xEF\r\n";

QByteArray settingWith(int valueLine, const QByteArray &value)
{
    QList<QByteArray> lines = kDefaultSetting.split('\n');
    lines[valueLine] = value + "\r";
    return lines.join('\n');
}

QList<int> cellsWithBack(FormMain &form, int color)
{
    QList<int> cells;
    for (int i = 0; i < 81; ++i)
        if (form.state().L(i).BackColor() == color)
            cells << i;
    return cells;
}

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    void firstStartInAnEmptyFolder()
    {
        GameHarness game;
        FormMain &form = game.load();
        QCOMPARE(game.file(QStringLiteral("setting")), kDefaultSetting);
        QCOMPARE(game.file(QStringLiteral("grade")), kDefaultGrade);
        QVERIFY(!form.state().cmdContinue.Enabled());
        QVERIFY(!form.state().menuGame_Continue.Enabled());
        QVERIFY(form.state().menuSetting_ShowCrossHint.Checked());
        QVERIFY(form.state().menuSetting_PutOnFront.Checked());
        QVERIFY(form.state().menuSetting_PieceColor.Checked());
        QVERIFY(!form.state().menuSetting_ShowNumberHint.Checked());
        QVERIFY(!form.state().menuSetting_ExitAutoSave.Checked());
        QVERIFY(!form.state().menuSetting_ShowBorder.Checked());
        QVERIFY(!form.state().menuSetting_FontBold.Checked());
        QCOMPARE(form.state().picPutOnFront.Picture(), Skin::literal(QStringLiteral("putonfront2")));
        QVERIFY(!form.state().Shape2.Visible());
        QVERIFY(form.state().optMedium.Value());
        QCOMPARE(form.state().Difficulty, QStringLiteral("medium"));
        QVERIFY(!form.state().labelTime.Visible());
        QCOMPARE(form.state().labelTime.Caption(), QStringLiteral("00:00:00"));
        QVERIFY(!form.state().menuSetting_PlayMusic.Enabled());
        QCOMPARE(form.state().MousePointer(), GameState::kPointerDefault);
        for (int k = 0; k < 9; ++k)
            QCOMPARE(form.state().Label1(k).Caption(), QString::number(k + 1));
        // The window starts in the narrow layout, with the shaded boxes.
        QCOMPARE(form.size(),
            QSize(twipsToPx(ModuleGameSetting::kNarrowWidth), twipsToPx(ModuleGameSetting::kHeight)));
        QCOMPARE(cellsWithBack(form, BoardColors::kShading).size(), 36);
    }

    void leftoversOfCutWritesGoAtStart()
    {
        GameHarness game;
        const ProgramFolder &folder = game.folder();
        // A write cut short between naming its finished temporary file and
        // the rename leaves that file, named as the atomic write names it.
        const QStringList leftovers { QStringLiteral("save.qWzKtb"), QStringLiteral("setting.AbCdEf"),
            QStringLiteral("grade.ZyXwVu") };
        // Anything else stays, however close its name.
        const QStringList others { QStringLiteral("save.qWzKt"), QStringLiteral("save.qWzKt1"),
            QStringLiteral("save.qWzKtb.old"), QStringLiteral("Save.qWzKtb"),
            QStringLiteral("problem.AbCdEf") };
        for (const QString &name : leftovers + others)
            QVERIFY(folder.put(name, "x"));
        QVERIFY(QDir().mkdir(folder.file(QStringLiteral("grade.QqQqQq"))));
        QVERIFY(QFile::link(
            folder.file(QStringLiteral("save.qWzKt")), folder.file(QStringLiteral("setting.LnKlNk"))));
        game.load();
        for (const QString &name : leftovers)
            QVERIFY2(!QFileInfo::exists(folder.file(name)), qPrintable(name));
        for (const QString &name : others + QStringList { QStringLiteral("grade.QqQqQq") })
            QVERIFY2(QFileInfo::exists(folder.file(name)), qPrintable(name));
        QVERIFY(QFileInfo(folder.file(QStringLiteral("setting.LnKlNk"))).isSymLink());
    }

    void settingsAreReadByPosition_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("checked");
        QTest::newRow("lower-case true is off") << settingWith(19, "true") << "menuSetting_FontBold" << false;
        QTest::newRow("leading blank is off")
            << settingWith(4, " True") << "menuSetting_ShowCrossHint" << false;
        QTest::newRow("border on") << settingWith(16, "True") << "menuSetting_ShowBorder" << true;
        QTest::newRow("keys are never read") << QByteArray(kDefaultSetting)
                                                    .replace("[FontBold]", "[Nonsense]")
                                                    .replace("False\r\n", "True\r\n")
                                             << "menuSetting_FontBold" << true;
        QTest::newRow("short file takes defaults")
            << QByteArray("[ShowNumberHint]\r\nTrue\r\n") << "menuSetting_PutOnFront" << true;
        QTest::newRow("short file keeps its lines")
            << QByteArray("[ShowNumberHint]\r\nTrue\r\n") << "menuSetting_ShowNumberHint" << true;
        QTest::newRow("LF only") << QByteArray(kDefaultSetting)
                                        .replace("\r\n", "\n")
                                        .replace("[ShowBorder]\nFalse", "[ShowBorder]\nTrue")
                                 << "menuSetting_ShowBorder" << true;
    }

    void settingsAreReadByPosition()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, item);
        QFETCH(bool, checked);
        GameHarness game;
        QVERIFY(game.folder().put(QStringLiteral("setting"), file));
        game.load();
        QCOMPARE(game.state().findControl(item)->Checked(), checked);
        QCOMPARE(game.form().action(item)->isChecked(), checked);
    }

    void preferenceTogglesTakeEffect()
    {
        GameHarness game;
        FormMain &form = game.load();
        game.trigger(QStringLiteral("menuSetting_FontBold"));
        QVERIFY(form.state().menuSetting_FontBold.Checked());
        for (int i = 0; i < 81; ++i)
            QVERIFY(form.state().L(i).FontBold());
        game.trigger(QStringLiteral("menuSetting_ShowBorder"));
        QVERIFY(form.state().Shape2.Visible());
        game.trigger(QStringLiteral("menuSetting_PutOnFront"));
        QVERIFY(!form.state().menuSetting_PutOnFront.Checked());
        QCOMPARE(form.state().picPutOnFront.Picture(), Skin::literal(QStringLiteral("putonfront1")));
        QVERIFY(!(form.windowFlags() & Qt::WindowStaysOnTopHint));
        // The pin on the title bar: press sounds, release toggles back.
        game.sound.clear();
        game.click(QStringLiteral("picPutOnFront"));
        QCOMPARE(game.sound.effects(), QStringList { QStringLiteral("D_du.wav") });
        QVERIFY(form.state().menuSetting_PutOnFront.Checked());
        QVERIFY(form.windowFlags() & Qt::WindowStaysOnTopHint);
        game.click(QStringLiteral("picPutOnFront"), Qt::RightButton);
        QVERIFY(form.state().menuSetting_PutOnFront.Checked());

        // Box shading: off whitens every cell, on shades only the 36.
        form.state().L(0).setBackColor(0x123456);
        game.trigger(QStringLiteral("menuSetting_PieceColor"));
        QCOMPARE(cellsWithBack(form, BoardColors::kPaper).size(), 81);
        form.state().L(0).setBackColor(0x123456);
        game.trigger(QStringLiteral("menuSetting_PieceColor"));
        QCOMPARE(cellsWithBack(form, BoardColors::kShading),
            (QList<int> { 3, 4, 5, 12, 13, 14, 21, 22, 23, 27, 28, 29, 33, 34, 35, 36, 37, 38, 42, 43, 44, 45,
                46, 47, 51, 52, 53, 57, 58, 59, 66, 67, 68, 75, 76, 77 }));
        QCOMPARE(form.state().L(0).BackColor(), 0x123456);

        game.trigger(QStringLiteral("menuSetting_ExitAutoSave"));
        QVERIFY(form.state().menuSetting_ExitAutoSave.Checked());
        game.trigger(QStringLiteral("menuSetting_ShowCrossHint"));
        QVERIFY(!form.state().menuSetting_ShowCrossHint.Checked());
        QCOMPARE(form.state().MousePointer(), GameState::kPointerDefault);

        // Leaving writes every check mark back.
        form.close();
        QCOMPARE(game.file(QStringLiteral("setting")),
            QByteArray(
                "[ShowNumberHint]\r\nFalse\r\n\r\n[ShowCrossHint]\r\nFalse\r\n\r\n[AutoSave]\r\nTrue\r\n\r\n"
                "[PutOnFront]\r\nTrue\r\n\r\n[PieceColor]\r\nTrue\r\n\r\n[ShowBorder]\r\nTrue\r\n\r\n"
                "[FontBold]\r\nTrue\r\n"));
    }

    void bothLayouts()
    {
        GameHarness game;
        FormMain &form = game.load();
        struct Expect
        {
            int width, right, close, minimize, pin, music;
            QString title;
        };
        const Expect narrow { 6310, 4800, 5640, 5220, 4900, 4630, QStringLiteral("titleshort") };
        const Expect wide { 7030, 5520, 6360, 5940, 5620, 5350, QStringLiteral("titlelong") };
        for (const Expect &e : { wide, narrow }) {
            game.trigger(QStringLiteral("menuSetting_ShowNumberHint"));
            QCOMPARE(form.state().Frame2.Visible(), e.width == wide.width);
            QCOMPARE(form.view(QStringLiteral("Frame2"))->isVisible(), e.width == wide.width);
            QCOMPARE(form.size(), QSize(twipsToPx(e.width), twipsToPx(5240)));
            for (Control *c : { &form.state().Frame1, &form.state().cmdStart, &form.state().cmdContinue,
                     &form.state().cmdSave, &form.state().cmdNext, &form.state().cmdFinished,
                     &form.state().cmdExit, &form.state().labelTime })
                QCOMPARE(c->Left(), e.right);
            QCOMPARE(form.state().ProgressBarMake.Left(), e.right);
            QCOMPARE(form.state().picClose.Left(), e.close);
            QCOMPARE(form.state().picMinimize.Left(), e.minimize);
            QCOMPARE(form.state().picPutOnFront.Left(), e.pin);
            QCOMPARE(form.state().picMusicPlay.Left(), e.music);
            QCOMPARE(form.state().picMusicStop.Left(), e.music);
            QCOMPARE(form.state().picTitle.Picture(), Skin::literal(e.title));
            QCOMPARE(form.view(QStringLiteral("cmdStart"))->x(), twipsToPx(e.right));
            // The inner frame lies one pixel inside the outer on every side.
            const QRect outer = twipsRect(form.state().Shape1.Left(), form.state().Shape1.Top(),
                form.state().Shape1.Width(), form.state().Shape1.Height());
            const QRect inner = twipsRect(form.state().Shape3.Left(), form.state().Shape3.Top(),
                form.state().Shape3.Width(), form.state().Shape3.Height());
            QCOMPARE(outer, QRect(QPoint(0, 0), form.size()));
            QCOMPARE(inner, outer.adjusted(1, 1, -1, -1));
        }
    }

    void skinnedButtonStates()
    {
        GameHarness game;
        FormMain &form = game.load();
        auto *save = qobject_cast<SkinButton *>(form.view(QStringLiteral("cmdStart")));
        QVERIFY(save);
        const QString base = Skin::literal(QStringLiteral("start"));
        QTest::mouseMove(save, QPoint(10, 10));
        QCOMPARE(form.state().cmdStart.Picture(), base + QLatin1Char('2'));
        // A point exactly on the right edge still counts as inside.
        QMouseEvent edge(QEvent::MouseMove, QPointF(save->width(), 5),
            save->mapToGlobal(QPointF(save->width(), 5)), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(save, &edge);
        QCOMPARE(form.state().cmdStart.Picture(), base + QLatin1Char('2'));
        QMouseEvent outside(QEvent::MouseMove, QPointF(save->width() + 1, 5),
            save->mapToGlobal(QPointF(save->width() + 1, 5)), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(save, &outside);
        QCOMPARE(form.state().cmdStart.Picture(), base + QLatin1Char('1'));
        // A right press changes nothing; a left press shows the pressed image.
        QTest::mousePress(save, Qt::RightButton, {}, QPoint(10, 10));
        QCOMPARE(form.state().cmdStart.Picture(), base + QLatin1Char('1'));
        QTest::mouseRelease(save, Qt::RightButton, {}, QPoint(10, 10));
        QTest::mousePress(save, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(form.state().cmdStart.Picture(), base + QLatin1Char('3'));
        // Releasing starts the game, which greys the button.
        QTest::mouseRelease(save, Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(!form.state().cmdStart.Enabled());
        QCOMPARE(form.state().cmdStart.Picture(), base + QLatin1Char('3'));
        // A disabled button ignores the mouse.
        QTest::mouseMove(save, QPoint(12, 12));
        QCOMPARE(form.state().cmdStart.Picture(), base + QLatin1Char('3'));
    }

    void missingSkinKeepsThePictureShown()
    {
        GameHarness game;
        QFile::remove(game.folder().file(QStringLiteral("interface/black/save1")));
        game.load();
        auto *save = qobject_cast<SkinButton *>(game.form().view(QStringLiteral("cmdSave")));
        QCOMPARE(save->shownLiteral(), Skin::literal(QStringLiteral("save3")));
        game.click(QStringLiteral("cmdStart"));
        QCOMPARE(game.state().cmdSave.Picture(), Skin::literal(QStringLiteral("save1")));
        QCOMPARE(save->shownLiteral(), Skin::literal(QStringLiteral("save3")));
        QVERIFY(!save->pixmap().isNull());
    }

    void exitAddsTheRunToTheTotal_data()
    {
        QTest::addColumn<QByteArray>("total");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("first minute") << QByteArray("00:00:00") << 65 << QByteArray("00:01:05");
        QTest::newRow("wraps after a day") << QByteArray("23:59:30") << 45 << QByteArray("00:00:15");
        QTest::newRow("hour and a half") << QByteArray("23:00:00") << 5400 << QByteArray("00:30:00");
    }

    void exitAddsTheRunToTheTotal()
    {
        QFETCH(QByteArray, total);
        QFETCH(int, seconds);
        QFETCH(QByteArray, expected);
        GameHarness game;
        QVERIFY(game.folder().put(QStringLiteral("grade"),
            QByteArray(kDefaultGrade).replace("[TotalTime]\r\n00:00:00", "[TotalTime]\r\n" + total)));
        game.load();
        Clock::advance(qint64(seconds) * 1000);
        game.sound.clear();
        game.form().close();
        QCOMPARE(game.file(QStringLiteral("grade")),
            QByteArray(kDefaultGrade).replace("[TotalTime]\r\n00:00:00", "[TotalTime]\r\n" + expected));
        QCOMPARE(game.sound.history.last(), QStringLiteral("close bkmusic/osmira.mid"));
        QCOMPARE(game.messages.count(), 0);
    }

    void exitAcrossMidnightAddsTheTrueLength()
    {
        GameHarness game(1, QDateTime(QDate(2026, 12, 8), QTime(23, 59, 0)));
        game.load();
        Clock::advance(120 * 1000);
        game.form().close();
        QVERIFY(game.file(QStringLiteral("grade")).contains("[TotalTime]\r\n00:02:00\r\n"));
    }

    void badTotalIsReportedAndTheFileKept()
    {
        GameHarness game;
        const QByteArray bad
            = QByteArray(kDefaultGrade).replace("[TotalTime]\r\n00:00:00", "[TotalTime]\r\nlong");
        QVERIFY(game.folder().put(QStringLiteral("grade"), bad));
        game.load();
        game.form().close();
        QCOMPARE(game.messages.count(), 1);
        QCOMPARE(game.messages.last().text, QStringLiteral("游戏时间累计失败！"));
        QCOMPARE(game.messages.last().title, QStringLiteral("出错"));
        QCOMPARE(game.file(QStringLiteral("grade")), bad);
        // The settings are written all the same.
        QCOMPARE(game.file(QStringLiteral("setting")), kDefaultSetting);
    }

    void failedSettingWriteIsReportedAndTheExitGoesOn()
    {
        GameHarness game;
        game.load();
        // A folder in the file's place: the write fails, as on a full disk,
        // with the system's reason.
        QVERIFY(QFile::remove(game.folder().file(QStringLiteral("setting"))));
        QVERIFY(QDir().mkdir(game.folder().file(QStringLiteral("setting"))));
        Clock::advance(65 * 1000);
        game.sound.clear();
        game.form().close();
        QCOMPARE(game.messages.count(), 1);
        const MessageBox::Request &report = game.messages.last();
        QCOMPARE(report.icon, MessageBox::Icon::Critical);
        QCOMPARE(report.title, QStringLiteral("出错"));
        const QStringList lines = report.text.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.first(), QStringLiteral("设置保存失败！"));
        QVERIFY(!lines.last().isEmpty());
        // The rest of the exit ran all the same.
        QVERIFY(game.file(QStringLiteral("grade")).contains("[TotalTime]\r\n00:01:05\r\n"));
        QCOMPARE(game.sound.history.last(), QStringLiteral("close bkmusic/osmira.mid"));
    }

    void crossHintTintsRowAndColumn()
    {
        GameHarness game;
        FormMain &form = game.startGame();
        const int tint = BoardColors::kHint;
        QTest::mouseMove(form.cellView(40));
        QCOMPARE(cellsWithBack(form, tint),
            (QList<int> { 4, 13, 22, 31, 36, 37, 38, 39, 40, 41, 42, 43, 44, 49, 58, 67, 76 }));
        QTest::mouseMove(form.cellView(0));
        QCOMPARE(cellsWithBack(form, tint),
            (QList<int> { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 18, 27, 36, 45, 54, 63, 72 }));
        // Onto the background: white again, with the boxes shaded.
        QTest::mouseMove(&form, QPoint(2, form.height() - 2));
        QCOMPARE(cellsWithBack(form, tint), QList<int>());
        QCOMPARE(cellsWithBack(form, BoardColors::kShading).size(), 36);
        // Switched off, moving changes no colour.
        game.trigger(QStringLiteral("menuSetting_ShowCrossHint"));
        QTest::mouseMove(form.cellView(10));
        QCOMPARE(cellsWithBack(form, tint), QList<int>());
    }

    void numberHintFollowsTheBoard()
    {
        GameHarness game;
        FormMain &form = game.startGame();
        game.solve();
        for (int k = 0; k < 9; ++k)
            QVERIFY(form.state().Label1(k).Enabled());
        const int cell = game.playerCells().first();
        const int digit = form.state().SolutionNumber[std::size_t(cell)];
        game.enter(cell, QLatin1Char('0'));
        QVERIFY(!form.state().Label1(digit - 1).Enabled());
        QVERIFY(!form.state().cmdFinished.Enabled());
        QVERIFY(!form.state().menuDo_Finished.Enabled());
    }

    void clearErasesThePlayersDigits()
    {
        GameHarness game;
        FormMain &form = game.startGame();
        game.solve();
        QVERIFY(form.state().cmdFinished.Enabled());
        const int red = game.playerCells().first();
        form.state().L(red).setForeColor(BoardColors::kWrong);
        game.clickCell(game.playerCells().last());
        game.tick(30);
        game.sound.clear();
        game.trigger(QStringLiteral("menuGame_Clear"));
        QVERIFY(game.sound.effects().isEmpty());
        QVERIFY(!form.state().txtEnter.Visible());
        for (int i = 0; i < 81; ++i) {
            if (form.state().L(i).ForeColor() == 0)
                QCOMPARE(form.state().L(i).Caption(),
                    QString::number(form.state().SolutionNumber[std::size_t(i)]));
            else
                QVERIFY(form.state().L(i).Caption().isEmpty());
        }
        QCOMPARE(form.state().L(red).ForeColor(), BoardColors::kWrong);
        QVERIFY(!form.state().cmdFinished.Enabled());
        QVERIFY(!form.state().menuDo_Finished.Enabled());
        game.tick(1);
        QCOMPARE(form.state().labelTime.Caption(), QStringLiteral("00:00:01"));
    }

    void rightClicksCancelAnEntry()
    {
        GameHarness game;
        FormMain &form = game.load();
        // No game: the background never cancels.
        form.state().txtEnter.setVisible(true);
        QTest::mouseClick(&form, Qt::RightButton, {}, QPoint(2, form.height() - 2));
        QVERIFY(form.state().txtEnter.Visible());
        form.state().txtEnter.setVisible(false);

        game.click(QStringLiteral("cmdStart"));
        const int cell = game.playerCells().first();
        game.clickCell(cell);
        game.sound.clear();
        QTest::mouseClick(&form, Qt::RightButton, {}, QPoint(2, form.height() - 2));
        QVERIFY(!form.state().txtEnter.Visible());
        QVERIFY(form.state().cmdSave.Enabled());
        QCOMPARE(game.sound.effects(), QStringList { QStringLiteral("D_cancel.wav") });

        game.clickCell(cell);
        game.sound.clear();
        game.click(QStringLiteral("picTitle"), Qt::RightButton);
        QVERIFY(!form.state().txtEnter.Visible());
        QVERIFY(form.state().cmdSave.Enabled());
        QCOMPARE(game.sound.effects(), QStringList { QStringLiteral("D_cancel.wav") });
        // Without an open box the title bar changes nothing.
        game.sound.clear();
        game.click(QStringLiteral("picTitle"), Qt::RightButton);
        QVERIFY(game.sound.effects().isEmpty());
    }

    void pressesOnPanelsStayOffTheBackground()
    {
        GameHarness game;
        FormMain &form = game.load();
        game.trigger(QStringLiteral("menuSetting_ShowNumberHint"));
        game.click(QStringLiteral("cmdStart"));
        form.state().ProgressBarMake.setVisible(true);
        const int cell = game.playerCells().first();
        // A right press on the background would cancel the open entry.
        for (const char *name : { "Label1(4)", "Frame2", "Frame1", "ProgressBarMake" }) {
            game.clickCell(cell);
            QWidget *widget = form.view(QLatin1String(name));
            QVERIFY2(widget && widget->isVisible(), name);
            QTest::mouseClick(widget, Qt::RightButton, {}, QPoint(widget->width() - 3, widget->height() - 3));
            QVERIFY2(form.state().txtEnter.Visible(), name);
        }
        QTest::mouseClick(&form, Qt::RightButton, {}, QPoint(2, form.height() - 2));
        QVERIFY(!form.state().txtEnter.Visible());
    }

    void gradeWindowSoundsBeforeItShows()
    {
        GameHarness game;
        game.useRealSound();
        game.load();
        auto *device = dynamic_cast<MMControl *>(game.state().MMControl1);
        QVERIFY(device);
        const auto gradeShown = [] {
            for (QWidget *window : QApplication::topLevelWidgets())
                if (qobject_cast<FormGrade *>(window) && window->isVisible())
                    return true;
            return false;
        };
        QStringList sounds;
        connect(device, &MMControl::commandIssued, this, [&](const QString &command, const QString &file) {
            if (command == QLatin1String("sound"))
                sounds << QFileInfo(file).fileName() + (gradeShown() ? QStringLiteral(" shown") : QString());
        });
        game.trigger(QStringLiteral("menuGame_Grade"));
        QCOMPARE(sounds, QStringList { QStringLiteral("D_bubble.wav") });
        QVERIFY(gradeShown());
    }

    void menuButtonAndShortcuts()
    {
        GameHarness game;
        FormMain &form = game.load();
        // A right release over the menu button opens nothing, but resets it.
        form.state().picTitleLeft.setPicture(Skin::literal(QStringLiteral("titleleft2")));
        game.click(QStringLiteral("picTitleLeft"), Qt::RightButton);
        QCOMPARE(form.state().picTitleLeft.Picture(), Skin::literal(QStringLiteral("titleleft1")));
        QVERIFY(!form.menu()->isVisible());
        // Shortcuts act while the menu is closed.
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTest::keyClick(&form, Qt::Key_B, Qt::ControlModifier);
        QVERIFY(!form.state().cmdStart.Enabled());
        const QString id = form.state().GetNumberOrder;
        QVERIFY(!id.isEmpty());
        QCOMPARE(
            form.action(QStringLiteral("menuGame_Exit"))->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F4));
        QCOMPARE(form.action(QStringLiteral("menuSetting_PlayMusic_StartPlay"))->shortcut(),
            QKeySequence(Qt::CTRL | Qt::Key_P));
    }

    void menuButtonStaysLitWhileItsMenuIsOpen()
    {
        GameHarness game;
        FormMain &form = game.load();
        QWidget *button = form.view(QStringLiteral("picTitleLeft"));
        QTest::mouseMove(button, button->rect().center());
        const QString lit = Skin::literal(QStringLiteral("titleleft2"));
        QCOMPARE(form.state().picTitleLeft.Picture(), lit);
        QString whileOpen;
        QTimer::singleShot(200, this, [&] {
            QWidget *popup = QApplication::activePopupWidget();
            whileOpen = popup ? form.state().picTitleLeft.Picture() : QStringLiteral("no menu");
            if (popup)
                popup->close();
        });
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        QCOMPARE(whileOpen, lit);
        QCOMPARE(form.state().picTitleLeft.Picture(), Skin::literal(QStringLiteral("titleleft1")));
    }

    void menuShowsTheGamesCheckMarks()
    {
        GameHarness game;
        FormMain &form = game.startGame();
        // Each choice twice: choosing the checked item again keeps its mark.
        for (const char *item :
            { "menuDo_Difficoulty_Medium", "menuDo_Difficoulty_Hard", "menuDo_Difficoulty_Hard",
                "menuSetting_PlayMusic_osmira", "menuSetting_PlayMusic_Waltz", "menuSetting_PlayMusic_Waltz",
                "menuSetting_ShowNumberHint", "menuSetting_ShowNumberHint" }) {
            game.trigger(QLatin1String(item));
            for (Control *control : form.state().controls()) {
                const QAction *action = form.action(control->objectName());
                if (action && action->isCheckable())
                    QVERIFY2(action->isChecked() == control->Checked(),
                        qPrintable(
                            QStringLiteral("%1 after %2").arg(control->objectName(), QLatin1String(item))));
            }
        }
        QVERIFY(form.state().menuDo_Difficoulty_Hard.Checked());
        QVERIFY(form.state().menuSetting_PlayMusic_Waltz.Checked());
    }

    void menuItemsAsDesigned_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QKeySequence>("shortcut");
        const QKeySequence none;
        auto row = [&](const char *name, const char *caption, const QKeySequence &key) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(caption) << key;
        };
        row("menuGame_Start", "开始(&B)", QKeySequence(Qt::CTRL | Qt::Key_B));
        row("menuGame_Continue", "继续(&C)", QKeySequence(Qt::CTRL | Qt::Key_C));
        row("menuGame_Save", "存盘(&S)", QKeySequence(Qt::CTRL | Qt::Key_S));
        row("menuGame_Clear", "擦除重做(&R)", QKeySequence(Qt::CTRL | Qt::Key_R));
        row("menuGame_Reload", "重置游戏", none);
        row("menuGame_CopyToClipboard", "复制到剪贴板", none);
        row("menuGame_SavePicture", "保存为图片...", none);
        row("menuGame_Print", "打印...", none);
        row("menuDo", "操作(&D)", none);
        row("menuDo_Next", "下一题(&N)", QKeySequence(Qt::CTRL | Qt::Key_N));
        row("menuDo_Difficoulty", "难度选择", none);
        row("menuDo_Difficoulty_Easy", "初级", none);
        row("menuDo_Difficoulty_Medium", "普通", none);
        row("menuDo_Difficoulty_Hard", "高级", none);
        row("menuDo_Finished", "完成(&F)", QKeySequence(Qt::CTRL | Qt::Key_F));
        row("menuSetting", "设置(&S)", none);
        row("menuSetting_ShowNumberHint", "显示数字提示", none);
        row("menuSetting_ShowCrossHint", "显示十字提示", none);
        row("menuSetting_PieceColor", "增强色块", none);
        row("menuSetting_ShowBorder", "显示边框", none);
        row("menuSetting_FontBold", "粗体显示数字", none);
        row("menuSetting_PlayMusic", "播放背景音乐", none);
        row("menuSetting_PlayMusic_osmira", "Osmira", none);
        row("menuSetting_PlayMusic_HappyGM", "HappyGM", none);
        row("menuSetting_PlayMusic_Waltz", "Waltz", none);
        row("menuSetting_PlayMusic_StartPlay", "开始播放(&P)", QKeySequence(Qt::CTRL | Qt::Key_P));
        row("menuSetting_PlayMusic_StopPlay", "停止播放", none);
        row("menuSetting_ExitAutoSave", "退出时自动记录", none);
        row("menuSetting_PutOnFront", "置于前端", none);
        row("menuGame_Grade", "成绩", none);
        row("menuAbout", "关于(&A)", none);
        row("menuAbout_Help", "帮助(&H)", QKeySequence(Qt::Key_F1));
        row("menuAbout_Copyright", "版权声明", none);
        row("menuAbout_AboutMe", "关于软件(&A)", none);
        row("menuAbout_UpdateInfo", "更新信息(&U)", none);
        row("menuGame_SoftUpdata", "更新验证...", QKeySequence(Qt::CTRL | Qt::Key_U));
        row("menuGame_Exit", "退出(&X)", QKeySequence(Qt::CTRL | Qt::Key_F4));
    }

    void menuItemsAsDesigned()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QKeySequence, shortcut);
        GameHarness game;
        game.load();
        QAction *action = game.form().action(name);
        QVERIFY(action);
        QCOMPARE(action->text(), caption);
        QCOMPARE(action->shortcut(), shortcut);
    }

    void menuOrderAsDesigned()
    {
        GameHarness game;
        game.load();
        QStringList top;
        for (QAction *a : game.form().menu()->actions())
            top << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
        QCOMPARE(top,
            (QStringList { "menuGame_Start", "menuGame_Continue", "menuGame_Save", "menuGame_Clear",
                "menuGame_Reload", "-", "menuGame_CopyToClipboard", "menuGame_SavePicture", "menuGame_Print",
                "-", "menuDo", "menuSetting", "-", "menuGame_Grade", "menuAbout", "menuGame_SoftUpdata",
                "menuGame_Exit" }));
    }

    void exitWithAutoSave_data()
    {
        QTest::addColumn<bool>("game");
        QTest::addColumn<bool>("existing");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("questions");
        QTest::addColumn<bool>("written");
        QTest::newRow("no game: nothing saved")
            << false << false << int(MessageBox::Answer::Yes) << 0 << false;
        QTest::newRow("game, first save") << true << false << int(MessageBox::Answer::Yes) << 0 << true;
        QTest::newRow("game, overwrite declined")
            << true << true << int(MessageBox::Answer::No) << 1 << false;
        QTest::newRow("game, overwrite accepted")
            << true << true << int(MessageBox::Answer::Yes) << 1 << true;
    }

    void exitWithAutoSave()
    {
        QFETCH(bool, game);
        QFETCH(bool, existing);
        QFETCH(int, answer);
        QFETCH(int, questions);
        QFETCH(bool, written);
        GameHarness harness;
        if (existing)
            QVERIFY(harness.folder().put(QStringLiteral("save"), "old"));
        QVERIFY(harness.folder().put(QStringLiteral("setting"), settingWith(7, "True")));
        harness.load();
        if (game)
            harness.click(QStringLiteral("cmdStart"));
        harness.messages.answerNext(MessageBox::Answer(answer));
        harness.form().close();
        int asked = 0;
        for (const auto &m : harness.messages.shown())
            asked += m.icon == MessageBox::Icon::Question ? 1 : 0;
        QCOMPARE(asked, questions);
        const QByteArray save = harness.file(QStringLiteral("save"));
        QCOMPARE(save.size() > 3, written);
        if (existing && !written)
            QCOMPARE(save, QByteArray("old"));
        // Settings and statistics are written whatever the save did.
        QCOMPARE(harness.file(QStringLiteral("setting")), settingWith(7, "True"));
        QVERIFY(harness.file(QStringLiteral("grade")).startsWith("[LastFinishedTime]"));
    }

    void reloadStartsOverInPlace()
    {
        GameHarness game;
        QVERIFY(game.folder().put(QStringLiteral("setting"), settingWith(7, "True")));
        game.load();
        game.form().move(123, 77);
        game.click(QStringLiteral("cmdStart"));
        game.trigger(QStringLiteral("menuAbout_Help"));
        const QPointer<FormHelp> help = FormHelp::instance();
        QVERIFY(help);
        game.trigger(QStringLiteral("menuGame_Reload"));
        QTRY_VERIFY(formMain != &game.form());
        FormMain *fresh = formMain;
        // The help is the player's reading, not part of the game: it stays.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(help);
        QVERIFY(help->isVisible());
        delete help.data();
        QVERIFY(fresh);
        QCOMPARE(fresh->pos(), QPoint(123, 77));
        QVERIFY(fresh->isVisible());
        QVERIFY(fresh->state().cmdStart.Enabled());
        // The running game was saved on the way out and can be continued.
        QVERIFY(fresh->state().cmdContinue.Enabled());
        QVERIFY(!game.file(QStringLiteral("save")).isEmpty());
        for (int i = 0; i < 81; ++i)
            QVERIFY(fresh->state().L(i).Caption().isEmpty());
        fresh->state().MMControl1 = &game.sound;
        fresh->Form_Unload();
        delete fresh;
        game.release();
    }

    void unwritableFoldersRunOnDefaults()
    {
        GameHarness game;
        // Folders that do not exist, and cannot be made below a plain file,
        // take no files, even for root.
        AppPath::setFolder(game.folder().file(QStringLiteral("gone/away")));
        const QString plain = game.folder().file(QStringLiteral("plain"));
        QVERIFY(FileBytes::write(plain, "not a folder"));
        AppPath::setUserDataFolder(plain + QStringLiteral("/vexa-sudoku"));
        game.load();
        QCOMPARE(game.messages.count(), 1);
        QCOMPARE(game.messages.last().icon, MessageBox::Icon::Critical);
        QVERIFY2(
            game.messages.last().text.startsWith(
                QStringLiteral("无法在程序文件夹和用户数据文件夹 %1/vexa-sudoku 中创建数据文件").arg(plain)),
            qPrintable(game.messages.last().text));
        FormMain &form = game.form();
        QVERIFY(form.state().menuSetting_ShowCrossHint.Checked());
        QVERIFY(form.state().menuSetting_PutOnFront.Checked());
        QVERIFY(!form.state().menuSetting_FontBold.Checked());
        QCOMPARE(form.state().strFastestTime.toString(), QStringLiteral("00:00:00"));
        QVERIFY(form.state().cmdStart.Enabled());
        QVERIFY(form.isVisible());
    }

    void readOnlyProgramFolderKeepsTheFilesWithThePlayer()
    {
        GameHarness game;
        const ProgramFolder &folder = game.folder();
        UnwritableFolder readOnly(folder.path());
        if (!readOnly.holds())
            QSKIP("this system lets the test write into a read-only folder");
        game.load();
        QCOMPARE(game.messages.count(), 0);
        QCOMPARE(FileBytes::read(folder.userDataFile(QStringLiteral("setting"))), kDefaultSetting);
        QCOMPARE(FileBytes::read(folder.userDataFile(QStringLiteral("grade"))), kDefaultGrade);

        // The puzzle still comes from the bank beside the program.
        game.click(QStringLiteral("cmdStart"));
        const QString id = game.state().GetNumberOrder;
        QVERIFY(!id.isEmpty());
        game.tick(65);
        game.click(QStringLiteral("cmdSave"));
        QCOMPARE(game.messages.last().text, QStringLiteral("存盘操作完成！"));
        game.trigger(QStringLiteral("menuSetting_FontBold"));
        game.form().close();
        QCOMPARE(FileBytes::read(folder.userDataFile(QStringLiteral("setting"))), settingWith(19, "True"));
        QVERIFY(FileBytes::read(folder.userDataFile(QStringLiteral("grade")))
                    .contains("[TotalTime]\r\n00:01:05\r\n"));
        QVERIFY(FileBytes::read(folder.userDataFile(QStringLiteral("save"))).contains("\r\n00:01:05\r\n"));
        for (const char *name : { "setting", "grade", "save" })
            QVERIFY2(!QFileInfo::exists(folder.file(QLatin1String(name))), name);

        // The next start reads them back from there.
        FormMain &form = game.load();
        QCOMPARE(game.messages.count(), 1);
        QVERIFY(form.state().menuSetting_FontBold.Checked());
        QVERIFY(form.state().cmdContinue.Enabled());
        game.sound.clear();
        game.click(QStringLiteral("cmdContinue"));
        QCOMPARE(form.state().GetNumberOrder, id);
        QCOMPARE(form.state().labelTime.Caption(), QStringLiteral("00:01:05"));
        QVERIFY(game.sound.history.contains(QStringLiteral("play bkmusic/osmira.mid")));
    }

    void readOnlyProgramFolderLendsThePlayersFiles()
    {
        // A portable copy played while it could take files.
        GameHarness game;
        const ProgramFolder &folder = game.folder();
        game.startGame();
        const QString id = game.state().GetNumberOrder;
        game.tick(65);
        game.click(QStringLiteral("cmdSave"));
        game.trigger(QStringLiteral("menuSetting_FontBold"));
        game.form().close();
        QByteArray before;
        for (const char *name : { "setting", "grade", "save" })
            before += FileBytes::read(folder.file(QLatin1String(name)));

        // Its folder read-only, the next start finds the player's files
        // there while the player's own folder has none.
        UnwritableFolder readOnly(folder.path());
        if (!readOnly.holds())
            QSKIP("this system lets the test write into a read-only folder");
        AppPath::setFolder(folder.path());
        game.messages.clear();
        FormMain &form = game.load();
        QCOMPARE(game.messages.count(), 0);
        QVERIFY(form.state().menuSetting_FontBold.Checked());
        QCOMPARE(form.state().strTotalTime.toString(), QStringLiteral("00:01:05"));
        QVERIFY(form.state().cmdContinue.Enabled());
        game.click(QStringLiteral("cmdContinue"));
        QCOMPARE(form.state().GetNumberOrder, id);
        QCOMPARE(form.state().labelTime.Caption(), QStringLiteral("00:01:05"));

        // Written from now on to the player's folder, the program folder's
        // save counting as the one to replace.
        game.messages.answerNext(MessageBox::Answer::Yes);
        game.click(QStringLiteral("cmdSave"));
        QCOMPARE(game.messages.shown().first().text, QStringLiteral("是否覆盖上次的记录？"));
        QCOMPARE(game.messages.last().text, QStringLiteral("存盘操作完成！"));
        game.form().close();
        QCOMPARE(FileBytes::read(folder.userDataFile(QStringLiteral("setting"))), settingWith(19, "True"));
        QVERIFY(FileBytes::read(folder.userDataFile(QStringLiteral("grade")))
                    .contains("[TotalTime]\r\n00:01:05\r\n"));
        QVERIFY(FileBytes::read(folder.userDataFile(QStringLiteral("save"))).contains("\r\n00:01:05\r\n"));
        QByteArray after;
        for (const char *name : { "setting", "grade", "save" })
            after += FileBytes::read(folder.file(QLatin1String(name)));
        QCOMPARE(after, before);
    }

    void keepingOnScreenRestsUntilTheWindowMoves()
    {
        GameHarness game;
        FormMain &form = game.load();
        // Standing still, the window needs no watching.
        QTRY_VERIFY_WITH_TIMEOUT(!form.state().Timer2.isActive(), 3000);
        // Moved partly off the screen, it is pulled back as before.
        const QRect screen = form.screen()->geometry();
        form.move(screen.right() - form.width() / 2, screen.bottom() - form.height() / 2);
        QTRY_VERIFY_WITH_TIMEOUT(screen.contains(form.frameGeometry()), 1000);
    }

    void titleBarDragsTheWindow()
    {
        GameHarness game;
        FormMain &form = game.load();
        form.move(100, 100);
        QWidget *title = form.view(QStringLiteral("picTitle"));
        const QPointF to = GameHarness::pressAndDrag(title, QPoint(200, 10), QPointF(40, 25));
        QCOMPARE(form.pos(), QPoint(140, 125));
        QTest::mouseRelease(title, Qt::LeftButton, {}, title->mapFromGlobal(to.toPoint()));
        QMouseEvent after(QEvent::MouseMove, QPointF(5, 5), title->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(title, &after);
        QCOMPARE(form.pos(), QPoint(140, 125));
    }

    void everyCommandButtonActs()
    {
        GameHarness game;
        FormMain &form = game.startGame();
        game.click(QStringLiteral("cmdSave"));
        QCOMPARE(game.messages.last().text, QStringLiteral("存盘操作完成！"));
        const QString id = form.state().GetNumberOrder;
        game.click(QStringLiteral("cmdNext"));
        game.solve();
        game.click(QStringLiteral("cmdFinished"));
        QVERIFY(game.messages.last().text.startsWith(QStringLiteral("恭喜你")));
        form.Form_Load();
        QVERIFY(form.state().cmdContinue.Enabled());
        game.click(QStringLiteral("cmdContinue"));
        QCOMPARE(form.state().IsContinuedGame, qint16(-1));
        QCOMPARE(form.state().GetNumberOrder, id);
        game.click(QStringLiteral("cmdExit"));
        QVERIFY(!form.isVisible());
    }

    void aboutMenuAndF1OpenTheirWindows()
    {
        GameHarness game;
        FormMain &form = game.load();
        auto topLevelTitled = [](const QString &part) {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w->isVisible() && w->windowTitle().contains(part))
                    return true;
            return false;
        };
        QTest::keyRelease(&form, Qt::Key_F1);
        QVERIFY(topLevelTitled(QStringLiteral("帮助")));
        game.trigger(QStringLiteral("menuAbout_AboutMe"));
        QCOMPARE(game.sound.effects().last(), QStringLiteral("D_bubble.wav"));
        const QWidgetList windows = QApplication::topLevelWidgets();
        QVERIFY(std::any_of(windows.cbegin(), windows.cend(),
            [](QWidget *w) { return w->isVisible() && w->objectName() == QLatin1String("formAbout"); }));
    }

    void outputCommandsFromTheMenu()
    {
        GameHarness game;
        FormMain &form = game.load();
        QVERIFY(!form.action(QStringLiteral("menuGame_CopyToClipboard"))->isEnabled());
        game.click(QStringLiteral("cmdStart"));
        game.trigger(QStringLiteral("menuGame_CopyToClipboard"));
        QCOMPARE(game.messages.last().title, QStringLiteral("复制到剪贴板"));
        QCOMPARE(QGuiApplication::clipboard()->text().size(), 81);
        game.trigger(QStringLiteral("menuGame_Print"));
        // The print window hides the main window while it is open.
        QVERIFY(!form.isVisible());
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible() && w != &form)
                w->close();
        QTRY_VERIFY(form.isVisible());
        game.trigger(QStringLiteral("menuGame_SavePicture"));
        QVERIFY(!form.isEnabled());
    }

    void minimisedWindowShowsItsTitle()
    {
        GameHarness game;
        FormMain &form = game.load();
        form.setWindowState(Qt::WindowMinimized);
        QEvent change(QEvent::WindowStateChange);
        QApplication::sendEvent(&form, &change);
        QCOMPARE(form.windowTitle(), QStringLiteral("数独 VEXA SUDOKU I"));
        form.setWindowState(Qt::WindowNoState);
        QApplication::sendEvent(&form, &change);
        QCOMPARE(form.windowTitle(), QString());
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
