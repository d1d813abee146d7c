#pragma once

class Control;
class QAction;
class QLabel;
class QRadioButton;
class QWidget;

// Keeps a widget or a menu action in step with the control state it shows.
class ControlBinder
{
public:
    enum Geometry { KeepGeometry, FollowGeometry };

    // Enabled and visible; with FollowGeometry also Left/Top/Width/Height
    // (twips). The widget starts from the state as it is now.
    static void bindWidget(Control &control, QWidget *widget, Geometry geometry = KeepGeometry);
    // As a widget, plus caption, text colour, background, boldness, size.
    static void bindLabel(Control &control, QLabel *label, Geometry geometry = KeepGeometry);
    // The player's choice selects the option; selecting it from code
    // checks the button.
    static void bindOption(Control &control, QRadioButton *option);
    // Enabled, check mark, visible, caption.
    static void bindAction(Control &control, QAction *action);
};
