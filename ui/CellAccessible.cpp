#include "CellAccessible.h"

#include "CellLabel.h"
#include "CellLabelView.h"

CellAccessible::CellAccessible(CellLabelView *view)
    : QAccessibleWidget(view, QAccessible::Cell)
{ }

CellLabelView *CellAccessible::view() const
{
    return static_cast<CellLabelView *>(widget());
}

QAccessible::State CellAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    // A given digit cannot be changed.
    state.readOnly = view()->cell().kind() == CellKind::Given;
    return state;
}

void CellAccessible::installFactory()
{
    static bool installed = false;
    if (installed)
        return;
    QAccessible::installFactory(&CellAccessible::create);
    installed = true;
}

QAccessibleInterface *CellAccessible::create(const QString &className, QObject *object)
{
    if (className != QLatin1String("CellLabelView") || !object || !object->isWidgetType())
        return nullptr;
    return new CellAccessible(static_cast<CellLabelView *>(object));
}
