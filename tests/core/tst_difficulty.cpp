#include "Difficulty.h"
#include "GameState.h"

#include <QtTest>

// The table of levels that the new game, the blanking, the window, the save
// and Continue all read.
class TestDifficulty : public QObject
{
    Q_OBJECT

private slots:
    void lookUpsAreExact()
    {
        for (const Difficulty::Level &level : Difficulty::levels()) {
            QCOMPARE(Difficulty::withOption(level.option), &level);
            QCOMPARE(Difficulty::withMenuItem(level.menuItem), &level);
            QCOMPARE(Difficulty::withWord(level.wordText()), &level);
            QCOMPARE(Difficulty::withSavedWord(level.savedWordText()), &level);
            QCOMPARE(Difficulty::drawsFor(level.wordText()), level.draws);
        }
        // The words are compared case-sensitively, as the game reads them.
        QCOMPARE(Difficulty::withWord(QStringLiteral("Easy")), nullptr);
        QCOMPARE(Difficulty::withSavedWord(QStringLiteral("hard")), nullptr);
        QCOMPARE(Difficulty::drawsFor(QStringLiteral("medium ")), 0);
        QCOMPARE(Difficulty::withOption(&GameState::cmdStart), nullptr);
    }

    void theLastSelectedOptionCounts()
    {
        GameState form;
        for (const Difficulty::Level &level : Difficulty::levels())
            (form.*level.option).setValue(false);
        QCOMPARE(Difficulty::selected(form), nullptr);
        const auto levels = Difficulty::levels();
        // Selecting from code takes the other options' selection.
        (form.*levels[0].option).setValue(true);
        QCOMPARE(Difficulty::selected(form), &levels[0]);
        (form.*levels[2].option).setValue(true);
        QCOMPARE(Difficulty::selected(form), &levels[2]);
        QVERIFY(!(form.*levels[0].option).Value());
    }

    void choiceOpensAndLocksAllItsControls()
    {
        GameState form;
        Difficulty::enableChoice(form, false);
        QVERIFY(!form.Frame1.Enabled() && !form.menuDo_Difficoulty.Enabled());
        for (const Difficulty::Level &level : Difficulty::levels())
            QVERIFY(!(form.*level.option).Enabled());
        Difficulty::enableChoice(form, true);
        QVERIFY(form.Frame1.Enabled() && form.menuDo_Difficoulty.Enabled());
        for (const Difficulty::Level &level : Difficulty::levels())
            QVERIFY((form.*level.option).Enabled());

        Difficulty::checkMenuItem(form, Difficulty::levels()[2]);
        for (const Difficulty::Level &level : Difficulty::levels())
            QCOMPARE((form.*level.menuItem).Checked(), &level == &Difficulty::levels()[2]);
    }
};

QTEST_GUILESS_MAIN(TestDifficulty)
#include "tst_difficulty.moc"
