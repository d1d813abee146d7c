#include "BoardColors.h"
#include "Difficulty.h"
#include "GameState.h"
#include "ModuleEmptySetting.h"
#include "RandomSource.h"
#include "ScriptedMessages.h"

#include <QtTest>

namespace {

// Lays a full board in black, as a new puzzle arrives.
void layOut(GameState &form)
{
    for (int i = 0; i < 81; ++i) {
        form.L(i).setCaption(QString::number(i % 9 + 1));
        form.L(i).setForeColor(0);
    }
    form.lEmptyColorValue = QString::number(BoardColors::kPlayer);
}

int emptyCount(const GameState &form)
{
    int n = 0;
    for (int i = 0; i < 81; ++i)
        n += form.L(i).Caption().isEmpty() ? 1 : 0;
    return n;
}

} // namespace

class TestBlanking : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { RandomSource::setFixedClockSeed(std::nullopt); }

    void blanksAtMostTheDrawsAndNeverTheLastCell_data()
    {
        QTest::addColumn<QString>("difficulty");
        QTest::addColumn<int>("draws");
        QTest::addColumn<double>("expectedMean");
        // The mean of distinct cells hit by n draws among 80.
        for (const Difficulty::Level &level : Difficulty::levels())
            QTest::newRow(level.word)
                << level.wordText() << level.draws << 80 * (1 - std::pow(79.0 / 80, level.draws));
    }

    void blanksAtMostTheDrawsAndNeverTheLastCell()
    {
        QFETCH(QString, difficulty);
        QFETCH(int, draws);
        QFETCH(double, expectedMean);
        GameState form;
        form.Difficulty = difficulty;
        QCOMPARE(Difficulty::drawsFor(difficulty), draws);
        double total = 0;
        const int rounds = 400;
        for (int seed = 0; seed < rounds; ++seed) {
            RandomSource::setFixedClockSeed(quint32(seed * 7919));
            layOut(form);
            ModuleEmptySetting::EmptySetting(form);
            const int empty = emptyCount(form);
            QVERIFY(empty >= 1);
            QVERIFY(empty <= draws);
            QCOMPARE(form.L(80).Caption(), QStringLiteral("9"));
            QCOMPARE(form.L(80).ForeColor(), 0);
            for (int i = 0; i < 81; ++i) {
                // Emptied cells become player cells; the clues stay black.
                QCOMPARE(form.L(i).ForeColor(), form.L(i).Caption().isEmpty() ? BoardColors::kPlayer : 0);
            }
            total += empty;
        }
        const double mean = total / rounds;
        QVERIFY2(std::abs(mean - expectedMean) < 1.5, qPrintable(QString::number(mean)));
    }

    void otherWordsBlankNothing_data()
    {
        QTest::addColumn<QString>("difficulty");
        QTest::newRow("capitalised") << "Easy";
        QTest::newRow("upper case") << "HARD";
        QTest::newRow("empty") << "";
        QTest::newRow("blank after") << "medium ";
    }

    void otherWordsBlankNothing()
    {
        QFETCH(QString, difficulty);
        GameState form;
        layOut(form);
        form.Difficulty = difficulty;
        ModuleEmptySetting::EmptySetting(form);
        QCOMPARE(emptyCount(form), 0);
        for (int i = 0; i < 81; ++i)
            QCOMPARE(form.L(i).ForeColor(), 0);
    }

    void secondCallOnlyEmptiesMore()
    {
        GameState form;
        layOut(form);
        form.Difficulty = QStringLiteral("easy");
        RandomSource::setFixedClockSeed(1234);
        ModuleEmptySetting::EmptySetting(form);
        QStringList before;
        for (int i = 0; i < 81; ++i)
            before << form.L(i).Caption();
        RandomSource::setFixedClockSeed(98765);
        ModuleEmptySetting::EmptySetting(form);
        int grew = 0;
        for (int i = 0; i < 81; ++i) {
            if (before.at(i).isEmpty())
                QVERIFY(form.L(i).Caption().isEmpty());
            else if (form.L(i).Caption().isEmpty())
                ++grew;
        }
        QVERIFY(grew > 0);
    }

    void seedingFromTheClockVaries()
    {
        // Two games started in the same second must not get the same holes.
        GameState a;
        GameState b;
        layOut(a);
        layOut(b);
        a.Difficulty = b.Difficulty = QStringLiteral("hard");
        ModuleEmptySetting::EmptySetting(a);
        ModuleEmptySetting::EmptySetting(b);
        bool differ = false;
        for (int i = 0; i < 81; ++i)
            differ = differ || a.L(i).Caption() != b.L(i).Caption();
        QVERIFY(differ);
    }

    void badPlayerColourStopsWithOneMessage()
    {
        GameState form;
        layOut(form);
        form.Difficulty = QStringLiteral("medium");
        form.lEmptyColorValue = QStringLiteral("green");
        ScriptedMessages messages;
        ModuleEmptySetting::EmptySetting(form);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().icon, MessageBox::Icon::Critical);
        QCOMPARE(messages.last().title, QStringLiteral("出错"));
        QCOMPARE(messages.last().text, QStringLiteral("类型不匹配"));
        // The cell emptied before the failure stays empty; no cell got a colour.
        QCOMPARE(emptyCount(form), 1);
        for (int i = 0; i < 81; ++i)
            QCOMPARE(form.L(i).ForeColor(), 0);
    }
};

QTEST_GUILESS_MAIN(TestBlanking)
#include "tst_blanking.moc"
