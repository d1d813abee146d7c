#include "OptionAccessible.h"

#include <QRadioButton>
#include <QTimer>

namespace {
// Only the options the game binds; other radio buttons keep Qt's own.
const char *const kBoundProperty = "vexaOption";
} // namespace

OptionAccessible::OptionAccessible(QRadioButton *option)
    : QAccessibleWidget(option, QAccessible::RadioButton)
{ }

QRadioButton *OptionAccessible::option() const
{
    return static_cast<QRadioButton *>(widget());
}

QAccessible::State OptionAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.checkable = true;
    state.checked = option()->isChecked();
    return state;
}

QString OptionAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && option()->accessibleName().isEmpty()) {
        QString caption = option()->text();
        caption.remove(QLatin1Char('&'));
        return caption;
    }
    return QAccessibleWidget::text(t);
}

QStringList OptionAccessible::actionNames() const
{
    return QStringList { pressAction() } + QAccessibleWidget::actionNames();
}

void OptionAccessible::doAction(const QString &actionName)
{
    if (actionName != pressAction()) {
        QAccessibleWidget::doAction(actionName);
        return;
    }
    // Like a command button's press, the click lands after the reader got
    // its answer: a message box it opens must not hold the reader up.
    QRadioButton *target = option();
    QTimer::singleShot(0, target, [target] {
        if (target->isEnabled())
            target->click();
    });
}

QStringList OptionAccessible::keyBindingsForAction(const QString &) const
{
    return {};
}

void OptionAccessible::attach(QRadioButton *option)
{
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(&OptionAccessible::create);
        installed = true;
    }
    option->setProperty(kBoundProperty, true);
    QAccessibleInterface *current = QAccessible::queryAccessibleInterface(option);
    if (current && !dynamic_cast<OptionAccessible *>(current)) {
        // Made before the option was bound; the next query asks the
        // factories again.
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(current));
        QAccessible::queryAccessibleInterface(option);
    }
}

QAccessibleInterface *OptionAccessible::create(const QString &className, QObject *object)
{
    if (className != QLatin1String("QRadioButton") || !object || !object->property(kBoundProperty).toBool())
        return nullptr;
    return new OptionAccessible(static_cast<QRadioButton *>(object));
}
