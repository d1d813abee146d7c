#include "AppPath.h"
#include "BoardColors.h"
#include "FormLogo.h"
#include "FormMain.h"
#include "ProgramFolder.h"
#include "SingleInstance.h"

#include <QImageReader>
#include <QLabel>
#include <QScreen>
#include <QtTest>

namespace {

// One start of the game: its program folder, its own lock folder and the
// splash. Whatever the start left behind goes with it.
struct Start
{
    Start()
        : folder(ProgramFolder::Content::CopyOfBuild)
        , instance(runtime.path())
        , splash(new FormLogo(instance))
    { }
    ~Start()
    {
        delete splash.data();
        delete formMain;
    }

    ProgramFolder folder;
    QTemporaryDir runtime;
    SingleInstance instance;
    QPointer<FormLogo> splash;
};

// Only the test's own calls of Timer1_Timer move the fade from now on: a
// busy machine may otherwise let the real timer in while the test waits
// for something else, and even finish the fade.
bool holdTheFade(FormLogo &splash)
{
    return QObject::disconnect(&splash.Timer1, &QTimer::timeout, &splash, &FormLogo::Timer1_Timer);
}

QPoint centredOnScreen(const QSize &size)
{
    const QRect s = QGuiApplication::primaryScreen()->geometry();
    return QPoint(s.x() + (s.width() - size.width()) / 2, s.y() + (s.height() - size.height()) / 2);
}

} // namespace

class TestFormLogo : public QObject
{
    Q_OBJECT

private slots:
    void loadPreparesTheSplashAndTheHiddenMainWindow()
    {
        Start start;
        FormLogo &splash = *start.splash;
        QVERIFY(splash.Form_Load());

        QCOMPARE(splash.Label1->text(), QStringLiteral("Bug有限 乐趣无限"));
        QCOMPARE(splash.labelVer->text(), QStringLiteral("Ver 1.0.64"));
        for (const QLabel *label : { splash.Label1, splash.labelVer })
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(153, 0, 0));
        QVERIFY(splash.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(splash.size(), QSize(360, 240));
        QCOMPARE(splash.Picture1->size(), splash.size());
        QCOMPARE(splash.pos(), centredOnScreen(splash.size()));
        QVERIFY(!splash.isVisible());

        // The picture file as it is, and the captions on its empty part.
        QImageReader reader(AppPath::file(QStringLiteral("\\pictures\\splash")));
        reader.setDecideFormatFromContent(true);
        const QImage picture = reader.read();
        QVERIFY(!picture.isNull());
        QCOMPARE(splash.Picture1->pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
            picture.convertToFormat(QImage::Format_ARGB32));
        for (const QLabel *label : { splash.Label1, splash.labelVer }) {
            QVERIFY(splash.Picture1->rect().contains(label->geometry()));
            QVERIFY(label->geometry().top() >= 240 - 50);
            QVERIFY(label->geometry().left() >= 360 / 2);
        }

        QCOMPARE(splash.alphaValue(), qint16(25));
        QVERIFY(splash.Timer1.isActive());
        QCOMPARE(splash.Timer1.interval(), 1);
        QVERIFY(splash.isFading());
        QCOMPARE(splash.opacityByte(), 0);
        QCOMPARE(splash.windowOpacity(), 0.0);

        // Loaded completely before the splash shows, and still hidden.
        QVERIFY(formMain);
        QVERIFY(!formMain->isVisible());
        QCOMPARE(formMain->state().lColorValue, QString::number(BoardColors::kHint));

        // The lock stays taken for the life of the program.
        SingleInstance other(start.runtime.path());
        QVERIFY(!other.acquire());
    }

    void loadEndsWhenAnotherCopyRuns()
    {
        Start start;
        SingleInstance running(start.runtime.path());
        QVERIFY(running.acquire());

        QVERIFY(!start.splash->Form_Load());
        QVERIFY(!formMain);
        QVERIFY(!start.splash->isVisible());
        QVERIFY(!start.splash->Timer1.isActive());
        QVERIFY(start.splash->labelVer->text().isEmpty());
    }

