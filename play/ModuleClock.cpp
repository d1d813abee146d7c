#include "ModuleClock.h"

#include "GameClock.h"
#include "GameState.h"

void ModuleClock::Timer1_Timer(GameState &form)
{
    GameClock::show(form);
}

void ModuleClock::Timer2_Timer(GameState &form)
{
    if (form.window().isWindowMinimized())
        return;
    const QRect window = form.window().windowRect();
    // The monitor the window is on, which need not start at the desktop's
    // origin when there are several.
    const QRect screen = form.window().screenRect();
    int top = window.top();
    int left = window.left();
    // The whole screen counts, not the work area: a window may cover the
    // task bar. Top-left wins when the window is larger than the screen.
    if (screen.top() + screen.height() - window.height() < top)
        top = screen.top() + screen.height() - window.height();
    if (screen.left() + screen.width() - window.width() < left)
        left = screen.left() + screen.width() - window.width();
    if (top < screen.top())
        top = screen.top();
    if (left < screen.left())
        left = screen.left();
    if (top != window.top() || left != window.left())
        form.window().moveWindow(left, top);
}

void ModuleClock::labelTime_MouseDown(GameState &form)
{
    form.window().dragWindow();
}
