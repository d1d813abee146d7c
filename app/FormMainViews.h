#pragma once

#include "GameState.h"

#include <QHash>
#include <QString>
#include <array>

class CellLabelView;
class FormMain;
class QWidget;
class SkinButton;

// The main window's widgets: the board's cells, the entry box, the title
// bar's pictures, the hint panel, the difficulty options, the progress bar,
// the command buttons and the clock. Each draws a control of the game's
// state and hands its events to the window's handlers.
class FormMainViews
{
public:
    // Creates them all as children of `window`.
    explicit FormMainViews(FormMain &window);
    FormMainViews(const FormMainViews &) = delete;
    FormMainViews &operator=(const FormMainViews &) = delete;

    CellLabelView *cellView(int index) const { return m_cellViews.at(std::size_t(index)); }
    // The widget that shows a control, by its design name.
    QWidget *view(const QString &name) const { return m_views.value(name); }

private:
    SkinButton *picture(Control &control, const QString &base, int kind);

    FormMain &m_window;
    std::array<CellLabelView *, GameState::kCells> m_cellViews {};
    QHash<QString, QWidget *> m_views;
};
