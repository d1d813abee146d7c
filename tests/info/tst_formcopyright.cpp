#include "FormCopyright.h"
#include "PopupHarness.h"
#include "ProgramFolder.h"
#include "Twips.h"

#include <QPlainTextEdit>
#include <QtTest>

class TestFormCopyright : public QObject
{
    Q_OBJECT

private slots:
    void noticeIsTwentyFiveLines()
    {
        const QStringList lines = FormCopyright::noticeLines();
        QCOMPARE(lines.size(), 25);
        QCOMPARE(FormCopyright::notice(), lines.join(QStringLiteral("\r\n")));
        QCOMPARE(FormCopyright::notice().count(QStringLiteral("\r\n")), 24);
        // No line hides a break of its own.
        for (const QString &line : lines) {
            QVERIFY(!line.contains(QLatin1Char('\n')));
            QVERIFY(!line.contains(QLatin1Char('\r')));
        }
        const QString notice = FormCopyright::notice();
        QVERIFY(notice.contains(QStringLiteral("Lumbrook Studio")));
        QVERIFY(notice.contains(QStringLiteral("免费")));
        QVERIFY(notice.contains(QStringLiteral("担保")));
        QVERIFY(notice.contains(QStringLiteral("商标")));
    }

    void showsTheNoticeLineByLine()
    {
        ProgramFolder folder;
        FormCopyright w;
        w.load(QRect());
        QCOMPARE(w.Text1->toPlainText().split(QLatin1Char('\n')), FormCopyright::noticeLines());
        QCOMPARE(w.Text1->document()->blockCount(), 25);
    }

    void laidOutAsDesigned()
    {
        ProgramFolder folder;
        FormCopyright w;
        w.load(QRect());
        QCOMPARE(w.objectName(), QStringLiteral("formCopyright"));
        QCOMPARE(w.size(), QSize(twipsToPx(4215), twipsToPx(3015)));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QVERIFY(w.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(w.Text1->geometry(), twipsRect(120, 120, 3975, 2775));
        QVERIFY(w.Text1->isReadOnly());
        QCOMPARE(w.Text1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(w.Text1->palette().color(QPalette::Base), w.palette().color(QPalette::Button));
        QCOMPARE(w.shape1(), twipsRect(0, 0, 4215, 3015));
        QCOMPARE(w.shape3(), twipsRect(15, 15, 4215 - 30, 3015 - 30));

        const QImage image = w.grab().toImage();
        const int right = image.width() - 1;
        const int bottom = image.height() - 1;
        QCOMPARE(image.pixelColor(0, 0), QColor(128, 128, 128));
        QCOMPARE(image.pixelColor(right, bottom), QColor(128, 128, 128));
        QCOMPARE(image.pixelColor(1, 1), w.palette().color(QPalette::WindowText));
        QCOMPARE(image.pixelColor(right - 1, bottom - 1), w.palette().color(QPalette::WindowText));
    }

    void centredOnTheMainWindow()
    {
        ProgramFolder folder;
        const QRect main(-40, 30, 777, 455);
        FormCopyright w;
        w.load(main);
        QCOMPARE(w.frameGeometry().topLeft(), PopupHarness::centredOn(main, w.frameGeometry().size()));
    }

    void closesWhenDeactivated()
    {
        ProgramFolder folder;
        QVERIFY(PopupHarness::closesWhenTheMainWindowIsActivated(PopupHarness::open<FormCopyright>));
    }

    void escapeCloses()
    {
        ProgramFolder folder;
        FormCopyright *w = PopupHarness::open<FormCopyright>(nullptr);
        QVERIFY(PopupHarness::closesOnEscape(w, w));
    }
};

QTEST_MAIN(TestFormCopyright)
#include "tst_formcopyright.moc"
