#include "ScreenGeometry.h"

#include <QtTest>

class TestScreenGeometry : public QObject
{
    Q_OBJECT

private slots:
    void monitorUnderTheWindow_data()
    {
        // A wide monitor on the left and a lower, smaller one on its right,
        // their tops level: below the right one lies no monitor at all.
        QTest::addColumn<QRect>("window");
        QTest::addColumn<QRect>("monitor");
        const QRect left(0, 0, 1920, 1080);
        const QRect right(1920, 0, 1280, 800);
        QTest::newRow("inside the left") << QRect(100, 100, 400, 300) << left;
        QTest::newRow("inside the right") << QRect(2000, 100, 400, 300) << right;
        QTest::newRow("across, middle on the right") << QRect(1800, 100, 400, 300) << right;
        QTest::newRow("across, middle on the left") << QRect(1600, 100, 400, 300) << left;
        // Middle in the gap below the right monitor: the one it overlaps
        // most.
        QTest::newRow("middle off both, overlapping") << QRect(1800, 700, 600, 300) << right;
        // Off the desktop altogether: the nearest.
        QTest::newRow("below the right") << QRect(2800, 1200, 400, 300) << right;
        QTest::newRow("far left") << QRect(-3000, 200, 400, 300) << left;
    }

    void monitorUnderTheWindow()
    {
        QFETCH(QRect, window);
        QFETCH(QRect, monitor);
        const QList<QRect> monitors { QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 800) };
        QCOMPARE(ScreenGeometry::pick(monitors, window), monitor);
    }

    void noMonitorGivesNothing() { QVERIFY(ScreenGeometry::pick({}, QRect(0, 0, 10, 10)).isEmpty()); }

    void windowIsKeptOnItsMonitor_data()
    {
        // The right-hand monitor of two, 1280 x 800 at 1920,0.
        QTest::addColumn<QRect>("window");
        QTest::addColumn<QPoint>("place");
        QTest::newRow("wholly on it") << QRect(2000, 100, 400, 300) << QPoint(2000, 100);
        QTest::newRow("over the right edge") << QRect(3000, 100, 400, 300) << QPoint(2800, 100);
        QTest::newRow("over the bottom edge") << QRect(2000, 700, 400, 300) << QPoint(2000, 500);
        QTest::newRow("over the left edge") << QRect(1900, -20, 400, 300) << QPoint(1920, 0);
        // Larger than the monitor: its top-left corner stays on it.
        QTest::newRow("taller than it") << QRect(2000, 100, 400, 900) << QPoint(2000, 0);
        QTest::newRow("wider than it") << QRect(2500, 100, 1400, 300) << QPoint(1920, 100);
    }

    void windowIsKeptOnItsMonitor()
    {
        QFETCH(QRect, window);
        QFETCH(QPoint, place);
        QCOMPARE(ScreenGeometry::keptOn(QRect(1920, 0, 1280, 800), window), place);
    }
};

QTEST_GUILESS_MAIN(TestScreenGeometry)
#include "tst_screengeometry.moc"
