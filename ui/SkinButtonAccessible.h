#pragma once

#include <QAccessibleWidget>

class SkinButton;

// What assistive technology sees of a command button drawn from skin
// images: a push button with its caption that can be pressed. As the plain
// picture Qt would take it for, a screen reader could neither tell it is a
// button nor press it.
class SkinButtonAccessible : public QAccessibleWidget
{
public:
    explicit SkinButtonAccessible(SkinButton *button);

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

    // Makes every command button created from now on use this interface;
    // it must be in place before the button's constructor names it.
    static void installFactory();

private:
    static QAccessibleInterface *create(const QString &className, QObject *object);

    SkinButton *button() const;
};
