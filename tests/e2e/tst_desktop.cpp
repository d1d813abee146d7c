#include "PulseServer.h"
#include "XSession.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

// The game on the desktops players have: two monitors, a Wayland session
// without XWayland, a compositor that shows window opacity, a task bar that
// shows icons.
namespace {

const QSize kMainWindow(421, 349);
const QSize kPrintWindow(473, 423);
const QSize kSplash(360, 240);
const QSize kHelpWindow(720, 560);
const QRect kLeftMonitor(0, 0, 1280, 1024);
const QRect kRightMonitor(1280, 0, 1280, 1024);

// The splash's opacity as the X server holds it, 0 to 255, or -1 while
// the window has none.
int opacityByte(const XSession &x, const QString &window)
{
    const auto m = QRegularExpression(QStringLiteral("= (\\d+)"))
                       .match(x.property(window, QStringLiteral("_NET_WM_WINDOW_OPACITY")));
    return m.hasMatch() ? int(qRound(m.captured(1).toDouble() * 255.0 / 0xFFFFFFFFu)) : -1;
}

// Whether the process has ended: gone, or a zombie its parent has not yet
// reaped.
bool hasEnded(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(')') + 2, 1) == "Z";
}

// Whether nobody holds the single-instance lock at `path` now.
bool lockIsFree(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}

} // namespace

class TestDesktop : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<XSession> x;

    bool openSession(XSession::Monitors monitors = XSession::Monitors::One)
    {
        x = std::make_unique<XSession>(monitors);
        return x->isReady();
    }

    // Moves the main window and waits until it got there.
    bool placeMainWindow(const QPoint &topLeft)
    {
        x->moveWindow(x->mainWindow(), topLeft);
        return XSession::waitFor([&] { return x->origin() == topLeft; }, 5000);
    }

