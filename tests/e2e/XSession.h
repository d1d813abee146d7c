#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>

// One X server with a window manager and the game in a program folder of
// its own, driven from outside with xdotool, read back through its files,
// the clipboard, window properties and screenshots. With accessibility on,
// a D-Bus session bus of its own and the AT-SPI bus with its registry
// carry what the game tells screen readers.
//
// With two monitors the server is Xorg with its dummy video driver, two of
// whose outputs are set side by side, each 1280 x 1024: the desktop is
// 2560 x 1024 and RandR and Xinerama both report two monitors, as on a
// player's desk. (Xvfb's Xinerama puts every screen at the origin, and Qt
// reads monitors from RandR only.)
class XSession
{
public:
    enum class Accessibility { Off, On };
    enum class Monitors { One, TwoSideBySide };

    explicit XSession(Accessibility accessibility = Accessibility::Off, Monitors monitors = Monitors::One);
    explicit XSession(Monitors monitors)
        : XSession(Accessibility::Off, monitors)
    { }
    ~XSession();

    // Whether this system has what two monitors need (Xorg, its dummy
    // driver, xrandr).
    static bool canShowTwoMonitors();
    // The monitors as the X server lays them out, in pixels.
    QList<QRect> monitors() const;

    // The AT-SPI bus launcher of this system, or nothing.
    static QString accessibilityLauncher();

    bool isReady() const { return !m_display.isEmpty(); }
    // True when accessibility was asked for and its buses are up.
    bool hasAccessibility() const { return m_accessible; }
    // What the game and every helper run with.
    QProcessEnvironment environment() const;
    qint64 gamePid() const;
    // Ends the game and everything started for it; true when nothing
    // started for this session is left running.
    bool shutdown();
    QString programFolder() const { return m_program.path(); }
    // The user's runtime folder of the session, where the game's lock lies.
    QString runtimeFolder() const { return m_runtime.path(); }
    // The game plays into the PulseAudio server at this address instead of
    // SDL's dummy driver; before launch.
    void useSoundServer(const QString &address) { m_soundServer = address; }
    QString file(const QString &name) const { return m_program.filePath(name); }
    QByteArray readFile(const QString &name) const;
    void writeFile(const QString &name, const QByteArray &bytes) const;

    // Starts the game and waits until its main window is shown; false if
    // it never appears.
    bool launch();
    // Starts the game and returns at once.
    bool start();
    // Starts another copy and returns its exit status, or -1 if it did not
    // end within the time.
    int launchSecondCopy(QByteArray *output);
    // Waits for the game to end; true when it did.
    bool waitForExit(int msecs = 15000);
    bool isRunning() const;

    QString mainWindow() const { return m_window; }
    QPoint origin() const;
    // Actions at a place given in twips from the window's top-left corner.
    void click(int xTwips, int yTwips, int button = 1);
    // A click at a place on the screen, in pixels.
    void clickScreen(const QPoint &point, int button = 1);
    void mouseDown(int xTwips, int yTwips, int button = 1);
    void moveTo(int xTwips, int yTwips);
    void moveToScreen(const QPoint &point);
    void mouseUp(int button = 1);
    void key(const QString &keys);
    void type(const QString &text);
    // A left click on cell i and the digit typed into it.
    void enterDigit(int cell, int digit);

    QImage screenshot() const;
    // The game window's area of a screenshot.
    QImage windowShot() const;
    QString clipboard() const;
    // What a middle click pastes on X.
    void setPrimarySelection(const QString &text) const;
    QString property(const QString &name) const;
    QString property(const QString &window, const QString &name) const;
    // A visible window of the game with the given client size, or "".
    QString windowOfSize(const QSize &size) const;
    // A window's frame as the window manager drew it round the client, in
    // desktop pixels.
    QRect frameOf(const QString &window) const;
    // Asks the window manager to move a window's client to `topLeft`.
    void moveWindow(const QString &window, const QPoint &topLeft);
    // Waits until a new top-level window of the game (a message box) shows.
    bool waitForDialog(int msecs = 5000);
    // Counts the game's visible top-level windows.
    int visibleWindows() const;
    // A visible top-level window of the game other than the main window
    // (a message box), or nothing.
    QString dialog() const;
    // The window manager's clients from the bottom of the stack to the
    // top, as its _NET_CLIENT_LIST_STACKING tells them.
    QStringList stackingOrder() const;
    // Keeps a screenshot for the reader of a failed test.
    QString keepScreenshot(const QString &name) const;
    // In a test's clean-up: keeps a screenshot named after the test
    // function, if it failed, and says where.
    void keepScreenshotIfFailed() const;

    static void pause(int msecs);
    // Polls until `condition` holds or the time is up; says which.
    static bool waitFor(const std::function<bool()> &condition, int msecs = 10000);

private:
    QString run(const QString &program, const QStringList &args, int msecs = 10000) const;
    bool startServer(Monitors monitors);
    bool startAccessibility();
    // Processes that carry this session's bus address: the AT-SPI bus,
    // its registry and whatever else either bus started on request.
    QList<qint64> accessibilityHelpers() const;
    QString findMainWindow() const;
    QStringList visibleWindowIds() const;
    QPoint screenOrigin() const;

    QTemporaryDir m_program;
    QTemporaryDir m_runtime;
    QString m_soundServer;
    std::unique_ptr<QProcess> m_server;
    std::unique_ptr<QProcess> m_wm;
    std::unique_ptr<QProcess> m_game;
    std::unique_ptr<QProcess> m_bus;
    std::unique_ptr<QProcess> m_launcher;
    QString m_display;
    QString m_busAddress;
    bool m_accessible = false;
    QString m_window;
};
