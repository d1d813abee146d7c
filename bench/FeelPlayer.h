#pragma once

#include "FeelSession.h"
#include "GameState.h"
#include "PingProbe.h"
#include "ProcessMeter.h"

#include <QList>
#include <QPoint>
#include <QString>
#include <array>
#include <functional>

// Plays the real game on a FeelSession the way a player does, through the
// mouse and the keyboard, and times what the player waits for. Places are
// in twips from the main window's top-left corner.
class FeelPlayer
{
public:
    // What went wrong when the game did not do what a player expects.
    struct Failure
    {
        QString what;
    };

    struct Puzzle
    {
        QString id;
        std::array<int, GameState::kCells> solution {};
        QList<int> playerCells;
    };

    FeelPlayer(FeelSession &session, PingProbe &x);

    // Starts the game and waits until its main window shows alone.
    ProcessMeter launch();
    // Ctrl+F4, and waits for the game to end.
    void exitGame();

    // The longest the window was blocked after the input, in ms.
    double measureClick(const QPoint &twips, int button = 1);
    double measureKey(const QString &keysym, PingProbe::Modifier modifier = PingProbe::Modifier::None);

    void click(const QPoint &twips, int button = 1);
    // A click on the cell and the digit typed, at a quick player's pace.
    void enter(int cell, int digit);
    // Waits for a message box and closes it with Return; gives how long
    // closing it kept the window busy.
    double closeBox(const QString &what);

    // The puzzle on the board, as the game's own save file names it, with
    // its solution from the program's bank.
    Puzzle savedPuzzle() const;
    // Whether the tune lies rendered whole in the cache.
    bool tuneCached() const;
    unsigned long pixel(const QPoint &twips) const { return m_x.pixel(twips); }
    // Unless the cell soon shows a digit in the player's green (or in the
    // red of a mistake), the probe fails at `step`: a figure taken after an
    // input the game never saw would be no figure.
    void requireGreen(int cell, const QString &step) const;
    void requireRed(int cell, const QString &step) const;

    static QPoint middleOf(int cell);
    static bool waitFor(const std::function<bool()> &condition, int msecs);
    static void pause(int msecs);
    static void say(const QString &text);

private:
    double blocked(const QString &action, const PingProbe::Block &block) const;
    int pixelsInCell(int cell, const std::function<bool(int red, int green, int blue)> &test) const;

    FeelSession &m_session;
    PingProbe &m_x;
};
