#pragma once

#include <QRect>
#include <QSize>

// What the game's logic asks of the main window, and through it of the
// layers above the logic (the window's load, the music, the help). The
// game state holds one; the main window carries it out. Without a window,
// as in tests and the benchmark, each request does nothing.
class GameWindow
{
public:
    virtual ~GameWindow() = default;

    // Handlers of the main window that the logic runs on its way.
    virtual void Form_Load() { }
    virtual void menuSetting_PlayMusic_StartPlay_Click() { }
    virtual void menuAbout_Help_Click() { }
    // Closes the window with its whole exit sequence and opens it anew, in
    // the same place, in its start state.
    virtual void reloadWindow() { }

    // Shows the state's mouse pointer (GameState::kPointer...) over the window.
    virtual void showMousePointer(int /*pointer*/) { }

    // The window's place and the screen, in twips.
    virtual QRect windowRect() const { return {}; }
    virtual void setWindowSize(int /*width*/, int /*height*/) { }
    virtual QSize clientSize() const { return windowRect().size(); }
    virtual void moveWindow(int /*left*/, int /*top*/) { }
    // The monitor the window is on, its offset on the desktop included.
    virtual QRect screenRect() const { return {}; }
    virtual bool isWindowMinimized() const { return false; }
    // Lets the player drag the window from a control's mouse press.
    virtual void dragWindow() { }
    // Keeps the window above all others, or not; place and size stay.
    virtual void setTopMost(bool /*topMost*/) { }
};
