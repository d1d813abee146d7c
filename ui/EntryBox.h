#pragma once

#include <QLineEdit>

class Control;

// The entry box laid over the selected cell. It shows the text its control
// holds; what a typed character does is decided by the game, so every
// character is handed on instead of being edited in here.
class EntryBox : public QLineEdit
{
    Q_OBJECT
public:
    EntryBox(Control &control, QWidget *parent);

signals:
    void characterTyped(QChar character);
    // Buttons as 1 left, 2 right, 4 middle.
    void mouseDown(int button);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void sync();

    Control &m_control;
};