private slots:
    void cleanup()
    {
        if (x)
            x->keepScreenshotIfFailed();
        x.reset();
    }

    void mainWindowStaysOnTheSecondMonitor()
    {
        if (!XSession::canShowTwoMonitors())
            QSKIP("two monitors need Xorg, its dummy driver and xrandr");
        QVERIFY2(openSession(XSession::Monitors::TwoSideBySide), "no X server with two monitors");
        QCOMPARE(x->monitors(), (QList<QRect> { kLeftMonitor, kRightMonitor }));
        QVERIFY(x->launch());

        // On the right monitor it stays, well past the keep-on-screen
        // timer's ticks.
        QVERIFY(placeMainWindow(QPoint(1700, 300)));
        XSession::pause(800);
        QCOMPARE(x->origin(), QPoint(1700, 300));

        // Partly off the whole desktop: back to the right monitor's edge.
        x->moveWindow(x->mainWindow(), QPoint(2400, 900));
        QVERIFY(XSession::waitFor(
            [&] { return x->origin() == QPoint(2560 - kMainWindow.width(), 1024 - kMainWindow.height()); },
            5000));

        // Across the seam, mostly on the right: pulled onto the right one.
        x->moveWindow(x->mainWindow(), QPoint(1200, 100));
        QVERIFY(XSession::waitFor([&] { return x->origin() == QPoint(1280, 100); }, 5000));
    }

    void printWindowOpensOnItsMonitorFrameAndAll()
    {
        if (!XSession::canShowTwoMonitors())
            QSKIP("two monitors need Xorg, its dummy driver and xrandr");
        QVERIFY2(openSession(XSession::Monitors::TwoSideBySide), "no X server with two monitors");
        QVERIFY(x->launch());
        // Near the bottom-right corner of the right monitor, where the
        // centred print window would hang off it.
        QVERIFY(placeMainWindow(QPoint(2560 - kMainWindow.width() - 10, 1024 - kMainWindow.height() - 10)));
        x->key(QStringLiteral("ctrl+b"));
        // 打印... is the seventh item from the bottom of the menu.
        x->key(QStringLiteral("F10"));
        QVERIFY(x->waitForDialog());
        for (int step = 0; step < 7; ++step)
            x->key(QStringLiteral("Up"));
        x->key(QStringLiteral("Return"));
        QString print;
        QVERIFY(XSession::waitFor([&] { return !(print = x->windowOfSize(kPrintWindow)).isEmpty(); }));
        // Whole, title bar included, on the monitor of the main window.
        QVERIFY(XSession::waitFor([&] { return kRightMonitor.contains(x->frameOf(print)); }, 5000));
        const QRect frame = x->frameOf(print);
        QVERIFY2(frame.height() > kPrintWindow.height(), "the window manager drew no title bar");
        QCOMPARE(frame.bottom(), kRightMonitor.bottom());
        QCOMPARE(frame.right(), kRightMonitor.right());
    }

    void splashFadeReachesTheXServer()
    {
        QVERIFY2(openSession(), "no X server");
        QVERIFY(x->start());
        QString splash;
        QVERIFY(XSession::waitFor([&] { return !(splash = x->windowOfSize(kSplash)).isEmpty(); }, 20000));
        // What a compositor would show, step by step, until the splash
        // hands over to the main window.
        QList<int> seen;
        QDeadlineTimer deadline(15000);
        while (!deadline.hasExpired() && x->windowOfSize(kMainWindow).isEmpty()) {
            const int value = opacityByte(*x, splash);
            if (value >= 0 && (seen.isEmpty() || seen.last() != value))
                seen << value;
        }
        QStringList shown;
        for (const int value : std::as_const(seen))
            shown << QString::number(value);
        // The holds at 251 and 253 reach the server while they last, and
        // the fade only ever brightens.
        QVERIFY2(seen.contains(251) && seen.contains(253), qPrintable(shown.join(QLatin1Char(' '))));
        QVERIFY2(std::is_sorted(seen.begin(), seen.end()), qPrintable(shown.join(QLatin1Char(' '))));
    }

    void withoutAnXServerTheGameSaysSoAndEnds_data()
    {
        QTest::addColumn<QString>("display");
        QTest::newRow("no DISPLAY") << QString();
        QTest::newRow("DISPLAY of no server") << QStringLiteral(":4077");
    }

    void withoutAnXServerTheGameSaysSoAndEnds()
    {
        QFETCH(QString, display);
        QVERIFY2(openSession(), "no X server");
        QProcess game;
        QProcessEnvironment env = x->environment();
        env.remove(QStringLiteral("DISPLAY"));
        if (!display.isEmpty())
            env.insert(QStringLiteral("DISPLAY"), display);
        env.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
        env.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-vexa-none"));
        game.setProcessEnvironment(env);
        game.start(x->file(QStringLiteral("vexa-sudoku")), {});
        QVERIFY(game.waitForFinished(15000));
        QCOMPARE(game.exitStatus(), QProcess::NormalExit);
        QCOMPARE(game.exitCode(), 1);
        const QString said = QString::fromLocal8Bit(game.readAllStandardError());
        QVERIFY2(said.contains(QStringLiteral("找不到可用的 X 服务器")), qPrintable(said));
        QVERIFY2(said.contains(QStringLiteral("QT_QPA_PLATFORM")), qPrintable(said));
        // Nothing was loaded, so nothing was written.
        QVERIFY(!QFile::exists(x->file(QStringLiteral("setting"))));
    }

    void everyWindowCarriesTheGameIcon()
    {
        QVERIFY2(openSession(), "no X server");
        QVERIFY(x->launch());
        auto hasIcon = [&](const QString &window) {
            const QString icon = x->property(window, QStringLiteral("_NET_WM_ICON"));
            return icon.contains(QLatin1String("Icon (16 x 16)"))
                && icon.contains(QLatin1String("Icon (48 x 48)"));
        };
        QVERIFY(hasIcon(x->mainWindow()));
        x->key(QStringLiteral("F1"));
        QString help;
        QVERIFY(XSession::waitFor([&] { return !(help = x->windowOfSize(kHelpWindow)).isEmpty(); }));
        QVERIFY(hasIcon(help));
    }

    void stalledSoundServerNeitherHoldsTheExitNorLetsASecondCopyIn()
    {
        PulseServer pulse;
        if (!pulse.isRunning())
            QSKIP(qPrintable(pulse.whyNot()));
        QVERIFY2(openSession(), "no X server");
        x->useSoundServer(pulse.address());
        QVERIFY(x->launch());
        const qint64 pid = x->gamePid();
        const QString lock = x->runtimeFolder() + QStringLiteral("/Vexa Sudoku.lock");
        // A game with its tune; then the server stops answering.
        x->key(QStringLiteral("ctrl+b"));
        QVERIFY(XSession::waitFor([&] { return pulse.sinkInputs() >= 1; }));
        QVERIFY(pulse.freeze());

        x->key(QStringLiteral("ctrl+F4"));
        // The game ends within its deadline for sound, and until it has, it
        // keeps the lock: a copy started meanwhile would not run beside it.
        bool lockedToTheEnd = true;
        const bool ended = XSession::waitFor(
            [&] {
                const bool free = lockIsFree(lock);
                if (hasEnded(pid))
                    return true;
                lockedToTheEnd = lockedToTheEnd && !free;
                return false;
            },
            20000);
        QVERIFY(pulse.thaw());
        QVERIFY2(ended, "the game waited on the stalled server");
        QVERIFY2(lockedToTheEnd, "the lock was let go while the game still ran");
        QVERIFY(x->waitForExit());
        // The player's files were written before the sound was waited for.
        QVERIFY(QFile::exists(x->file(QStringLiteral("setting"))));
    }
};

QTEST_GUILESS_MAIN(TestDesktop)
#include "tst_desktop.moc"
