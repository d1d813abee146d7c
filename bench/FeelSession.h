#pragma once

#include "PulseServer.h"

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <memory>

// An X server (Xvfb) with a window manager (openbox) of its own, a
// PulseAudio server of its own that plays into a null sink (the path every
// desktop's sound takes, two streams at once), and the game in a program
// folder of its own, a copy of the built one without the
// files a played build leaves (settings, statistics, a save, the tune
// cache). The game is started and ended here; everything started for the
// session ends with it, also when the probe itself dies.
class FeelSession
{
public:
    // The game plays into the session's PulseAudio server, or into SDL's
    // dummy driver when `dummyAudio`, which measures the game without its
    // sound system's own cost.
    FeelSession(const QString &builtProgramFolder, bool dummyAudio);
    ~FeelSession();
    FeelSession(const FeelSession &) = delete;
    FeelSession &operator=(const FeelSession &) = delete;

    // Empty when the server and the window manager run.
    QString error() const { return m_error; }
    QString display() const { return m_display; }
    QString programFolder() const { return m_program.path(); }
    QString file(const QString &name) const { return m_program.filePath(name); }
    // Where the game keeps its rendered tunes.
    QString cacheFolder() const { return m_runtime.filePath(QStringLiteral("cache/vexa-sudoku")); }

    // Starts the game on the session's display and sound server; its
    // output goes to a log of its own.
    bool startGame();
    qint64 gamePid() const;
    bool isGameRunning() const;
    bool waitForGameExit(int msecs);
    void killGame();
    // The end of what the game printed, for a report of what went wrong.
    QString gameLogTail() const;
    // The screen as a PNG file (with ImageMagick's import), to show what
    // went wrong; false when it could not be taken.
    bool keepScreenshot(const QString &path) const;

private:
    bool copyProgram(const QString &from);
    bool startServer();

    QTemporaryDir m_program;
    QTemporaryDir m_runtime;
    // None with the dummy driver.
    std::unique_ptr<PulseServer> m_sound;
    std::unique_ptr<QProcess> m_server;
    std::unique_ptr<QProcess> m_windowManager;
    std::unique_ptr<QProcess> m_game;
    QString m_display;
    QString m_error;
};
