#include "Difficulty.h"
#include "FileSizeLimit.h"
#include "GameHarness.h"
#include "ModuleSaveFiles.h"

#include <QDir>
#include <QLocale>
#include <QtTest>

namespace {

const QString kTitle = QStringLiteral("数独SUDOKU 存盘");
const QString kDone = QStringLiteral("存盘操作完成！");
const QString kOverwrite = QStringLiteral("是否覆盖上次的记录？");
const QString kFailed = QStringLiteral("存盘失败！\r\n");

// The file the game should have written for the board as it stands.
QByteArray expectedFile(GameState &form, const QString &time, const QString &difficulty)
{
    QByteArray bytes = " " + form.GetNumberOrder.toLatin1() + " \r\n" + time.toLatin1() + "\r\n"
        + difficulty.toLatin1() + "\r\n";
    for (int i = 0; i < 81; ++i) {
        const QString caption = form.L(i).Caption();
        bytes += QStringLiteral("%1,%2,%3\r\n")
                     .arg(i, 2, 10, QLatin1Char('0'))
                     .arg(caption.isEmpty() ? QStringLiteral("0") : caption)
                     .arg(form.L(i).ForeColor())
                     .toLatin1();
    }
    return bytes + QLocale::system().toString(QDate(2026, 12, 8), QLocale::ShortFormat).toLocal8Bit()
        + "\r\n";
}

void startAndPlay(GameHarness &game)
{
    game.startGame();
    const QList<int> player = game.playerCells();
    QVERIFY(player.size() >= 3);
    for (int n = 0; n < 3; ++n) {
        const int i = player.at(n);
        game.enter(i, QChar('0' + game.state().SolutionNumber[std::size_t(i)]));
    }
}

} // namespace

class TestSaveGame : public QObject
{
    Q_OBJECT

private slots:
    void firstSaveWritesWithoutAsking()
    {
        GameHarness game;
        startAndPlay(game);
        GameState &form = game.state();
        game.tick(754);
        QCOMPARE(form.labelTime.Caption(), QStringLiteral("00:12:34"));
        game.sound.clear();
        game.messages.clear();
        ModuleSaveFiles::cmdSave_Click(form);

        QCOMPARE(game.sound.effects(), QStringList { QStringLiteral("D_bubble.wav") });
        QCOMPARE(form.strLastFinishedTime.toString(), QStringLiteral("00:12:34"));
        QCOMPARE(game.messages.count(), 1);
        QCOMPARE(game.messages.last().icon, MessageBox::Icon::Information);
        QCOMPARE(game.messages.last().title, kTitle);
        QCOMPARE(game.messages.last().text, kDone);
        QCOMPARE(game.messages.last().buttons, MessageBox::Buttons::Ok);
        const QByteArray saved = game.file(QStringLiteral("save"));
        QCOMPARE(saved, expectedFile(form, QStringLiteral("00:12:34"), QStringLiteral("Medium")));
        // Given cells, typed digits and empty player cells all went in.
        QVERIFY(saved.contains(",0,50232\r\n"));
        QVERIFY(saved.contains(",0\r\n"));
        // The game goes on.
        QVERIFY(form.Timer1.isActive());
        QVERIFY(form.cmdSave.Enabled());
    }

    void bubbleSoundsBeforeTheSaveIsReported()
    {
        GameHarness game;
        startAndPlay(game);
        QStringList effectsWhenShown;
        MessageBox::setHandler([&](const MessageBox::Request &request) {
            effectsWhenShown = game.sound.effects();
            return request.defaultButton;
        });
        game.sound.clear();
        ModuleSaveFiles::cmdSave_Click(game.state());
        QCOMPARE(effectsWhenShown, QStringList { QStringLiteral("D_bubble.wav") });
        QVERIFY(!game.file(QStringLiteral("save")).isEmpty());
    }

    void secondSaveAsksFirst_data()
    {
        QTest::addColumn<QList<MessageBox::Answer>>("script");
        QTest::addColumn<bool>("overwrite");
        QTest::newRow("No") << QList<MessageBox::Answer> { MessageBox::Answer::No } << false;
        QTest::newRow("default button") << QList<MessageBox::Answer> {} << false;
        QTest::newRow("Yes") << QList<MessageBox::Answer> { MessageBox::Answer::Yes } << true;
    }

