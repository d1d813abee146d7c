#include "FormAbout.h"
#include "PopupHarness.h"
#include "ProgramFolder.h"
#include "Twips.h"
#include "UrlRecorder.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QtTest>

namespace {

bool hasInk(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != QColor(Qt::white))
                return true;
    return false;
}

} // namespace

class TestFormAbout : public QObject
{
    Q_OBJECT

private:
    UrlRecorder m_browser;

private slots:
    void init() { m_browser.opened.clear(); }

    void textIsNineLines()
    {
        const QStringList lines = FormAbout::textLines();
        QCOMPARE(lines.size(), 9);
        QCOMPARE(lines.at(0), QStringLiteral("Bug有限，乐趣无限。"));
        QCOMPARE(lines.at(1), QString());
        QCOMPARE(lines.at(2), QStringLiteral("软件版本：" VEXA_TEST_PROJECT_VERSION));
        QCOMPARE(lines.at(3), QString());
        QCOMPARE(lines.at(4), QStringLiteral("软件制作：Lumbrook Studio"));
        QCOMPARE(lines.at(5), QString());
        QVERIFY(!lines.at(6).isEmpty());
        QCOMPARE(lines.at(7), QString());
        QCOMPARE(FormAbout::text(), lines.join(QStringLiteral("\r\n")));
    }

    void showsTheTextLineByLine()
    {
        ProgramFolder folder(ProgramFolder::Content::CopyOfBuild);
        FormAbout w;
        w.load(QRect());
        QCOMPARE(w.Text1->toPlainText().split(QLatin1Char('\n')), FormAbout::textLines());
        QCOMPARE(w.Text1->document()->blockCount(), 9);
    }

    void laidOutAsDesigned()
    {
        ProgramFolder folder(ProgramFolder::Content::CopyOfBuild);
        FormAbout w;
        w.load(QRect());
        QCOMPARE(w.objectName(), QStringLiteral("formAbout"));
        QCOMPARE(w.size(), QSize(twipsToPx(3840), twipsToPx(2580)));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QVERIFY(w.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(w.palette().color(QPalette::Window), QColor(Qt::white));

        QCOMPARE(w.Picture1->geometry(), twipsRect(180, 180, 3495, 750));
        QCOMPARE(w.Picture1->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(w.Picture1->toolTip(), QStringLiteral("点击进入我们的网站"));

        QCOMPARE(w.Text1->geometry(), twipsRect(300, 1080, 3375, 1335));
        QVERIFY(w.Text1->isReadOnly());
        QCOMPARE(w.Text1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(w.Text1->palette().color(QPalette::Text), QColor(128, 0, 0));
    }

    void frameAndWhiteBackground()
    {
        ProgramFolder folder(ProgramFolder::Content::CopyOfBuild);
        FormAbout w;
        w.load(QRect());
        QCOMPARE(w.shape1(), twipsRect(0, 0, 3840, 2580));
        QCOMPARE(w.shape3(), twipsRect(15, 15, 3840 - 30, 2580 - 30));
        const QImage image = w.grab().toImage();
        const int right = image.width() - 1;
        const int bottom = image.height() - 1;
        for (const QPoint &p : { QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom),
                 QPoint(right / 2, bottom) })
            QCOMPARE(image.pixelColor(p), QColor(128, 128, 128));
        const QColor windowText = w.palette().color(QPalette::WindowText);
        for (const QPoint &p : { QPoint(1, 1), QPoint(right - 1, 1), QPoint(1, bottom - 1),
                 QPoint(right - 1, bottom - 1), QPoint(right / 2, 1) })
            QCOMPARE(image.pixelColor(p), windowText);
        // Between the frame and the text box.
        QCOMPARE(image.pixelColor(5, bottom - 5), QColor(Qt::white));
        QCOMPARE(image.pixelColor(right / 2, twipsToPx(1000)), QColor(Qt::white));
    }

    void logoIsDrawn_data()
    {
        QTest::addColumn<bool>("withPictures");
        QTest::newRow("pictures beside the program") << true;
        QTest::newRow("no pictures: the name alone") << false;
    }

    void logoIsDrawn()
    {
        QFETCH(bool, withPictures);
        ProgramFolder folder(
            withPictures ? ProgramFolder::Content::CopyOfBuild : ProgramFolder::Content::Empty);
        FormAbout w;
        w.load(QRect());
        const QPixmap picture = w.Picture1->pixmap();
        QCOMPARE(picture.size(), w.Picture1->size());
        const QImage image = picture.toImage();
        QVERIFY(hasInk(image));
        // The logo fills the left of the box; without it that part stays white.
        const QImage left = image.copy(0, 0, 10, image.height());
        QCOMPARE(hasInk(left), withPictures);
        // The name stands to the right either way.
        QVERIFY(hasInk(image.copy(image.width() / 2, 0, image.width() / 2, image.height())));
    }

    void clickOnTheLogoOpensTheHomePage()
    {
        ProgramFolder folder(ProgramFolder::Content::CopyOfBuild);
        FormAbout w;
        w.load(QRect());
        w.show();
        QTest::mouseClick(w.Picture1, Qt::LeftButton, {}, w.Picture1->rect().center());
        // The base address the build was configured with.
        QCOMPARE(m_browser.opened, QList<QUrl> { QUrl(QStringLiteral(VEXA_TEST_WEB_BASE)) });
        // Other buttons and the text do not.
        QTest::mouseClick(w.Picture1, Qt::RightButton, {}, w.Picture1->rect().center());
        QTest::mouseClick(w.Text1->viewport(), Qt::LeftButton);
        QCOMPARE(m_browser.opened.size(), 1);
    }

    void centredOnTheMainWindow_data()
    {
        QTest::addColumn<QRect>("main");
        QTest::newRow("odd size") << QRect(100, 80, 601, 401);
        QTest::newRow("even size") << QRect(0, 0, 600, 400);
        // Not pulled back onto the screen.
        QTest::newRow("partly off the screen") << QRect(-500, -300, 600, 400);
        QTest::newRow("smaller than the window") << QRect(50, 60, 100, 80);
    }

    void centredOnTheMainWindow()
    {
        QFETCH(QRect, main);
        ProgramFolder folder;
        FormAbout w;
        w.load(main);
        QCOMPARE(w.frameGeometry().topLeft(), PopupHarness::centredOn(main, w.frameGeometry().size()));
    }

    void closesWhenDeactivated()
    {
        ProgramFolder folder;
        QVERIFY(PopupHarness::closesOnDeactivation(PopupHarness::open<FormAbout>(nullptr)));
    }

    void closesWhenAnotherWindowIsActivated()
    {
        ProgramFolder folder;
        QVERIFY(PopupHarness::closesWhenTheMainWindowIsActivated(PopupHarness::open<FormAbout>));
    }

    void escapeCloses()
    {
        ProgramFolder folder;
        FormAbout *w = PopupHarness::open<FormAbout>(nullptr);
        QVERIFY(PopupHarness::closesOnEscape(w->Text1, w));
    }
};

QTEST_MAIN(TestFormAbout)
#include "tst_formabout.moc"
