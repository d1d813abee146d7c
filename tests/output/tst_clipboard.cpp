#include "BoardColors.h"
#include "GameHarness.h"
#include "ModuleClipboard.h"

#include <QClipboard>
#include <QtTest>

namespace {

// What the string must be: the given digits of the puzzle, 0 elsewhere.
QString givenDigits(const GameState &form, const QList<int> &playerCells)
{
    QString text;
    for (int i = 0; i < GameState::kCells; ++i)
        text += playerCells.contains(i) ? QStringLiteral("0")
                                        : QString::number(form.SolutionNumber[std::size_t(i)]);
    return text;
}

} // namespace

class TestClipboard : public QObject
{
    Q_OBJECT

private slots:
    void copiesTheGivenDigits_data()
    {
        QTest::addColumn<bool>("solved");
        QTest::newRow("fresh puzzle") << false;
        QTest::newRow("after the player's entries") << true;
    }

    void copiesTheGivenDigits()
    {
        QFETCH(bool, solved);
        GameHarness game;
        GameState &form = game.startGame().state();
        const QList<int> player = game.playerCells();
        QVERIFY(!player.isEmpty());
        if (solved) {
            game.solve();
            for (const int i : player)
                QVERIFY(!form.L(i).Caption().isEmpty());
        }
        QGuiApplication::clipboard()->setText(QStringLiteral("old"));

        ModuleClipboard::menuGame_CopyToClipboard_Click(form);
        const QString text = QGuiApplication::clipboard()->text();
        QCOMPARE(text.size(), 81);
        QCOMPARE(text, givenDigits(form, player));
        QCOMPARE(text.count(QLatin1Char('0')), player.size());
        QCOMPARE(game.messages.count(), 1);
        QCOMPARE(game.messages.last().icon, MessageBox::Icon::Information);
        QCOMPARE(game.messages.last().title, QStringLiteral("复制到剪贴板"));
        QCOMPARE(game.messages.last().text, QStringLiteral("已经把该题数字串放置到剪贴板中 ！"));
    }

    void everyCellButABlackDigitIsZero_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("foreColor");
        QTest::addColumn<QChar>("expected");
        QTest::newRow("black digit") << "7" << 0 << QChar('7');
        QTest::newRow("black but empty") << "" << 0 << QChar('0');
        QTest::newRow("player's digit") << "7" << 0xFF0000 << QChar('0');
        QTest::newRow("wrong digit in red") << "3" << BoardColors::kWrong << QChar('0');
    }

    void everyCellButABlackDigitIsZero()
    {
        QFETCH(QString, caption);
        QFETCH(int, foreColor);
        QFETCH(QChar, expected);
        GameState form;
        form.L(40).setCaption(caption);
        form.L(40).setForeColor(foreColor);
        form.L(80).setCaption(QStringLiteral("9"));
        const QString text = ModuleClipboard::puzzleText(form);
        QCOMPARE(text.size(), 81);
        QCOMPARE(text.at(40), expected);
        QCOMPARE(text.at(80), QChar('9'));
        QCOMPARE(text.count(QLatin1Char('0')), expected == QChar('0') ? 80 : 79);
    }

    void emptyBoardIsAllZeros()
    {
        GameHarness game;
        game.load();
        ModuleClipboard::menuGame_CopyToClipboard_Click(game.state());
        QCOMPARE(QGuiApplication::clipboard()->text(), QString(81, QLatin1Char('0')));
    }
};

QTEST_MAIN(TestClipboard)
#include "tst_clipboard.moc"
