#include "ModuleClock.h"

#include "GameClock.h"
#include "GameState.h"

void ModuleClock::Timer1_Timer(GameState &form)
{
    GameClock::show(form);
}

void ModuleClock::Timer2_Timer(GameState &form)
{
    if (form.isMinimized())
        return;
    const QRect window = form.windowRect();
    const QSize screen = form.screenSize();
    int top = window.top();
    int left = window.left();
    // The whole screen counts, not the work area: a window may cover the
    // task bar. Top-left wins when the window is larger than the screen.
    if (screen.height() - window.height() < top)
        top = screen.height() - window.height();
    if (screen.width() - window.width() < left)
        left = screen.width() - window.width();
    if (top < 0)
        top = 0;
    if (left < 0)
        left = 0;
    if (top != window.top() || left != window.left())
        form.moveWindow(left, top);
}

void ModuleClock::labelTime_MouseDown(GameState &form)
{
    form.dragWindow();
}
