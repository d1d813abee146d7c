#pragma once

#include <QLabel>

class Control;

// A picture control drawn from skin images. A command button swaps
// "<base>1" normal, "<base>2" hover and "<base>3" pressed (the greyed image
// when disabled too); title-bar icons have a normal and a hover image. The
// picture shown is the one its control names; a missing or unreadable
// image keeps the one shown before.
class SkinButton : public QLabel
{
    Q_OBJECT
public:
    enum class Kind { CommandButton, HoverIcon, Picture };

    SkinButton(Control &control, const QString &baseName, Kind kind, QWidget *parent);

    Control &control() const { return m_control; }
    Kind kind() const { return m_kind; }
    const QString &baseName() const { return m_base; }
    // The literal of the picture shown now (empty before any was read).
    const QString &shownLiteral() const { return m_shown; }

    // A click without the mouse, as assistive technology asks for one. It
    // lands after the caller got its answer, so a message box the click
    // opens cannot hold the caller up.
    void press();

signals:
    // Buttons as 1 left, 2 right, 4 middle; x, y in twips.
    void mouseDown(int button, int x, int y);
    void mouseUp(int button, int x, int y);
    // A left press and release on the control.
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    // The skin carries its own greyed picture; Qt must not grey it again.
    void paintEvent(QPaintEvent *event) override;

private:
    void show(const QString &literal);
    void setState(char digit);

    Control &m_control;
    QString m_base;
    Kind m_kind;
    QString m_shown;
    bool m_pressed = false;
};
