#include "XSession.h"

#include "BoardGeometry.h"
#include "CellLabel.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QThread>
#include <QtTest>
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

const QString kClass = QStringLiteral("vexa-sudoku");

int px(int twips)
{
    return (twips * 2 + 15) / 30;
}

// A process of the session dies with the test, also when the test crashes
// and never reaches its clean-up. The AT-SPI bus launcher is asked to end
// rather than killed, so that it takes its own bus along.
std::unique_ptr<QProcess> sessionProcess(int signal = SIGKILL)
{
    auto process = std::make_unique<QProcess>();
    process->setChildProcessModifier([signal] { ::prctl(PR_SET_PDEATHSIG, signal); });
    return process;
}

// A video card with sixteen outputs and no screen behind them; xrandr
// switches two of them on once the server runs. The monitor's wide ranges
// let it offer 1280 x 1024.
const char *const kDummyConfig = R"(Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 65536
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual 2560 1024
  EndSubSection
EndSection
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoAddGPU" "false"
EndSection
)";

} // namespace

XSession::XSession(Accessibility accessibility, Monitors monitors)
{
    // The program folder: a copy of the built one, without data files a
    // played build may have left.
    const QDir source(qEnvironmentVariable("VEXA_TEST_BIN"));
    QDirIterator it(source.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString rel = source.relativeFilePath(from);
        if (rel == QLatin1String("setting") || rel == QLatin1String("grade") || rel == QLatin1String("save")
            || rel.startsWith(QLatin1String("cache/")))
            continue;
        QDir().mkpath(QFileInfo(m_program.filePath(rel)).absolutePath());
        QFile::copy(from, m_program.filePath(rel));
    }
    QFile::setPermissions(m_program.filePath(QStringLiteral("vexa-sudoku")),
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    if (!startServer(monitors))
        return;
    m_wm = sessionProcess();
    m_wm->setProcessEnvironment(environment());
    m_wm->start(QStringLiteral("openbox"), {});
    m_wm->waitForStarted();
    if (accessibility == Accessibility::On)
        m_accessible = startAccessibility();
    pause(500);
}

XSession::~XSession()
{
    shutdown();
}

bool XSession::canShowTwoMonitors()
{
    return !QStandardPaths::findExecutable(QStringLiteral("Xorg")).isEmpty()
        && !QStandardPaths::findExecutable(QStringLiteral("xrandr")).isEmpty()
        && QFileInfo::exists(QStringLiteral("/usr/lib/xorg/modules/drivers/dummy_drv.so"));
}

bool XSession::startServer(Monitors monitors)
{
    // The server picks a free display itself and tells its number.
    m_server = sessionProcess();
    if (monitors == Monitors::One) {
        m_server->start(QStringLiteral("Xvfb"),
            { QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                QStringLiteral("tcp") });
    } else {
        const QString config = m_runtime.filePath(QStringLiteral("xorg.conf"));
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly) || file.write(kDummyConfig) < 0)
            return false;
        file.close();
        // No switch to the server's console: on a desktop the tests would
        // take the screen away from whoever runs them.
        m_server->start(QStringLiteral("Xorg"),
            { QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-config"), config,
                QStringLiteral("-logfile"), m_runtime.filePath(QStringLiteral("xorg.log")),
                QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-noreset"),
                QStringLiteral("-keeptty"), QStringLiteral("-novtswitch") });
    }
    QDeadlineTimer deadline(15000);
    while (!deadline.hasExpired() && !m_server->canReadLine() && m_server->state() != QProcess::NotRunning)
        m_server->waitForReadyRead(200);
    const QString number = QString::fromLatin1(m_server->readLine()).trimmed();
    if (number.isEmpty())
        return false;
    m_display = QLatin1Char(':') + number;
    if (monitors == Monitors::TwoSideBySide) {
        run(QStringLiteral("xrandr"),
            { QStringLiteral("--addmode"), QStringLiteral("DUMMY1"), QStringLiteral("1280x1024") });
        run(QStringLiteral("xrandr"),
            { QStringLiteral("--output"), QStringLiteral("DUMMY0"), QStringLiteral("--mode"),
                QStringLiteral("1280x1024"), QStringLiteral("--pos"), QStringLiteral("0x0"),
                QStringLiteral("--output"), QStringLiteral("DUMMY1"), QStringLiteral("--mode"),
                QStringLiteral("1280x1024"), QStringLiteral("--pos"), QStringLiteral("1280x0") });
        if (this->monitors().size() != 2) {
            m_display.clear();
            return false;
        }
    }
    return true;
}

