#include "EntryBox.h"

#include "BgrColor.h"
#include "BoardGeometry.h"
#include "CjkFont.h"
#include "Control.h"
#include "ControlBinder.h"
#include "MouseCode.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>

EntryBox::EntryBox(Control &control, QWidget *parent)
    : QLineEdit(parent)
    , m_control(control)
{
    setObjectName(control.objectName());
    setAlignment(Qt::AlignCenter);
    setFrame(true);
    // Text reaches the cell only as typed keys, one at a time, through the
    // game's key table: nothing may be dropped, pasted or composed into the
    // box behind its back.
    setAcceptDrops(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    ControlBinder::bindWidget(control, this, ControlBinder::FollowGeometry);
    connect(&control, &Control::changed, this, &EntryBox::sync);
    connect(&control, &Control::geometryChanged, this, &EntryBox::sync);
    connect(&control, &Control::focusRequested, this, [this] { setFocus(Qt::OtherFocusReason); });
    sync();
}

void EntryBox::sync()
{
    // Named after the cell it lies over, so a screen reader says where the
    // digit goes.
    const int column = BoardGeometry::column(m_control.Left());
    const int row = BoardGeometry::row(m_control.Top());
    const QString name = column >= 0 && row >= 0
        ? QStringLiteral("第%1行 第%2列 输入框").arg(row + 1).arg(column + 1)
        : QStringLiteral("输入框");
    if (name != accessibleName())
        setAccessibleName(name);
    if (text() != m_control.Text())
        setText(m_control.Text());
    setFont(CjkFont::song(m_control.FontSize(), m_control.FontBold()));
    QPalette p = palette();
    p.setColor(QPalette::Text, toQColor(m_control.ForeColor()));
    p.setColor(QPalette::Base, toQColor(m_control.BackColor()));
    setPalette(p);
}

void EntryBox::keyPressEvent(QKeyEvent *event)
{
    const QString text = event->text();
    if (text.size() != 1 || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        // Not a character: shortcuts and function keys go to the window.
        event->ignore();
        return;
    }
    emit characterTyped(text.at(0));
}

void EntryBox::mousePressEvent(QMouseEvent *event)
{
    if (const int button = mouseButtonCode(event->button()))
        emit mouseDown(button);
}

void EntryBox::mouseReleaseEvent(QMouseEvent *event)
{
    // A line edit pastes the selection on a middle-button release.
    event->accept();
}

void EntryBox::inputMethodEvent(QInputMethodEvent *event)
{
    // An input method could commit "。" or full-width digits.
    event->ignore();
}

void EntryBox::dragEnterEvent(QDragEnterEvent *event)
{
    event->ignore();
}

void EntryBox::dropEvent(QDropEvent *event)
{
    event->ignore();
}

void EntryBox::contextMenuEvent(QContextMenuEvent *event)
{
    // The right button cancels the entry; no edit menu.
    event->accept();
}
