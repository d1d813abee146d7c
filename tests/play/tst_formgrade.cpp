#include "Clock.h"
#include "FormGrade.h"
#include "GameState.h"
#include "GradeFile.h"
#include "PopupHarness.h"
#include "ProgramFolder.h"
#include "TextFile.h"
#include "Twips.h"

#include <QLabel>
#include <QPointer>
#include <QtTest>

namespace {
constexpr qint64 kMinute = 60 * 1000;
constexpr int kBlue = 0xFF0000; // 0x00BBGGRR

const QStringList kValueLabels { "labelLastFinishedTime", "labelFastestTime", "labelTotalTime",
    "labelFinishedCount", "labelGrade" };

QStringList shown(const FormGrade &w)
{
    QStringList texts;
    for (const QString &name : kValueLabels) {
        const auto *label = w.findChild<QLabel *>(name);
        texts << (label ? label->text() : QStringLiteral("<no %1>").arg(name));
    }
    return texts;
}

QStringList gradeFile(const QString &last, const QString &fastest, const QString &total, const QString &count,
    const QString &grade)
{
    return { "[LastFinishedTime]", last, "", "[FastestTime]", fastest, "", "[TotalTime]", total, "",
        "[FinishedCount]", count, "", "[Grade]", grade };
}

// The program started at 09:00 and the window opens after the given run.
void runFor(GameState &form, qint64 msecs)
{
    form.GameTimeStart = QDateTime(QDate(2024, 3, 1), QTime(9, 0), Qt::UTC);
    Clock::setFixed(form.GameTimeStart.addMSecs(msecs));
}
} // namespace