QList<QRect> XSession::monitors() const
{
    // " 1: +DUMMY1 1280/339x1024/271+1280+0  DUMMY1"
    const QRegularExpression line(
        QStringLiteral("^ *\\d+: \\S+ (\\d+)/\\d+x(\\d+)/\\d+\\+(-?\\d+)\\+(-?\\d+)"),
        QRegularExpression::MultilineOption);
    QList<QRect> found;
    auto it = line.globalMatch(run(QStringLiteral("xrandr"), { QStringLiteral("--listmonitors") }));
    while (it.hasNext()) {
        const auto m = it.next();
        found << QRect(
            m.captured(3).toInt(), m.captured(4).toInt(), m.captured(1).toInt(), m.captured(2).toInt());
    }
    return found;
}

QString XSession::accessibilityLauncher()
{
    // Debian and Fedora keep it in libexec, older Debian and Ubuntu beside
    // the rest of at-spi2-core.
    for (const char *path :
        { "/usr/libexec/at-spi-bus-launcher", "/usr/lib/at-spi2-core/at-spi-bus-launcher" })
        if (QFileInfo(QString::fromLatin1(path)).isExecutable())
            return QString::fromLatin1(path);
    return {};
}

bool XSession::startAccessibility()
{
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    const QString launcher = accessibilityLauncher();
    if (daemon.isEmpty() || launcher.isEmpty())
        return false;
    // A bus of our own, so that nothing of the desktop the tests run on
    // (if any) hears the game or answers for the AT-SPI bus.
    m_bus = sessionProcess();
    m_bus->setProcessEnvironment(environment());
    m_bus->start(daemon,
        { QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1") });
    if (!m_bus->waitForStarted())
        return false;
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && !m_bus->canReadLine() && m_bus->state() == QProcess::Running)
        m_bus->waitForReadyRead(200);
    m_busAddress = QString::fromLatin1(m_bus->readLine()).trimmed();
    if (m_busAddress.isEmpty())
        return false;

    m_launcher = sessionProcess(SIGTERM);
    m_launcher->setProcessEnvironment(environment());
    m_launcher->start(launcher, { QStringLiteral("--launch-immediately") });
    if (!m_launcher->waitForStarted())
        return false;
    // Until the launcher owns its name, the first one to ask for the AT-SPI
    // bus would have the session bus start a second launcher, which nobody
    // here would know to end.
    const QString connection = QStringLiteral("xsession-") + m_display;
    bool owned = false;
    {
        QDBusConnection bus = QDBusConnection::connectToBus(m_busAddress, connection);
        while (bus.isConnected() && !deadline.hasExpired() && m_launcher->state() == QProcess::Running) {
            if (bus.interface()->isServiceRegistered(QStringLiteral("org.a11y.Bus"))) {
                owned = true;
                break;
            }
            pause(100);
        }
    }
    QDBusConnection::disconnectFromBus(connection);
    return owned;
}

QList<qint64> XSession::accessibilityHelpers() const
{
    QList<qint64> found;
    if (m_busAddress.isEmpty())
        return found;
    const QByteArray marker = "DBUS_SESSION_BUS_ADDRESS=" + m_busAddress.toUtf8();
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (!number || pid == qint64(::getpid()))
            continue;
        QFile variables(QStringLiteral("/proc/%1/environ").arg(pid));
        // A process that ended meanwhile, or one of somebody else, cannot
        // be read; an ended one not yet reaped reads empty.
        if (!variables.open(QIODevice::ReadOnly))
            continue;
        if (variables.readAll().split('\0').contains(marker))
            found << pid;
    }
    return found;
}

