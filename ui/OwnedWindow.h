#pragma once

class QWidget;

// A secondary window that disables the main window while it is open cannot
// be the main window's child widget: it would be disabled with it. It
// belongs to the main window through the window system instead, which
// keeps it above that window, kept on top or not, and groups it with it.
class OwnedWindow
{
public:
    // Makes the top-level `window` stand on `owner`'s window. Call it once
    // the window's flags are final: changing them makes a new native window.
    static void setOwner(QWidget *window, QWidget *owner);
};
