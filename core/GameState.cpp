#include "GameState.h"

#include <climits>

GameState::GameState()
{
    for (int i = 0; i < kCells; ++i)
        m_cells[std::size_t(i)] = std::make_unique<CellLabel>(i);
}

GameState::~GameState() = default;

bool GameState::colorValue(const QString &text, int *value)
{
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok);
    if (!ok || v < INT_MIN || v > INT_MAX)
        return false;
    *value = int(v);
    return true;
}