bool XSession::shutdown()
{
    const auto stop = [](QProcess *process) {
        if (process && process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(3000);
        }
    };
    stop(m_game.get());
    bool clean = true;
    if (m_bus) {
        // The launcher, the AT-SPI bus it runs and the registry that bus
        // starts on request all inherited the session bus address; by it
        // they are found even once the process that started them is gone.
        for (const qint64 pid : accessibilityHelpers())
            ::kill(pid_t(pid), SIGTERM);
        QDeadlineTimer deadline(5000);
        while (!deadline.hasExpired() && !accessibilityHelpers().isEmpty())
            pause(50);
        for (const qint64 pid : accessibilityHelpers())
            ::kill(pid_t(pid), SIGKILL);
        if (m_launcher)
            m_launcher->waitForFinished(3000);
        stop(m_launcher.get());
        m_bus->terminate();
        if (!m_bus->waitForFinished(3000))
            stop(m_bus.get());
        QDeadlineTimer gone(2000);
        while (!gone.hasExpired() && !accessibilityHelpers().isEmpty())
            pause(50);
        clean = accessibilityHelpers().isEmpty() && m_bus->state() == QProcess::NotRunning
            && (!m_launcher || m_launcher->state() == QProcess::NotRunning);
    }
    stop(m_wm.get());
    // Asked to end, so that Xorg gives its console back; killed if it
    // will not.
    if (m_server && m_server->state() != QProcess::NotRunning) {
        m_server->terminate();
        if (!m_server->waitForFinished(5000))
            stop(m_server.get());
    }
    return clean;
}

qint64 XSession::gamePid() const
{
    return m_game && m_game->state() == QProcess::Running ? m_game->processId() : 0;
}

QProcessEnvironment XSession::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    // The rendered tunes go there, not into the real home.
    env.insert(QStringLiteral("XDG_CACHE_HOME"), m_runtime.filePath(QStringLiteral("cache")));
    if (m_soundServer.isEmpty()) {
        env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    } else {
        env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("pulseaudio"));
        env.insert(QStringLiteral("PULSE_SERVER"), m_soundServer);
    }
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    if (!m_busAddress.isEmpty()) {
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_busAddress);
        // Qt would otherwise wait to be told a screen reader runs.
        env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
        env.insert(QStringLiteral("QT_ACCESSIBILITY"), QStringLiteral("1"));
        env.remove(QStringLiteral("NO_AT_BRIDGE"));
        env.remove(QStringLiteral("AT_SPI_BUS_ADDRESS"));
    }
    return env;
}

QString XSession::run(const QString &program, const QStringList &args, int msecs) const
{
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(program, args);
    if (!p.waitForFinished(msecs)) {
        p.kill();
        p.waitForFinished();
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

void XSession::pause(int msecs)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < msecs)
        QThread::msleep(20);
}

bool XSession::waitFor(const std::function<bool()> &condition, int msecs)
{
    QDeadlineTimer deadline(msecs);
    while (!deadline.hasExpired()) {
        if (condition())
            return true;
        pause(100);
    }
    return condition();
}

