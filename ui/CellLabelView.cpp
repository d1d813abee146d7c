#include "CellLabelView.h"

#include "CellAccessible.h"
#include "CellLabel.h"
#include "CjkFont.h"
#include "Rgb.h"
#include "Twips.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

QColor qcolor(int bgr)
{
    return QColor(redOf(bgr), greenOf(bgr), blueOf(bgr));
}

int buttonCode(Qt::MouseButtons buttons)
{
    int code = 0;
    if (buttons & Qt::LeftButton)
        code |= 1;
    if (buttons & Qt::RightButton)
        code |= 2;
    if (buttons & Qt::MiddleButton)
        code |= 4;
    return code;
}

int shiftCode(Qt::KeyboardModifiers modifiers)
{
    int code = 0;
    if (modifiers & Qt::ShiftModifier)
        code |= 1;
    if (modifiers & Qt::ControlModifier)
        code |= 2;
    if (modifiers & Qt::AltModifier)
        code |= 4;
    return code;
}

} // namespace

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
    text += cell.Caption().isEmpty() ? QStringLiteral("空") : cell.Caption();
    if (isGiven(cell))
        text += cell.Caption().isEmpty() ? QString() : QStringLiteral(" 已知");
    else
        text += cell.Caption().isEmpty() ? QStringLiteral(" 待填") : QStringLiteral(" 玩家填写");
    if (cell.ForeColor() == 255)
        text += QStringLiteral(" 错误");
    return text;
}

bool CellLabelView::isGiven(const CellLabel &cell)
{
    return cell.ForeColor() == 0;
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
    p.fillRect(rect(), qcolor(m_cell.BackColor()));
    p.setPen(QColor(0, 0, 0));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    if (m_cell.Caption().isEmpty())
        return;
    p.setFont(CjkFont::song(m_cell.FontSize(), m_cell.FontBold()));
    p.setPen(qcolor(m_cell.ForeColor()));
    p.drawText(rect(), Qt::AlignCenter, m_cell.Caption());
}

void CellLabelView::mousePressEvent(QMouseEvent *event)
{
    emit mouseDown(m_cell.Index(), buttonCode(event->button()), shiftCode(event->modifiers()),
        pxToTwips(event->position().toPoint().x()), pxToTwips(event->position().toPoint().y()));
}

void CellLabelView::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMove(m_cell.Index(), buttonCode(event->buttons()), shiftCode(event->modifiers()),
        pxToTwips(event->position().toPoint().x()), pxToTwips(event->position().toPoint().y()));
}
