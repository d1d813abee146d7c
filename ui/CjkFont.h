#pragma once

#include <QFont>

// The board and the labels are designed in "宋体"; where it is missing the
// Song-style and then the sans Chinese fonts of the system stand in.
class CjkFont
{
public:
    static QFont song(int pointSize, bool bold = false);
    // The font of menus, message boxes and every other text without one of
    // its own: the same family as the board, as on the system the game was
    // designed for, which also spares loading a second Chinese font (a few
    // megabytes) for the widgets' default.
    static QFont interface();
};
