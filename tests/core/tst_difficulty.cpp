#include "Difficulty.h"
#include "GameState.h"

#include <QtTest>

// The one place the tests state the levels of the design (Parts 1.3, 1.4,
// 2.2, 4.2); other tests take them from the table.
class TestDifficulty : public QObject
{
    Q_OBJECT

private slots:
    void tableHoldsTheDesignsLevels()
    {
        GameState form;
        const auto levels = Difficulty::levels();
        QCOMPARE(levels.size(), std::size_t(3));
        const struct
        {
            const char *option;
            const char *menuItem;
            QString caption;
            const char *word;
            const char *savedWord;
            int draws;
        } design[] = {
            { "optEasy", "menuDo_Difficoulty_Easy", QStringLiteral("初级"), "easy", "Easy", 38 },
            { "optMedium", "menuDo_Difficoulty_Medium", QStringLiteral("普通"), "medium", "Medium", 54 },
            { "optHard", "menuDo_Difficoulty_Hard", QStringLiteral("高级"), "hard", "Hard", 68 },
        };
        for (std::size_t n = 0; n < levels.size(); ++n) {
            const Difficulty::Level &level = levels[n];
            QCOMPARE((form.*level.option).objectName(), QLatin1String(design[n].option));
            QCOMPARE((form.*level.menuItem).objectName(), QLatin1String(design[n].menuItem));
            QCOMPARE(level.captionText(), design[n].caption);
            QCOMPARE(level.wordText(), QLatin1String(design[n].word));
            QCOMPARE(level.savedWordText(), QLatin1String(design[n].savedWord));
            QCOMPARE(level.draws, design[n].draws);
        }
        QCOMPARE(&Difficulty::atStart(), &levels[1]);
    }

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
