#include "DialogKeys.h"

#include <QKeyEvent>
#include <QPushButton>

bool DialogKeys::press(
    const QKeyEvent *event, const QWidget *window, QPushButton *cancel, QPushButton *defaultButton)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        cancel->click();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A button hidden while the window prints keeps no claim on Enter.
        if (auto *button = qobject_cast<QPushButton *>(window->focusWidget()); button && button->isVisible())
            button->click();
        else
            defaultButton->click();
        return true;
    default:
        return false;
    }
}
