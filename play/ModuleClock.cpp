#include "ModuleClock.h"

#include "Clock.h"
#include "GameState.h"
#include "TimeText.h"

void ModuleClock::startClock(GameState &form)
{
    form.Timer1.setInterval(1000);
    form.Timer1.start();
    form.timeStart = Clock::now();
    form.labelTime.setVisible(true);
}

void ModuleClock::Timer1_Timer(GameState &form)
{
    form.timeEnd = Clock::now();
    qint64 elapsed = TimeText::elapsedMsecs(form.timeStart, form.timeEnd);
    if (form.IsContinuedGame != 0) {
        // A saved time that does not read as a time adds nothing.
        elapsed += TimeText::parse(form.strSavedTime).value_or(0);
    }
    form.labelTime.setCaption(TimeText::format(elapsed));
}

void ModuleClock::Timer2_Timer(GameState &form)
{
    if (form.isMinimized())
        return;
    const QRect window = form.windowRect();
    // The monitor the window is on, which need not start at the desktop's
    // origin when there are several.
    const QRect screen = form.screenRect();
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
        form.moveWindow(left, top);
}

void ModuleClock::labelTime_MouseDown(GameState &form)
{
    form.dragWindow();
}