    void fadeBrightensToFullThenHandsOver()
    {
        Start start;
        FormLogo &splash = *start.splash;
        QVERIFY(holdTheFade(splash));
        QVERIFY(splash.Form_Load());
        splash.show();

        int ticks = 0;
        qint16 expected = 25;
        while (splash.Timer1.isActive() && ticks < 1000) {
            QVERIFY2(!formMain->isVisible(), "main window shown before the fade ended");
            splash.Timer1_Timer();
            ++ticks;
            expected += 2;
            QCOMPARE(splash.alphaValue(), expected);
            QCOMPARE(splash.opacityByte(), int(expected));
            QCOMPARE(qRound(splash.windowOpacity() * 255), int(expected));
            if (!splash.Timer1.isActive())
                break;
            const int interval = expected < 103 ? 1
                : expected < 153                ? 2
                : expected < 193                ? 3
                : expected < 251                ? 4
                : expected < 253                ? 800
                                                : 1000;
            QCOMPARE(splash.Timer1.interval(), interval);
        }
        QCOMPARE(ticks, 115);
        QCOMPARE(splash.alphaValue(), qint16(255));
        QCOMPARE(splash.opacityByte(), 255);
        QVERIFY(formMain->isVisible());
        // The splash stays on top until the main window unloads it.
        QVERIFY(splash.isVisible());
        QTRY_COMPARE(QGuiApplication::focusWindow(), formMain->windowHandle());
    }

    void timerDrivesTheFade()
    {
        Start start;
        QVERIFY(start.splash->Form_Load());
        start.splash->show();
        QTRY_VERIFY_WITH_TIMEOUT(formMain->isVisible(), 30000);
        // The main window's activation may already have unloaded the splash.
        if (start.splash) {
            QCOMPARE(start.splash->opacityByte(), 255);
            QVERIFY(!start.splash->Timer1.isActive());
        }
    }

    void systemsThatCannotFadeShowTheSplashAtOnce_data()
    {
        QTest::addColumn<QString>("system");
        QTest::newRow("95") << "Windows 95";
        QTest::newRow("98") << "Windows 98";
        QTest::newRow("Me") << "Windows Mellinnium";
    }

    void systemsThatCannotFadeShowTheSplashAtOnce()
    {
        QFETCH(QString, system);
        Start start;
        FormLogo &splash = *start.splash;
        splash.forceSystemName(system);
        // What each tick of the real timer left behind, in order: connected
        // after the splash's own handler, this runs once that is done.
        struct Step
        {
            qint16 alpha;
            int interval;
            bool mainShown;
            bool ticking;
            int opacityByte;
            qreal opacity;
        };
        QList<Step> steps;
        connect(&splash.Timer1, &QTimer::timeout, this, [&] {
            steps << Step { splash.alphaValue(), splash.Timer1.interval(), formMain->isVisible(),
                splash.Timer1.isActive(), splash.opacityByte(), splash.windowOpacity() };
        });
        QVERIFY(splash.Form_Load());
        // Nothing has ticked before the splash shows: it starts all but full.
        QVERIFY(!splash.isFading());
        QCOMPARE(splash.alphaValue(), qint16(250));
        splash.show();
        QCOMPARE(splash.windowOpacity(), 1.0);
        QTRY_VERIFY_WITH_TIMEOUT(formMain->isVisible(), 30000);

        // Held at full opacity twice, then the main window, whenever the
        // ticks came.
        QCOMPARE(steps.size(), 3);
        const qint16 alphas[] = { 252, 254, 256 };
        const int intervals[] = { 800, 1000, 1000 };
        for (qsizetype i = 0; i < steps.size(); ++i) {
            const Step &step = steps.at(i);
            QCOMPARE(step.alpha, alphas[i]);
            QCOMPARE(step.interval, intervals[i]);
            QCOMPARE(step.mainShown, i == steps.size() - 1);
            QCOMPARE(step.ticking, !step.mainShown);
            QCOMPARE(step.opacityByte, -1);
            QCOMPARE(step.opacity, 1.0);
        }
        QTRY_COMPARE(QGuiApplication::focusWindow(), formMain->windowHandle());
    }

