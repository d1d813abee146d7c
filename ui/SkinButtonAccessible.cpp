#include "SkinButtonAccessible.h"

#include "SkinButton.h"

SkinButtonAccessible::SkinButtonAccessible(SkinButton *button)
    : QAccessibleWidget(button, QAccessible::Button)
{ }

SkinButton *SkinButtonAccessible::button() const
{
    return static_cast<SkinButton *>(widget());
}

QStringList SkinButtonAccessible::actionNames() const
{
    return QStringList { pressAction() } + QAccessibleWidget::actionNames();
}

void SkinButtonAccessible::doAction(const QString &actionName)
{
    if (actionName == pressAction())
        button()->press();
    else
        QAccessibleWidget::doAction(actionName);
}

void SkinButtonAccessible::installFactory()
{
    static bool installed = false;
    if (installed)
        return;
    QAccessible::installFactory(&SkinButtonAccessible::create);
    installed = true;
}

QAccessibleInterface *SkinButtonAccessible::create(const QString &className, QObject *object)
{
    if (className != QLatin1String("SkinButton") || !object || !object->isWidgetType())
        return nullptr;
    auto *button = static_cast<SkinButton *>(object);
    // Title-bar icons act on their own press and release; only command
    // buttons have a single click to offer.
    if (button->kind() != SkinButton::Kind::CommandButton)
        return nullptr;
    return new SkinButtonAccessible(button);
}
