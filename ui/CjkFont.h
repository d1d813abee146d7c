#pragma once

#include <QFont>

// The board and the labels are designed in "宋体"; where it is missing the
// Song-style and then the sans Chinese fonts of the system stand in.
class CjkFont
{
public:
    static QFont song(int pointSize, bool bold = false);
};
