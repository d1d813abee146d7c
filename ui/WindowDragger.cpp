#include "WindowDragger.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

void WindowDragger::drag(QWidget *window)
{
    if (!window)
        return;
    if (QWindow *handle = window->windowHandle(); handle && handle->startSystemMove())
        return;
    auto *dragger = new WindowDragger(window);
    qApp->installEventFilter(dragger);
}

WindowDragger::WindowDragger(QWidget *window)
    : QObject(window)
    , m_window(window)
    , m_grab(QCursor::pos() - window->pos())
{ }

bool WindowDragger::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
        if (m_window) {
            const auto *move = static_cast<QMouseEvent *>(event);
            m_window->move(move->globalPosition().toPoint() - m_grab);
        }
        return false;
    case QEvent::MouseButtonRelease:
        qApp->removeEventFilter(this);
        deleteLater();
        return false;
    default:
        return false;
    }
}
