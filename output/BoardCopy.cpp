#include "BoardCopy.h"

#include "BoardGeometry.h"
#include "CellLabel.h"
#include "CellLabelView.h"

BoardCopy::BoardCopy(QObject *cellOwner, QWidget *viewParent, const QPoint &origin)
{
    // Cells in index order: each later cell lies over the border of the one
    // before, so neighbouring borders merge into one grid line.
    for (int i = 0; i < GameState::kCells; ++i) {
        auto *cell = new CellLabel(i, cellOwner);
        m_cells[std::size_t(i)] = cell;
        auto *view = new CellLabelView(*cell, viewParent);
        view->setGeometry(BoardGeometry::cellRect(i, origin));
        m_views[std::size_t(i)] = view;
    }
}

void BoardCopy::copyFrom(const GameState &form, bool withBackground)
{
    for (int i = 0; i < GameState::kCells; ++i) {
        const CellLabel &source = form.L(i);
        CellLabel &cell = L(i);
        cell.setCaption(QString());
        cell.setFontSize(source.FontSize());
        cell.setForeColor(source.ForeColor());
        cell.setFontBold(source.FontBold());
        if (withBackground)
            cell.setBackColor(source.BackColor());
    }
    for (int i = 0; i < GameState::kCells; ++i)
        L(i).setCaption(form.L(i).Caption());
}
