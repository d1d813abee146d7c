#pragma once

#include "FormMain.h"
#include "ProgramFolder.h"
#include "RecordingMultimedia.h"
#include "ScriptedMessages.h"

#include <QDateTime>
#include <QPointF>
#include <memory>

// The real main window on a copy of the built program folder, driven by
// mouse clicks and key presses, with a fixed clock and fixed random draws,
// a recording sound device and scripted message boxes, unless a test asks
// for the real clock and the real device.
class GameHarness
{
public:
    explicit GameHarness(
        quint32 seed = 4242, const QDateTime &now = QDateTime(QDate(2026, 12, 8), QTime(10, 0, 0)));
    ~GameHarness();

    FormMain &form() { return *m_form; }
    // The game state the window owns.
    GameState &state() { return m_form->state(); }
    // Lets go of a window that deletes itself (a reload replaces it).
    void release() { (void)m_form.release(); }
    ProgramFolder &folder() { return m_folder; }
    ScriptedMessages messages;
    RecordingMultimedia sound;
    // Every value the progress bar took since the window was loaded.
    QList<int> progress;

    // Before load: play through the window's own sound device (SDL, on the
    // test's audio driver) instead of recording, and count time on the
    // system clock instead of the fixed one.
    void useRealSound() { m_realSound = true; }
    void useRealClock();

    // Creates the window, runs its load and returns it; files may be put
    // into the program folder before.
    FormMain &load();
    // Loads the window and starts a game with its Start button.
    FormMain &startGame();

    void click(const QString &name, Qt::MouseButton button = Qt::LeftButton);
    void clickCell(int index, Qt::MouseButton button = Qt::LeftButton);
    void type(QChar character);
    void typeKey(Qt::Key key);
    // Clicks a cell and types into the box that opens.
    void enter(int index, QChar character);
    void trigger(const QString &menuItem);
    // Presses the left button on `target` at `grab` and moves the mouse by
    // `by` with the button held; returns where the mouse then is (global).
    // Offscreen has no window manager: a window follows such a drag by hand.
    static QPointF pressAndDrag(QWidget *target, const QPoint &grab, const QPointF &by);
    // Moves the clock on and lets the game clock tick.
    void tick(int seconds);

    // Cells the player fills, in index order.
    QList<int> playerCells();
    // Fills every player cell with its solution digit, by click and key.
    void solve();
    // Solves, then enters a wrong digit (the one after the solution's, 1
    // after 9) into the first player cell, which it returns.
    int solveWithOneWrong();
    QByteArray file(const QString &name) const;

private:
    ProgramFolder m_folder { ProgramFolder::Content::CopyOfBuild };
    std::unique_ptr<FormMain> m_form;
    bool m_realSound = false;
};
