#pragma once

class QKeyEvent;
class QPushButton;
class QWidget;

// The keys of a window that acts as a dialog without being a QDialog:
// Escape presses its cancel button; Enter and Return press the push button
// that has the focus, else the default one.
class DialogKeys
{
public:
    // Called from `window`'s keyPressEvent; true when the key was one of
    // these and a button has been pressed.
    static bool press(
        const QKeyEvent *event, const QWidget *window, QPushButton *cancel, QPushButton *defaultButton);
};
