// The window's own title bar: its background with the game title, the menu
// button at its left end and the small controls at its right end.
#pragma once

#include <QImage>

class TitleBarPainter
{
public:
    static constexpr int kHeight = 26;
    static constexpr int kMenuWidth = 122;
    // The controls at the right end take about this much room.
    static constexpr int kControlsWidth = 120;

    static QImage title(int width);
    static QImage menuButton(bool hover);
    static QImage closeButton(bool hover);
    static QImage minimizeButton(bool hover);
    // Kept on top: the pin pushed in and lit; otherwise tilted and dim.
    static QImage pin(bool onTop);
    // The music button shows the action a click performs: play while the
    // music is stopped, stop while it plays.
    static QImage musicButton(bool playing);
};
