#pragma once

#include <QWidget>

class CellLabel;

// Draws one cell: its background, a one-pixel border that overlaps the
// neighbours' borders to form the grid, and the digit in its text colour.
// Mouse presses and moves are handed on with the cell's index.
class CellLabelView : public QWidget
{
    Q_OBJECT
public:
    CellLabelView(CellLabel &cell, QWidget *parent);

    CellLabel &cell() const { return m_cell; }
    // What a screen reader says of a cell: "第3行 第5列 7 已知".
    static QString accessibleText(const CellLabel &cell);

signals:
    // Button as 1 left, 2 right, 4 middle; x and y in twips.
    void mouseDown(int index, int button, int shift, int x, int y);
    void mouseMove(int index, int button, int shift, int x, int y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void sync();

    CellLabel &m_cell;
};