    void secondSaveAsksFirst()
    {
        QFETCH(QList<MessageBox::Answer>, script);
        QFETCH(bool, overwrite);
        GameHarness game;
        startAndPlay(game);
        GameState &form = game.state();
        game.tick(60);
        ModuleSaveFiles::cmdSave_Click(form);
        const QByteArray first = game.file(QStringLiteral("save"));
        QVERIFY(first.contains("\r\n00:01:00\r\n"));

        const int cell = game.playerCells().last();
        game.enter(cell, QChar('0' + form.SolutionNumber[std::size_t(cell)]));
        game.tick(5);
        game.messages.clear();
        game.sound.clear();
        for (const MessageBox::Answer answer : script)
            game.messages.answerNext(answer);
        ModuleSaveFiles::cmdSave_Click(form);

        QCOMPARE(game.sound.effects(), QStringList { QStringLiteral("D_bubble.wav") });
        QCOMPARE(game.messages.count(), overwrite ? 2 : 1);
        const MessageBox::Request &question = game.messages.shown().first();
        QCOMPARE(question.icon, MessageBox::Icon::Question);
        QCOMPARE(question.title, kTitle);
        QCOMPARE(question.text, kOverwrite);
        QCOMPARE(question.buttons, MessageBox::Buttons::YesNo);
        QCOMPARE(question.defaultButton, MessageBox::Answer::No);
        if (overwrite) {
            QCOMPARE(game.messages.last().text, kDone);
            QCOMPARE(game.file(QStringLiteral("save")),
                expectedFile(form, QStringLiteral("00:01:05"), QStringLiteral("Medium")));
        } else {
            QCOMPARE(game.file(QStringLiteral("save")), first);
        }
    }

    void failedWriteKeepsThePreviousSave_data()
    {
        QTest::addColumn<bool>("folderInTheWay");
        QTest::newRow("a folder named save") << true;
        QTest::newRow("disk full") << false;
    }

    void failedWriteKeepsThePreviousSave()
    {
        QFETCH(bool, folderInTheWay);
        GameHarness game;
        startAndPlay(game);
        GameState &form = game.state();
        const QString path = game.folder().file(QStringLiteral("save"));
        QByteArray before;
        if (folderInTheWay) {
            QVERIFY(QDir(game.folder().path()).mkpath(QStringLiteral("save/kept")));
        } else {
            ModuleSaveFiles::cmdSave_Click(form);
            before = game.file(QStringLiteral("save"));
            QVERIFY(!before.isEmpty());
        }
        QStringList captions;
        for (int i = 0; i < 81; ++i)
            captions << form.L(i).Caption();
        game.tick(30);
        game.messages.clear();
        game.messages.answerNext(MessageBox::Answer::Yes);
        if (folderInTheWay) {
            ModuleSaveFiles::cmdSave_Click(form);
        } else {
            FileSizeLimit limit(100);
            QVERIFY(limit.isActive());
            ModuleSaveFiles::cmdSave_Click(form);
        }

        QCOMPARE(game.messages.count(), 2);
        QCOMPARE(game.messages.shown().first().text, kOverwrite);
        const MessageBox::Request &report = game.messages.last();
        QCOMPARE(report.icon, MessageBox::Icon::Critical);
        QCOMPARE(report.title, kTitle);
        QVERIFY2(
            report.text.startsWith(kFailed) && report.text.size() > kFailed.size(), qPrintable(report.text));
        if (folderInTheWay) {
            QVERIFY(QFileInfo(path).isDir());
            QVERIFY(QFileInfo::exists(path + QStringLiteral("/kept")));
        } else {
            QCOMPARE(game.file(QStringLiteral("save")), before);
        }
        // Nothing is left half written beside it.
        QCOMPARE(QDir(game.folder().path()).entryList({ QStringLiteral("save*") }, QDir::AllEntries),
            QStringList { QStringLiteral("save") });
        // The game goes on as it was.
        for (int i = 0; i < 81; ++i)
            QCOMPARE(form.L(i).Caption(), captions.at(i));
        QVERIFY(form.Timer1.isActive());
        QVERIFY(form.cmdSave.Enabled());
        game.tick(1);
        QCOMPARE(form.labelTime.Caption(), QStringLiteral("00:00:31"));
    }

    void difficultyWordComesFromTheOptions_data()
    {
        QTest::addColumn<QString>("menuItem");
        QTest::addColumn<QString>("word");
        QTest::newRow("easy") << "menuDo_Difficoulty_Easy"
                              << "Easy";
        QTest::newRow("medium") << "menuDo_Difficoulty_Medium"
                                << "Medium";
        QTest::newRow("hard") << "menuDo_Difficoulty_Hard"
                              << "Hard";
        QTest::newRow("none selected") << ""
                                       << "";
    }

    void difficultyWordComesFromTheOptions()
    {
        QFETCH(QString, menuItem);
        QFETCH(QString, word);
        GameHarness game;
        GameState &form = game.load().state();
        if (!menuItem.isEmpty())
            game.trigger(menuItem);
        game.click(QStringLiteral("cmdStart"));
        if (menuItem.isEmpty()) {
            for (const Difficulty::Level &level : Difficulty::levels())
                (form.*level.option).setValue(false);
        }
        // Saving on its own takes the time the game holds, not the clock's.
        form.strLastFinishedTime = QStringLiteral("01:02:03");
        game.tick(9);
        game.sound.clear();
        QVERIFY(ModuleSaveFiles::SaveGame(form));
        QVERIFY(game.sound.effects().isEmpty());
        QCOMPARE(game.file(QStringLiteral("save")), expectedFile(form, QStringLiteral("01:02:03"), word));
    }
};

QTEST_MAIN(TestSaveGame)
#include "tst_savegame.moc"