QByteArray XSession::readFile(const QString &name) const
{
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void XSession::writeFile(const QString &name, const QByteArray &bytes) const
{
    QFile f(file(name));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QString XSession::windowOfSize(const QSize &size) const
{
    const QStringList ids = run(QStringLiteral("xdotool"),
        { QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--classname"), kClass })
                                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QString wanted = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
    for (const QString &id : ids) {
        const QString geometry = run(QStringLiteral("xdotool"), { QStringLiteral("getwindowgeometry"), id });
        if (geometry.contains(wanted))
            return id;
    }
    return {};
}

QString XSession::findMainWindow() const
{
    // The main window is 421 or 469 pixels wide; the splash 360.
    const QString narrow = windowOfSize(QSize(421, 349));
    return narrow.isEmpty() ? windowOfSize(QSize(469, 349)) : narrow;
}

bool XSession::start()
{
    m_game = sessionProcess();
    m_game->setProcessEnvironment(environment());
    m_game->setWorkingDirectory(QDir::tempPath());
    m_game->start(m_program.filePath(QStringLiteral("vexa-sudoku")), {});
    return m_game->waitForStarted();
}

bool XSession::launch()
{
    if (!start())
        return false;
    QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        m_window = findMainWindow();
        if (!m_window.isEmpty()) {
            // The splash hands over and unloads itself on the main window's
            // activation; clicks before then may land on it.
            QDeadlineTimer gone(5000);
            while (!gone.hasExpired() && visibleWindows() > 1)
                pause(100);
            pause(300);
            return true;
        }
        pause(200);
    }
    return false;
}

int XSession::launchSecondCopy(QByteArray *output)
{
    QProcess second;
    second.setProcessEnvironment(environment());
    second.start(m_program.filePath(QStringLiteral("vexa-sudoku")), {});
    if (!second.waitForFinished(10000)) {
        second.kill();
        second.waitForFinished();
        return -1;
    }
    if (output)
        *output = second.readAllStandardOutput() + second.readAllStandardError();
    return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1;
}

bool XSession::waitForExit(int msecs)
{
    return !m_game || m_game->waitForFinished(msecs);
}

bool XSession::isRunning() const
{
    return m_game && m_game->state() == QProcess::Running;
}

QPoint XSession::origin() const
{
    return screenOrigin();
}

QPoint XSession::screenOrigin() const
{
    const QString shell = run(QStringLiteral("xdotool"),
        { QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), m_window });
    const auto x = QRegularExpression(QStringLiteral("X=(-?\\d+)")).match(shell);
    const auto y = QRegularExpression(QStringLiteral("Y=(-?\\d+)")).match(shell);
    return QPoint(x.captured(1).toInt(), y.captured(1).toInt());
}

void XSession::moveTo(int xTwips, int yTwips)
{
    moveToScreen(origin() + QPoint(px(xTwips), px(yTwips)));
}

void XSession::moveToScreen(const QPoint &p)
{
    run(QStringLiteral("xdotool"),
        { QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(p.x()),
            QString::number(p.y()) });
}

void XSession::click(int xTwips, int yTwips, int button)
{
    clickScreen(origin() + QPoint(px(xTwips), px(yTwips)), button);
}

void XSession::clickScreen(const QPoint &point, int button)
{
    moveToScreen(point);
    run(QStringLiteral("xdotool"), { QStringLiteral("click"), QString::number(button) });
    pause(150);
}

void XSession::mouseDown(int xTwips, int yTwips, int button)
{
    moveTo(xTwips, yTwips);
    run(QStringLiteral("xdotool"), { QStringLiteral("mousedown"), QString::number(button) });
    pause(100);
}

void XSession::mouseUp(int button)
{
    run(QStringLiteral("xdotool"), { QStringLiteral("mouseup"), QString::number(button) });
    pause(150);
}

void XSession::key(const QString &keys)
{
    run(QStringLiteral("xdotool"), { QStringLiteral("key"), keys });
    pause(200);
}

void XSession::type(const QString &text)
{
    run(QStringLiteral("xdotool"), { QStringLiteral("type"), text });
    pause(100);
}

void XSession::enterDigit(int cell, int digit)
{
    CellLabel model(cell);
    click(model.Left() + BoardGeometry::kCellSize / 2, model.Top() + BoardGeometry::kCellSize / 2);
    type(QString::number(digit));
}

QImage XSession::screenshot() const
{
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(QStringLiteral("import"),
        { QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-") });
    p.waitForFinished(15000);
    return QImage::fromData(p.readAllStandardOutput(), "PNG");
}

QImage XSession::windowShot() const
{
    const QPoint o = origin();
    const QString geometry
        = run(QStringLiteral("xdotool"), { QStringLiteral("getwindowgeometry"), m_window });
    const auto m = QRegularExpression(QStringLiteral("Geometry: (\\d+)x(\\d+)")).match(geometry);
    return screenshot().copy(o.x(), o.y(), m.captured(1).toInt(), m.captured(2).toInt());
}

QString XSession::clipboard() const
{
    return run(QStringLiteral("xclip"),
        { QStringLiteral("-o"), QStringLiteral("-selection"), QStringLiteral("clipboard") });
}

void XSession::setPrimarySelection(const QString &text) const
{
    // xclip stays behind to serve the selection until the X server ends.
    QTemporaryFile file;
    if (!file.open())
        return;
    file.write(text.toUtf8());
    file.flush();
    run(QStringLiteral("xclip"),
        { QStringLiteral("-selection"), QStringLiteral("primary"), QStringLiteral("-i"), file.fileName() });
}

QString XSession::property(const QString &name) const
{
    return property(m_window, name);
}

QString XSession::property(const QString &window, const QString &name) const
{
    return run(QStringLiteral("xprop"), { QStringLiteral("-id"), window, name });
}

QRect XSession::frameOf(const QString &window) const
{
    // xwininfo gives the client's place on the desktop; the window manager
    // says how far its frame reaches beyond it.
    const QString info = run(QStringLiteral("xwininfo"), { QStringLiteral("-id"), window });
    auto number = [&info](const char *label) {
        return QRegularExpression(QLatin1String(label) + QStringLiteral(":\\s+(-?\\d+)"))
            .match(info)
            .captured(1)
            .toInt();
    };
    QRect client(
        number("Absolute upper-left X"), number("Absolute upper-left Y"), number("Width"), number("Height"));
    const auto extents = QRegularExpression(QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)"))
                             .match(property(window, QStringLiteral("_NET_FRAME_EXTENTS")));
    if (extents.hasMatch())
        client.adjust(-extents.captured(1).toInt(), -extents.captured(3).toInt(), extents.captured(2).toInt(),
            extents.captured(4).toInt());
    return client;
}

void XSession::moveWindow(const QString &window, const QPoint &topLeft)
{
    run(QStringLiteral("xdotool"),
        { QStringLiteral("windowmove"), window, QString::number(topLeft.x()), QString::number(topLeft.y()) });
}

QStringList XSession::visibleWindowIds() const
{
    return run(QStringLiteral("xdotool"),
        { QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--classname"), kClass })
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

int XSession::visibleWindows() const
{
    return int(visibleWindowIds().size());
}

QString XSession::dialog() const
{
    for (const QString &id : visibleWindowIds())
        if (id != m_window)
            return id;
    return {};
}

QStringList XSession::stackingOrder() const
{
    // "_NET_CLIENT_LIST_STACKING(WINDOW): window id # 0x400007, 0x600003"
    const QString listed = run(
        QStringLiteral("xprop"), { QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING") });
    QStringList ids;
    const QRegularExpression hex(QStringLiteral("0x([0-9a-fA-F]+)"));
    for (auto it = hex.globalMatch(listed); it.hasNext();)
        ids << QString::number(it.next().captured(1).toULongLong(nullptr, 16));
    return ids;
}

bool XSession::waitForDialog(int msecs)
{
    QDeadlineTimer deadline(msecs);
    while (!deadline.hasExpired()) {
        if (visibleWindows() > 1) {
            pause(300);
            return true;
        }
        pause(100);
    }
    return false;
}

QString XSession::keepScreenshot(const QString &name) const
{
    const QString folder = qEnvironmentVariable("VEXA_E2E_FAILURES");
    if (folder.isEmpty() || !isReady())
        return {};
    QDir().mkpath(folder);
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    screenshot().save(path);
    return path;
}

void XSession::keepScreenshotIfFailed() const
{
    if (!QTest::currentTestFailed())
        return;
    const QString shot = keepScreenshot(QString::fromLatin1(QTest::currentTestFunction()));
    if (!shot.isEmpty())
        qWarning("screenshot kept: %s", qPrintable(shot));
}
