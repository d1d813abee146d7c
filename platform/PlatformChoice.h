#pragma once

#include <QByteArray>
#include <QList>
#include <vector>

// Which of Qt's window systems the game runs on. Placing windows, keeping
// one on top and the drag of the frameless main window need X11, so the
// game asks for Qt's xcb platform (XWayland on a Wayland desktop) unless
// the player chose a platform himself, with QT_QPA_PLATFORM or -platform.
// The choice goes in as an argument, not into the environment, so that
// programs the game starts (the browser) choose for themselves.
class PlatformChoice
{
public:
    PlatformChoice(int argc, char **argv);

    // The arguments for QApplication: those given, with "-platform xcb"
    // added where the player chose nothing.
    int &argc() { return m_argc; }
    char **argv() { return m_argv.data(); }

    // True when the game will run on X11 and so needs an X server.
    bool needsX11() const { return m_x11; }

    // What standard error says when there is no X server to run on.
    static QByteArray noXServerMessage(const QString &why);

private:
    QList<QByteArray> m_own;
    std::vector<char *> m_argv;
    int m_argc = 0;
    bool m_x11 = false;
};
