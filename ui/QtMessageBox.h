#pragma once

#include "MessageBox.h"

class QWidget;

// Shows the game's message boxes as real dialogs, each one on the window it
// belongs to, so that the window manager keeps it above that window, kept
// on top or not.
class QtMessageBox
{
public:
    static void install();
    // The window a message belongs to unless its request names another;
    // the main window sets itself whenever it shows.
    static void setMainWindow(QWidget *window);
    static MessageBox::Answer exec(const MessageBox::Request &request);

private:
    // The window a message box of `request` is raised on: the request's
    // owner, else the main window; null while neither exists.
    static QWidget *parentFor(const MessageBox::Request &request);
};
