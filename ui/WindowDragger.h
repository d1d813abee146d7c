#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>

class QWidget;

// Moves a frameless window with the pointer while a mouse button is held.
// The window manager does this best (a system move); where the platform
// refuses one, the window follows the pointer's moves by hand.
class WindowDragger : public QObject
{
    Q_OBJECT
public:
    // Starts a drag of `window` from the pointer's place now.
    static void drag(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit WindowDragger(QWidget *window);

    QPointer<QWidget> m_window;
    QPoint m_grab; // pointer position minus window position
};
