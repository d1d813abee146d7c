#include "TimeText.h"

#include <QtTest>

namespace {
constexpr qint64 kSecond = 1000;
constexpr qint64 kHour = 3600 * kSecond;
constexpr qint64 kDay = 24 * kHour;

QDateTime at(int day, int h, int m, int s, int ms = 0)
{
    return QDateTime(QDate(2024, 3, day), QTime(h, m, s, ms), Qt::UTC);
}
} // namespace

class TestTimeText : public QObject
{
    Q_OBJECT

private slots:
    void format_data()
    {
        QTest::addColumn<qint64>("msecs");
        QTest::addColumn<QString>("text");
        QTest::newRow("rest") << qint64(0) << "00:00:00";
        QTest::newRow("one second") << kSecond << "00:00:01";
        QTest::newRow("fraction cut") << qint64(1999) << "00:00:01";
        QTest::newRow("below a second") << qint64(999) << "00:00:00";
        QTest::newRow("every field") << (kHour + 61 * kSecond) << "01:01:01";
        QTest::newRow("last of the day") << (kDay - 1) << "23:59:59";
        QTest::newRow("a whole day wraps") << kDay << "00:00:00";
        QTest::newRow("past a day") << (kDay + kHour + 61 * kSecond) << "01:01:01";
        QTest::newRow("ten days") << (10 * kDay + 5 * kSecond) << "00:00:05";
        QTest::newRow("negative second") << -kSecond << "23:59:59";
        QTest::newRow("negative fraction") << qint64(-500) << "23:59:59";
        QTest::newRow("negative day") << -kDay << "00:00:00";
    }

    void format()
    {
        QFETCH(qint64, msecs);
        QFETCH(QString, text);
        QCOMPARE(TimeText::format(msecs), text);
    }

    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("msecs"); // -1: rejected
        QTest::newRow("rest") << "00:00:00" << qint64(0);
        QTest::newRow("hh:mm:ss") << "12:34:56" << (12 * kHour + 34 * 60 * kSecond + 56 * kSecond);
        QTest::newRow("h:mm:ss") << "1:02:03" << (kHour + 123 * kSecond);
        QTest::newRow("hh:mm") << "12:30" << (12 * kHour + 30 * 60 * kSecond);
        QTest::newRow("last second") << "23:59:59" << (kDay - kSecond);
        QTest::newRow("blanks around") << "  07:05:00 " << (7 * kHour + 5 * 60 * kSecond);
        QTest::newRow("tab and CR") << "\t00:00:09\r" << 9 * kSecond;
        QTest::newRow("empty") << "" << qint64(-1);
        QTest::newRow("blanks only") << "   " << qint64(-1);
        QTest::newRow("letters") << "abc" << qint64(-1);
        QTest::newRow("letter in field") << "12:00:0x" << qint64(-1);
        QTest::newRow("hour 24") << "24:00:00" << qint64(-1);
        QTest::newRow("minute 60") << "12:60:00" << qint64(-1);
        QTest::newRow("second 60") << "12:00:60" << qint64(-1);
        QTest::newRow("one-digit minute") << "1:2:03" << qint64(-1);
        QTest::newRow("three-digit hour") << "100:00:00" << qint64(-1);
        QTest::newRow("four fields") << "12:00:00:00" << qint64(-1);
        QTest::newRow("dashes") << "12-00-00" << qint64(-1);
        QTest::newRow("negative") << "-1:00:00" << qint64(-1);
        QTest::newRow("blank inside") << "12: 00:00" << qint64(-1);
        QTest::newRow("full-width digits") << "１２:００:００" << qint64(-1);
        QTest::newRow("hours only") << "12" << qint64(-1);
    }

    void parse()
    {
        QFETCH(QString, text);
        QFETCH(qint64, msecs);
        const std::optional<qint64> value = TimeText::parse(text);
        if (msecs < 0) {
            QVERIFY2(!value, qPrintable(QString::number(value.value_or(0))));
        } else {
            QVERIFY(value);
            QCOMPARE(*value, msecs);
        }
    }

    void everyFormattedTimeParsesBack()
    {
        for (qint64 s = 0; s < kDay / kSecond; s += 7) {
            const QString text = TimeText::format(s * kSecond + 123);
            const std::optional<qint64> value = TimeText::parse(text);
            QVERIFY2(value && *value == s * kSecond, qPrintable(text));
        }
    }

    void textsCompareLikeTheTimes()
    {
        // The fastest-time record is kept by comparing the texts.
        const QList<qint64> seconds { 0, 1, 9, 10, 59, 60, 61, 599, 600, 3599, 3600, 35999, 36000, 86399 };
        for (qint64 a : seconds) {
            for (qint64 b : seconds) {
                const QString ta = TimeText::format(a * kSecond);
                const QString tb = TimeText::format(b * kSecond);
                QCOMPARE(ta < tb, a < b);
                QCOMPARE(ta == tb, a == b);
            }
        }
    }

    void elapsed_data()
    {
        QTest::addColumn<QDateTime>("from");
        QTest::addColumn<QDateTime>("to");
        QTest::addColumn<qint64>("msecs");
        QTest::newRow("same moment") << at(1, 10, 0, 0) << at(1, 10, 0, 0) << qint64(0);
        QTest::newRow("one second") << at(1, 10, 0, 0) << at(1, 10, 0, 1) << kSecond;
        QTest::newRow("with fractions") << at(1, 10, 0, 0, 250) << at(1, 10, 0, 1, 100) << qint64(850);
        QTest::newRow("across midnight") << at(1, 23, 59, 58) << at(2, 0, 0, 1) << 3 * kSecond;
        QTest::newRow("more than a day") << at(1, 10, 0, 0) << at(2, 11, 0, 2) << (25 * kHour + 2 * kSecond);
        QTest::newRow("end before start") << at(1, 10, 0, 1) << at(1, 10, 0, 0) << qint64(0);
        QTest::newRow("no start") << QDateTime() << at(1, 10, 0, 0) << qint64(0);
        QTest::newRow("no end") << at(1, 10, 0, 0) << QDateTime() << qint64(0);
    }

    void elapsed()
    {
        QFETCH(QDateTime, from);
        QFETCH(QDateTime, to);
        QFETCH(qint64, msecs);
        QCOMPARE(TimeText::elapsedMsecs(from, to), msecs);
    }
};

QTEST_GUILESS_MAIN(TestTimeText)
#include "tst_timetext.moc"
