#pragma once

#include <QObject>

// The state of the progress bar shown while a puzzle is prepared. The bar
// on screen follows it; tests read the values it went through.
class ProgressModel : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    int Value() const { return m_value; }
    void setValue(int value);
    bool Visible() const { return m_visible; }
    void setVisible(bool visible);
    // Its place in the window's right column, in twips.
    int Left() const { return m_left; }
    void setLeft(int twips);

signals:
    void valueChanged(int value);
    void visibleChanged(bool visible);
    void leftChanged(int twips);

private:
    int m_value = 0;
    bool m_visible = false;
    int m_left = 4800;
};