class TestFormGrade : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { Clock::reset(); }

    void firstStartShowsTheDefaultsAndThisRun()
    {
        ProgramFolder folder;
        QVERIFY(GradeFile::createDefaultIfMissing(GradeFile::path()));
        GameState form;
        runFor(form, 12 * kMinute + 34 * 1000);
        FormGrade w;
        w.load(form, QRect());
        QCOMPARE(shown(w), (QStringList { "00:00:00", "00:00:00", "00:12:34", "0", "★" }));
        QCOMPARE(form.GameTimeEnd, Clock::now());
    }

    void showsTheFileAsItIs_data()
    {
        QTest::addColumn<QStringList>("file");
        QTest::addColumn<qint64>("run");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("hand-edited grade") << gradeFile("00:03:21", "00:02:10", "01:00:00", " 12 ",
            "★★★★★") << 30 * kMinute << QStringList { "00:03:21", "00:02:10", "01:30:00", " 12 ", "★★★★★" };
        QTest::newRow("total wraps after a day") << gradeFile("00:03:21", "00:02:10", "23:50:00", " 3 ",
            "★★") << 20 * kMinute << QStringList { "00:03:21", "00:02:10", "00:10:00", " 3 ", "★★" };
        QTest::newRow("unreadable total counts as nought") << gradeFile("x", "y", "a long time", "many",
            "好") << 5 * kMinute << QStringList { "x", "y", "00:05:00", "many", "好" };
        QTest::newRow("looks like markup") << gradeFile("<b>1</b>", "00:02:10", "00:00:00", "0",
            "<i>★</i>") << qint64(0) << QStringList { "<b>1</b>", "00:02:10", "00:00:00", "0", "<i>★</i>" };
    }

    void showsTheFileAsItIs()
    {
        QFETCH(QStringList, file);
        QFETCH(qint64, run);
        QFETCH(QStringList, expected);
        ProgramFolder folder;
        QVERIFY(TextFile::writeLines(GradeFile::path(), file));
        GameState form;
        runFor(form, run);
        FormGrade w;
        w.load(form, QRect());
        QCOMPARE(shown(w), expected);
        // Shown as written, never taken for markup.
        for (const QString &name : kValueLabels)
            QCOMPARE(w.findChild<QLabel *>(name)->textFormat(), Qt::PlainText);
    }

    void brokenFilesShowDefaultsForWhatIsMissing_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QStringList>("expected"); // a null entry: garbled, not checked
        QTest::newRow("missing") << QString() << QStringList { "00:00:00", "00:00:00", "00:01:00", "0", "★" };
        QTest::newRow("empty") << "empty.grade"
                               << QStringList { "00:00:00", "00:00:00", "00:01:00", "0", "★" };
        QTest::newRow("short") << "short.grade"
                               << QStringList { "00:03:21", "00:02:10", "00:01:00", "0", "★" };
        QTest::newRow("binary") << "binary.grade"
                                << QStringList { QString(), "00:00:00", "00:01:00", "0", "★" };
        QTest::newRow("not GBK") << "not-gbk.grade"
                                 << QStringList { QString(), "00:01:00", "00:01:00", " 3 ", QString() };
    }

    void brokenFilesShowDefaultsForWhatIsMissing()
    {
        QFETCH(QString, fixture);
        QFETCH(QStringList, expected);
        ProgramFolder folder;
        if (!fixture.isEmpty())
            QVERIFY(QFile::copy(ProgramFolder::fixture("grade/" + fixture), GradeFile::path()));
        GameState form;
        runFor(form, kMinute);
        FormGrade w;
        w.load(form, QRect());
        const QStringList texts = shown(w);
        for (int k = 0; k < expected.size(); ++k) {
            if (!expected.at(k).isNull())
                QCOMPARE(texts.at(k), expected.at(k));
        }
    }

    void laidOutAsDesigned()
    {
        FormGrade w;
        QCOMPARE(w.size(), QSize(twipsToPx(FormGrade::kWidth), twipsToPx(FormGrade::kHeight)));
        // Captions end at 1920 twips, values start at 1980.
        for (const char *name : { "Label3", "Label1", "Label2", "Label5", "Label4" }) {
            const auto *label = w.findChild<QLabel *>(name);
            QVERIFY2(label, name);
            QCOMPARE(label->geometry().right() + 1, twipsToPx(1920));
            QVERIFY(label->alignment() & Qt::AlignRight);
            QVERIFY(label->font().bold());
            QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width() + 1);
        }
        for (const QString &name : kValueLabels) {
            const auto *label = w.findChild<QLabel *>(name);
            QVERIFY(label);
            QCOMPARE(label->geometry().left(), twipsToPx(1980));
        }
        const auto *count = w.findChild<QLabel *>("labelFinishedCount");
        QVERIFY(count->fontMetrics().horizontalAdvance(QStringLiteral(" 123 ")) <= count->width());
    }

    void frameIsTwoGreyLines()
    {
        ProgramFolder folder;
        GameState form;
        FormGrade w;
        w.load(form, QRect());
        const QImage image = w.grab().toImage();
        const int right = image.width() - 1;
        const int bottom = image.height() - 1;
        for (const QPoint &p : { QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom),
                 QPoint(right / 2, 0), QPoint(0, bottom / 2) })
            QCOMPARE(image.pixelColor(p), QColor(128, 128, 128));
        for (const QPoint &p : { QPoint(1, 1), QPoint(right - 1, 1), QPoint(1, bottom - 1),
                 QPoint(right - 1, bottom - 1), QPoint(right / 2, bottom - 1) })
            QCOMPARE(image.pixelColor(p), QColor(64, 64, 64));
        QCOMPARE(image.pixelColor(2, 2), w.palette().color(QPalette::Window));
    }

    void starsBlinkBlueAndBlack()
    {
        ProgramFolder folder;
        GameState form;
        FormGrade w;
        w.load(form, QRect());
        QCOMPARE(w.gradeForeColor(), kBlue);
        w.Timer1_Timer();
        QCOMPARE(w.gradeForeColor(), 0);
        w.Timer1_Timer();
        QCOMPARE(w.gradeForeColor(), kBlue);
        // Left to its timer, the stars go on blinking: each tick, however
        // late it comes, turns them the other colour.
        QList<int> colours;
        connect(&w.Timer1, &QTimer::timeout, this, [&] { colours << w.gradeForeColor(); });
        QTRY_VERIFY_WITH_TIMEOUT(colours.size() >= 2, 5000);
        QCOMPARE(colours.mid(0, 2), (QList<int> { 0, kBlue }));
    }

    void opensCentredOnTheMainWindowAndOnTop()
    {
        ProgramFolder folder;
        GameState form;
        QWidget main;
        main.setGeometry(100, 80, 601, 401);
        QPointer<FormGrade> w = FormGrade::open(form, &main);
        QVERIFY(w);
        QVERIFY(w->isVisible());
        QVERIFY(w->isWindow());
        QCOMPARE(w->frameGeometry().center(), main.frameGeometry().center());
        QVERIFY(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(w->windowFlags().testFlag(Qt::FramelessWindowHint));
        delete w;
    }

    void closesWhenDeactivated()
    {
        ProgramFolder folder;
        GameState form;
        QWidget main;
        main.setGeometry(100, 80, 600, 400);
        QVERIFY(PopupHarness::closesOnDeactivation(FormGrade::open(form, &main)));
    }

    void closesWhenAnotherWindowIsActivated()
    {
        ProgramFolder folder;
        GameState form;
        QVERIFY(PopupHarness::closesWhenTheMainWindowIsActivated(
            [&form](QWidget *main) { return FormGrade::open(form, main); }));
    }

    void escapeCloses()
    {
        ProgramFolder folder;
        GameState form;
        FormGrade *w = FormGrade::open(form, nullptr);
        QVERIFY(PopupHarness::closesOnEscape(w, w));
    }
};

QTEST_MAIN(TestFormGrade)
#include "tst_formgrade.moc"
