#include "Clock.h"
#include "GameClock.h"
#include "GameState.h"
#include "ModuleClock.h"

#include <QtTest>

namespace {
constexpr qint64 kSecond = 1000;
constexpr qint64 kMinute = 60 * kSecond;
constexpr qint64 kHour = 60 * kMinute;

// A main window that reports a chosen place and screen and records where
// the game moves it.
class FakeWindow : public GameWindow
{
public:
    QRect rect;
    QRect screen;
    bool minimized = false;
    QList<QPoint> moves;
    int drags = 0;

    QRect windowRect() const override { return rect; }
    QRect screenRect() const override { return screen; }
    bool isWindowMinimized() const override { return minimized; }
    void moveWindow(int left, int top) override
    {
        moves << QPoint(left, top);
        rect.moveTo(left, top);
    }
    void dragWindow() override { ++drags; }
};

QDateTime at(int day, int h, int m, int s)
{
    return QDateTime(QDate(2024, 3, day), QTime(h, m, s), Qt::UTC);
}

QString tick(GameState &form)
{
    ModuleClock::Timer1_Timer(form);
    return form.labelTime.Caption();
}
} // namespace

class TestClock : public QObject
{
    Q_OBJECT

private slots:
    void init() { Clock::setFixed(at(1, 10, 0, 0)); }
    void cleanup() { Clock::reset(); }

    void startingRunsTheClockFromNoughtAtOnce()
    {
        GameState form;
        form.labelTime.setVisible(false);
        form.labelTime.setCaption(QStringLiteral("00:07:00"));
        form.Timer1.setInterval(5);
        GameClock::start(form);
        QVERIFY(form.Timer1.isActive());
        QCOMPARE(form.Timer1.interval(), 1000);
        QVERIFY(form.labelTime.Visible());
        // Not the last game's time until the first tick.
        QCOMPARE(form.labelTime.Caption(), QStringLiteral("00:00:00"));
        QCOMPARE(form.timeStart, Clock::now());
        form.Timer1.stop();
    }

    void firstTickShowsOneSecond()
    {
        GameState form;
        GameClock::start(form);
        Clock::advance(kSecond);
        QCOMPARE(tick(form), QStringLiteral("00:00:01"));
        QCOMPARE(form.timeEnd, Clock::now());
        // Fractions of a second are cut, not rounded.
        Clock::advance(999);
        QCOMPARE(tick(form), QStringLiteral("00:00:01"));
        form.Timer1.stop();
    }

    void restartCountsFromNought()
    {
        GameState form;
        GameClock::start(form);
        Clock::advance(5 * kMinute);
        QCOMPARE(tick(form), QStringLiteral("00:05:00"));
        GameClock::start(form);
        QCOMPARE(tick(form), QStringLiteral("00:00:00"));
        Clock::advance(kSecond);
        QCOMPARE(tick(form), QStringLiteral("00:00:01"));
        form.Timer1.stop();
    }

    void continuedGameAddsTheSavedTime_data()
    {
        QTest::addColumn<int>("continued");
        QTest::addColumn<QString>("savedTime");
        QTest::addColumn<QString>("shown");
        QTest::newRow("continued") << -1 << "00:10:00"
                                   << "00:10:01";
        QTest::newRow("new game ignores it") << 0 << "00:10:00"
                                             << "00:00:01";
        QTest::newRow("saved time unreadable") << -1 << "ten minutes"
                                               << "00:00:01";
        QTest::newRow("saved time empty") << -1 << ""
                                          << "00:00:01";
        QTest::newRow("wraps past midnight") << -1 << "23:59:59"
                                             << "00:00:00";
    }

    void continuedGameAddsTheSavedTime()
    {
        QFETCH(int, continued);
        QFETCH(QString, savedTime);
        QFETCH(QString, shown);
        GameState form;
        form.IsContinuedGame = qint16(continued);
        form.strSavedTime = savedTime;
        GameClock::start(form);
        Clock::advance(kSecond);
        QCOMPARE(tick(form), shown);
        form.Timer1.stop();
    }

