#pragma once

#include <QAccessibleWidget>

class QRadioButton;

// What assistive technology sees of a difficulty option: a radio button,
// checked or not, that a press selects. The options exclude each other
// through the game's state rather than through Qt, and Qt reports a
// non-exclusive radio button as a check box, which would tell a screen
// reader user that several difficulties can be chosen at once.
class OptionAccessible : public QAccessibleWidget
{
public:
    explicit OptionAccessible(QRadioButton *option);

    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;

    // Makes `option` use this interface, also when Qt already made it
    // another one.
    static void attach(QRadioButton *option);

private:
    static QAccessibleInterface *create(const QString &className, QObject *object);

    QRadioButton *option() const;
};
