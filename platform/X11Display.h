#pragma once

#include <QByteArray>
#include <QString>

// The X server the game's windows live on.
class X11Display
{
public:
    // True when an X server answers at `display` (the value of DISPLAY);
    // otherwise false with the reason, in the player's language, in *why.
    static bool reachable(const QByteArray &display, QString *why);

    // Sends what Qt has queued for the X server at once. Qt sends its
    // requests when its event loop next meets the X connection, which a
    // window that only changes its properties on a timer never makes it do:
    // a compositor would not see the change until much later. Does nothing
    // off X11.
    static void flush();
};
