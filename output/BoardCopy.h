#pragma once

#include "GameState.h"

#include <QPoint>
#include <array>

class CellLabel;
class CellLabelView;
class QObject;
class QWidget;

// A copy of the main window's board drawn elsewhere, in the print preview or
// in the saved picture: 81 cells of its own, each with its view, laid out as
// the board is (BoardGeometry) with the top-left cell at `origin`.
class BoardCopy
{
public:
    // The cells are children of `cellOwner`, their views of `viewParent`.
    BoardCopy(QObject *cellOwner, QWidget *viewParent, const QPoint &origin);
    BoardCopy(const BoardCopy &) = delete;
    BoardCopy &operator=(const BoardCopy &) = delete;

    CellLabel &L(int index) const { return *m_cells.at(std::size_t(index)); }
    CellLabelView *view(int index) const { return m_views.at(std::size_t(index)); }

    // Takes the digits of `form`'s board with their colour, size and weight,
    // and the cells' background too when `withBackground`. The looks come
    // first, so that no digit is ever drawn in the wrong colour or size.
    void copyFrom(const GameState &form, bool withBackground);

private:
    std::array<CellLabel *, GameState::kCells> m_cells {};
    std::array<CellLabelView *, GameState::kCells> m_views {};
};
