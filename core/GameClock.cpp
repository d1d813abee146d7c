#include "GameClock.h"

#include "Clock.h"
#include "GameState.h"
#include "TimeText.h"

void GameClock::start(GameState &form)
{
    // The moment is taken before the timer starts, so that no tick can come
    // before a whole second has passed.
    form.timeStart = Clock::now();
    form.Timer1.setInterval(1000);
    form.Timer1.start();
    form.labelTime.setVisible(true);
    show(form);
}

void GameClock::restart(GameState &form)
{
    form.timeStart = Clock::now();
    show(form);
}

void GameClock::show(GameState &form)
{
    form.timeEnd = Clock::now();
    qint64 elapsed = TimeText::elapsedMsecs(form.timeStart, form.timeEnd);
    if (form.IsContinuedGame != 0) {
        // A saved time that does not read as a time adds nothing.
        elapsed += TimeText::parse(form.strSavedTime).value_or(0);
    }
    form.labelTime.setCaption(TimeText::format(elapsed));
}
