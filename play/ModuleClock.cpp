#include "ModuleClock.h"

#include "GameClock.h"
#include "GameState.h"
#include "ScreenGeometry.h"

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
    // The whole screen counts, not the work area: a window may cover the
    // task bar.
    const QPoint place = ScreenGeometry::keptOn(screen, window);
    if (place != window.topLeft())
        form.window().moveWindow(place.x(), place.y());
}

void ModuleClock::labelTime_MouseDown(GameState &form)
{
    form.window().dragWindow();
}
