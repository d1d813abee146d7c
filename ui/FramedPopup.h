#pragma once

#include <QColor>
#include <QRect>
#include <QWidget>

// A small window without a caption bar over the main window: a thin frame
// of two lines, always on top, gone as soon as the player clicks elsewhere
// (or presses Esc). It has no close button, so losing the activation is
// how it ends; it deletes itself when it closes. The statistics window and
// the about and copyright windows are such windows.
class FramedPopup : public QWidget
{
    Q_OBJECT
public:
    // Client size in twips.
    FramedPopup(int widthTwips, int heightTwips, QWidget *parent);

    // The part of loading that every such window shares: centred on
    // mainRect (screen pixels; an invalid rect leaves the place as it is),
    // above every other window, framed.
    void loadFrame(const QRect &mainRect);
    // Shows the window without blocking and hands it the activation, so
    // that losing it later can close it.
    void showActive();

    // The frame lines, in pixels of the client area.
    QRect shape1() const { return m_shape1; }
    QRect shape3() const { return m_shape3; }
    // The inner line is drawn in the window's text colour unless a window
    // names its own.
    void setShape3Color(const QColor &color);

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void closeOnce();

    int m_widthTwips;
    int m_heightTwips;
    QRect m_shape1;
    QRect m_shape3;
    QColor m_shape3Color;
    bool m_closing = false;
};