    void gameAcrossMidnightShowsTheTrueTime()
    {
        Clock::setFixed(at(1, 23, 59, 58));
        GameState form;
        GameClock::start(form);
        Clock::setFixed(at(2, 0, 0, 1));
        QCOMPARE(tick(form), QStringLiteral("00:00:03"));
        form.Timer1.stop();
    }

    void longerThanADayWraps()
    {
        GameState form;
        GameClock::start(form);
        Clock::advance(25 * kHour + 2 * kSecond);
        QCOMPARE(tick(form), QStringLiteral("01:00:02"));
        form.Timer1.stop();
    }

    void keepsTheWindowOnTheScreen_data()
    {
        // Twips: a 6000 x 5000 window on a 1024 x 768 monitor, which is the
        // whole desktop, or the second one, right of or below the first.
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("window");
        QTest::addColumn<bool>("moved");
        QTest::addColumn<QPoint>("to");
        const QRect only(0, 0, 15360, 11520);
        QTest::newRow("inside") << only << QRect(3000, 2000, 6000, 5000) << false << QPoint();
        QTest::newRow("touching the corner") << only << QRect(9360, 6520, 6000, 5000) << false << QPoint();
        QTest::newRow("below the bottom")
            << only << QRect(3000, 8000, 6000, 5000) << true << QPoint(3000, 6520);
        QTest::newRow("past the right")
            << only << QRect(12000, 2000, 6000, 5000) << true << QPoint(9360, 2000);
        QTest::newRow("above the top") << only << QRect(3000, -300, 6000, 5000) << true << QPoint(3000, 0);
        QTest::newRow("past the left") << only << QRect(-450, 2000, 6000, 5000) << true << QPoint(0, 2000);
        QTest::newRow("bottom right")
            << only << QRect(14000, 11000, 6000, 5000) << true << QPoint(9360, 6520);
        QTest::newRow("larger than the screen")
            << only << QRect(100, 100, 20000, 12000) << true << QPoint(0, 0);
        QTest::newRow("larger, already at the origin")
            << only << QRect(0, 0, 20000, 12000) << false << QPoint();

        const QRect right(15360, 0, 15360, 11520);
        QTest::newRow("right monitor, inside")
            << right << QRect(20000, 2000, 6000, 5000) << false << QPoint();
        QTest::newRow("right monitor, past its right")
            << right << QRect(27000, 2000, 6000, 5000) << true << QPoint(24720, 2000);
        QTest::newRow("right monitor, past its left")
            << right << QRect(15000, 2000, 6000, 5000) << true << QPoint(15360, 2000);
        const QRect below(0, 11520, 15360, 11520);
        QTest::newRow("lower monitor, inside")
            << below << QRect(3000, 14000, 6000, 5000) << false << QPoint();
        QTest::newRow("lower monitor, past its bottom")
            << below << QRect(3000, 19000, 6000, 5000) << true << QPoint(3000, 18040);
    }

    void keepsTheWindowOnTheScreen()
    {
        QFETCH(QRect, screen);
        QFETCH(QRect, window);
        QFETCH(bool, moved);
        QFETCH(QPoint, to);
        FakeWindow fake;
        fake.rect = window;
        fake.screen = screen;
        GameState form;
        form.setWindow(&fake);
        ModuleClock::Timer2_Timer(form);
        if (moved) {
            QCOMPARE(fake.moves, QList<QPoint> { to });
            // Once back on the screen it stays put.
            ModuleClock::Timer2_Timer(form);
            QCOMPARE(fake.moves.size(), 1);
        } else {
            QVERIFY(fake.moves.isEmpty());
        }
    }

    void minimisedWindowIsLeftAlone()
    {
        FakeWindow fake;
        fake.rect = QRect(-5000, 20000, 6000, 5000);
        fake.screen = QRect(0, 0, 15360, 11520);
        fake.minimized = true;
        GameState form;
        form.setWindow(&fake);
        ModuleClock::Timer2_Timer(form);
        QVERIFY(fake.moves.isEmpty());
    }

    void pressingTheTimeDragsTheWindow()
    {
        FakeWindow fake;
        GameState form;
        form.setWindow(&fake);
        ModuleClock::labelTime_MouseDown(form);
        QCOMPARE(fake.drags, 1);
    }
};

QTEST_GUILESS_MAIN(TestClock)
#include "tst_clock.moc"
