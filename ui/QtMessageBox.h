#pragma once

#include "MessageBox.h"

// Shows the game's message boxes as real dialogs.
class QtMessageBox
{
public:
    static void install();
    static MessageBox::Answer exec(const MessageBox::Request &request);
};
