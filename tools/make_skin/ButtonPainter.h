// The 89 x 25 command buttons of the main window.
#pragma once

#include <QImage>
#include <QString>

class ButtonPainter
{
public:
    enum class State {
        Normal,
        Hover,
        // Pressed; the game shows the same image for a disabled button, so
        // it has to read as greyed out as well as pushed in.
        Sunken,
    };

    static constexpr int kWidth = 89;
    static constexpr int kHeight = 25;

    static QImage paint(const QString &caption, State state);
};
