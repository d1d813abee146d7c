#include "OwnedWindow.h"

#include <QWidget>
#include <QWindow>

void OwnedWindow::setOwner(QWidget *window, QWidget *owner)
{
    if (!window || !owner)
        return;
    // Both native windows made now, so that the link holds from the first
    // time the window shows.
    owner->window()->winId();
    window->winId();
    window->windowHandle()->setTransientParent(owner->window()->windowHandle());
}