    void otherSystemsFade_data()
    {
        QTest::addColumn<QString>("system");
        QTest::newRow("none") << "";
        QTest::newRow("unknown platform") << "Failed";
        QTest::newRow("NT 4.0") << "Windows NT 4.0";
        QTest::newRow("XP") << "Windows XP";
        QTest::newRow("another spelling of Me") << "Windows Millennium";
    }

    void otherSystemsFade()
    {
        QFETCH(QString, system);
        Start start;
        start.splash->forceSystemName(system);
        QVERIFY(start.splash->Form_Load());
        QVERIFY(start.splash->isFading());
        QCOMPARE(start.splash->alphaValue(), qint16(25));
        QCOMPARE(start.splash->opacityByte(), 0);
    }

    void clickAnywhereOnTheSplashSkipsIt_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("picture") << "Picture1";
        QTest::newRow("motto") << "Label1";
        QTest::newRow("version") << "labelVer";
    }

    void clickAnywhereOnTheSplashSkipsIt()
    {
        QFETCH(QString, target);
        Start start;
        FormLogo &splash = *start.splash;
        QVERIFY(holdTheFade(splash));
        QVERIFY(splash.Form_Load());
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        splash.Timer1_Timer();

        // Through the window, as the player clicks: the captions let the
        // click through to the picture.
        const QWidget *control = splash.findChild<QWidget *>(target);
        QVERIFY(control);
        const QPoint at = control->mapTo(&splash, control->rect().center());
        QTest::mouseClick(splash.windowHandle(), Qt::LeftButton, {}, at);

        QVERIFY(!splash.isVisible());
        QVERIFY(formMain->isVisible());
        QVERIFY(!splash.Timer1.isActive());
    }

    void rightClickDoesNotSkip()
    {
        Start start;
        QVERIFY(holdTheFade(*start.splash));
        QVERIFY(start.splash->Form_Load());
        start.splash->show();
        QTest::mouseClick(start.splash->Picture1, Qt::RightButton);
        QVERIFY(start.splash->isVisible());
        QVERIFY(!formMain->isVisible());
    }

    void mainWindowUnloadsTheSplash()
    {
        Start start;
        QVERIFY(start.splash->Form_Load());
        start.splash->show();
        QCOMPARE(FormLogo::current(), start.splash.data());
        start.splash->Picture1_Click();

        FormLogo::unloadSplash();
        QVERIFY(!FormLogo::current());
        QTRY_VERIFY(start.splash.isNull());
        // The game goes on in the main window; a second unload finds
        // nothing to do.
        QVERIFY(formMain);
        QVERIFY(formMain->isVisible());
        FormLogo::unloadSplash();
        QVERIFY(formMain->isVisible());
    }

    void unloadStopsAFadeStillRunning()
    {
        Start start;
        QVERIFY(start.splash->Form_Load());
        start.splash->show();
        FormLogo::unloadSplash();
        QVERIFY(!start.splash.isNull());
        QVERIFY(!start.splash->isVisible());
        QVERIFY(!start.splash->Timer1.isActive());
        QTRY_VERIFY(start.splash.isNull());
    }

    void unreadablePictureLeavesADarkPanel_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("present");
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("not a picture") << QByteArray("not a picture at all") << true;
        QTest::newRow("cut off png") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << true;
    }

    void unreadablePictureLeavesADarkPanel()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, present);
        ProgramFolder folder;
        if (present) {
            QVERIFY(QDir().mkpath(folder.file(QStringLiteral("pictures"))));
            QFile file(folder.file(QStringLiteral("pictures/splash")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        QTemporaryDir runtime;
        SingleInstance instance(runtime.path());
        QPointer<FormLogo> splash = new FormLogo(instance);
        const QImage panel = splash->Picture1->pixmap().toImage();
        QCOMPARE(panel.size(), QSize(360, 240));
        for (const QPoint &p : { QPoint(0, 0), QPoint(180, 120), QPoint(359, 239) })
            QVERIFY(qGray(panel.pixel(p)) < 48);
        delete splash.data();
    }
};

QTEST_MAIN(TestFormLogo)
#include "tst_formlogo.moc"
