#include "RandomSource.h"

#include <QSet>
#include <QtTest>

class TestRandomSource : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { RandomSource::setFixedClockSeed(std::nullopt); }

    void valuesLieInTheUnitInterval()
    {
        RandomSource::setState(0);
        QSet<int> eighths;
        for (int i = 0; i < 100000; ++i) {
            const double r = RandomSource::next();
            QVERIFY(r >= 0.0 && r < 1.0);
            eighths.insert(int(r * 8 + 1));
        }
        QCOMPARE(eighths, (QSet<int> { 1, 2, 3, 4, 5, 6, 7, 8 }));
    }

    void reseedingWithZeroKeepsDrawsVarying()
    {
        // Mixing in 0 before each draw must not restart a fixed sequence:
        // otherwise every game would draw the same puzzle.
        RandomSource::setState(0x123456);
        QSet<int> drawn;
        for (int i = 0; i < 64; ++i) {
            RandomSource::randomize(0);
            drawn.insert(int(RandomSource::next() * 8 + 1));
        }
        QVERIFY2(drawn.size() >= 6, qPrintable(QString::number(drawn.size())));
    }

    void randomizeMixesTheSeedIntoTheState()
    {
        RandomSource::setState(0x0000AB);
        RandomSource::randomize(43200.5);
        const quint32 a = RandomSource::state();
        RandomSource::setState(0x0000AB);
        RandomSource::randomize(43201.5);
        QVERIFY(a != RandomSource::state());
        // The low byte of the state survives.
        QCOMPARE(a & 0xFF, 0xABu);
    }

    void clockSeedsDifferWithinOneSecond()
    {
        RandomSource::randomizeFromClock();
        const quint32 a = RandomSource::state();
        RandomSource::randomizeFromClock();
        QVERIFY(a != RandomSource::state());
    }

    void fixedClockSeedRepeats()
    {
        RandomSource::setFixedClockSeed(42);
        RandomSource::randomizeFromClock();
        const double a = RandomSource::next();
        RandomSource::randomizeFromClock();
        QCOMPARE(RandomSource::next(), a);
    }
};

QTEST_GUILESS_MAIN(TestRandomSource)
#include "tst_randomsource.moc"
