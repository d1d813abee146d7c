#include "CellLabelView.h"

#include "BgrColor.h"
#include "BoardColors.h"
#include "CellAccessible.h"
#include "CellLabel.h"
#include "CjkFont.h"
#include "MouseCode.h"
#include "Twips.h"

#include <QMouseEvent>
#include <QPainter>

CellLabelView::CellLabelView(CellLabel &cell, QWidget *parent)
    : QWidget(parent)
    , m_cell(cell)
{
    CellAccessible::installFactory();
    setObjectName(cell.objectName());
    setMouseTracking(true);
    connect(&cell, &CellLabel::changed, this, [this] { sync(); });
    sync();
}

QString CellLabelView::accessibleText(const CellLabel &cell)
{
    const int index = cell.Index();
    QString text = QStringLiteral("第%1行 第%2列 ").arg(index / 9 + 1).arg(index % 9 + 1);
    text += cell.isEmpty() ? QStringLiteral("空") : cell.Caption();
    if (cell.kind() == CellKind::Given)
        text += cell.isEmpty() ? QString() : QStringLiteral(" 已知");
    else
        text += cell.isEmpty() ? QStringLiteral(" 待填") : QStringLiteral(" 玩家填写");
    if (cell.kind() == CellKind::Wrong)
        text += QStringLiteral(" 错误");
    return text;
}

void CellLabelView::sync()
{
    // A disabled cell takes no mouse input; the widget follows the model.
    setEnabled(m_cell.Enabled());
    // Screen readers hear the cell's place, digit and kind; setting the
    // name tells them when it changes.
    const QString name = accessibleText(m_cell);
    if (name != accessibleName())
        setAccessibleName(name);
    update();
}

void CellLabelView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), toQColor(m_cell.BackColor()));
    p.setPen(toQColor(BoardColors::kGridLine));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    if (m_cell.isEmpty())
        return;
    p.setFont(CjkFont::song(m_cell.FontSize(), m_cell.FontBold()));
    p.setPen(toQColor(m_cell.ForeColor()));
    p.drawText(rect(), Qt::AlignCenter, m_cell.Caption());
}

void CellLabelView::mousePressEvent(QMouseEvent *event)
{
    emit mouseDown(m_cell.Index(), mouseButtonCode(event->button()), mouseShiftCode(event->modifiers()),
        pxToTwips(event->position().toPoint().x()), pxToTwips(event->position().toPoint().y()));
}

void CellLabelView::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMove(m_cell.Index(), mouseButtonCode(event->buttons()), mouseShiftCode(event->modifiers()),
        pxToTwips(event->position().toPoint().x()), pxToTwips(event->position().toPoint().y()));
}
