#include "FramedPopup.h"

#include "Twips.h"

#include <QKeyEvent>
#include <QPainter>

namespace {
const QColor kShape1Color(128, 128, 128);
}

FramedPopup::FramedPopup(int widthTwips, int heightTwips, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint)
    , m_widthTwips(widthTwips)
    , m_heightTwips(heightTwips)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(twipsToPx(widthTwips), twipsToPx(heightTwips));
}

void FramedPopup::loadFrame(const QRect &mainRect)
{
    if (mainRect.isValid()) {
        // No clamping to the screen: the window sits over the main window
        // wherever that is.
        const int top = qRound(mainRect.top() + mainRect.height() / 2.0 - height() / 2.0);
        const int left = qRound(mainRect.left() + mainRect.width() / 2.0 - width() / 2.0);
        move(left, top);
    }
    // On top whatever the main window's own preference; changing the flags
    // of a shown window hides it, so only when needed.
    if (!windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    m_shape1 = twipsRect(0, 0, m_widthTwips, m_heightTwips);
    m_shape3 = twipsRect(15, 15, m_widthTwips - 30, m_heightTwips - 30);
    update();
}

void FramedPopup::setShape3Color(const QColor &color)
{
    m_shape3Color = color;
    update();
}

void FramedPopup::showActive()
{
    show();
    raise();
    activateWindow();
}

bool FramedPopup::event(QEvent *event)
{
    if (event->type() == QEvent::WindowDeactivate)
        closeOnce();
    return QWidget::event(event);
}

void FramedPopup::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow())
        closeOnce();
    QWidget::changeEvent(event);
}

void FramedPopup::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        closeOnce();
        return;
    }
    QWidget::keyPressEvent(event);
}

void FramedPopup::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const auto outline = [&painter](const QRect &r, const QColor &color) {
        if (r.isEmpty())
            return;
        painter.setPen(color);
        painter.setBrush(Qt::NoBrush);
        // A one-pixel pen draws one pixel beyond the rect's size.
        painter.drawRect(r.adjusted(0, 0, -1, -1));
    };
    outline(m_shape1, kShape1Color);
    outline(m_shape3, m_shape3Color.isValid() ? m_shape3Color : palette().color(QPalette::WindowText));
}

void FramedPopup::closeOnce()
{
    if (m_closing)
        return;
    m_closing = true;
    close();
}
