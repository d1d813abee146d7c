#pragma once

#include <QRect>
#include <QWidget>
#include <functional>

// Opens a framed popup (the about, copyright and statistics windows) and
// ends it the ways the player or the window system does. Each ending is
// done to a popup that is open and active, and tells whether the popup
// then closed and deleted itself.
class PopupHarness
{
public:
    // A popup that loads itself over the main window's place (FormAbout,
    // FormCopyright), over `main` or nowhere in particular, shown active.
    template <typename Popup> static Popup *open(QWidget *main)
    {
        auto *popup = new Popup(main);
        popup->load(main ? main->frameGeometry() : QRect());
        popup->showActive();
        return popup;
    }

    // Where a popup of this (frame) size stands when centred on `main`:
    // half pixels rounded as qRound does.
    static QPoint centredOn(const QRect &main, const QSize &size);

    // The window system takes the activation away.
    static bool closesOnDeactivation(QWidget *popup);
    // The player presses Esc on `target`, the popup or the part of it that
    // has the focus.
    static bool closesOnEscape(QWidget *target, QWidget *popup);
    // `open` opens the popup over a main window that is shown; once the
    // popup has the activation, the player activates the main window, which
    // stays shown.
    static bool closesWhenTheMainWindowIsActivated(const std::function<QWidget *(QWidget *main)> &open);
};
