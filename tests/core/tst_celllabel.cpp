#include "BoardColors.h"
#include "CellLabel.h"

#include <QtTest>

// The typed views of a cell over its caption and text colour.
class TestCellLabel : public QObject
{
    Q_OBJECT

private slots:
    void textColoursAreTheDesigns()
    {
        // The save file holds these; a file written before must still read.
        QCOMPARE(BoardColors::kGiven, 0);
        QCOMPARE(BoardColors::kPlayer, 50232); // RGB(56, 196, 0)
        QCOMPARE(BoardColors::kWrong, 255); // RGB(255, 0, 0)
    }

    void digitReadsOneDigitAlone_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("digit");
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("one") << "1" << 1;
        QTest::newRow("nine") << "9" << 9;
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("letter") << "a" << 0;
        QTest::newRow("two digits") << "12" << 0;
        QTest::newRow("blank") << " 5" << 0;
        QTest::newRow("full-width") << "５" << 0;
    }

    void digitReadsOneDigitAlone()
    {
        QFETCH(QString, text);
        QFETCH(int, digit);
        CellLabel cell(0);
        cell.setCaption(text);
        QCOMPARE(cell.digit(), digit);
        QCOMPARE(cell.isEmpty(), text.isEmpty());
        QCOMPARE(CellLabel::digitOf(text), digit);
    }

    void kindFollowsTheTextColour()
    {
        QCOMPARE(CellLabel::kindOf(BoardColors::kGiven), CellKind::Given);
        QCOMPARE(CellLabel::kindOf(BoardColors::kPlayer), CellKind::Player);
        QCOMPARE(CellLabel::kindOf(BoardColors::kWrong), CellKind::Wrong);
        // Any other colour is the player's too.
        QCOMPARE(CellLabel::kindOf(0xFF0000), CellKind::Player);
        // Before a game a cell is empty and given.
        CellLabel cell(3);
        QCOMPARE(cell.kind(), CellKind::Given);
        QVERIFY(cell.isEmpty());
    }

    void settersKeepCaptionAndColourInStep()
    {
        CellLabel cell(7);
        QSignalSpy captions(&cell, &CellLabel::captionChanged);
        cell.setGiven(4);
        QCOMPARE(cell.Caption(), QStringLiteral("4"));
        QCOMPARE(cell.kind(), CellKind::Given);
        cell.setBlank(BoardColors::kPlayer);
        QVERIFY(cell.isEmpty());
        QCOMPARE(cell.ForeColor(), BoardColors::kPlayer);
        cell.setDigit(6);
        QCOMPARE(cell.Caption(), QStringLiteral("6"));
        QCOMPARE(cell.kind(), CellKind::Player);
        cell.markWrong();
        QCOMPARE(cell.kind(), CellKind::Wrong);
        // Typing keeps the red until the next check.
        cell.setDigit(5);
        QCOMPARE(cell.kind(), CellKind::Wrong);
        cell.markRight(BoardColors::kPlayer);
        QCOMPARE(cell.ForeColor(), BoardColors::kPlayer);
        cell.setDigit(0);
        QVERIFY(cell.isEmpty());
        QCOMPARE(captions.count(), 5);
        cell.clear();
        QCOMPARE(cell.kind(), CellKind::Given);

        // A right given digit stays given.
        cell.setGiven(2);
        cell.markRight(BoardColors::kPlayer);
        QCOMPARE(cell.ForeColor(), BoardColors::kGiven);
    }
};

QTEST_GUILESS_MAIN(TestCellLabel)
#include "tst_celllabel.moc"
