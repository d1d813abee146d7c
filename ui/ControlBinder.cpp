#include "ControlBinder.h"

#include "BgrColor.h"
#include "CjkFont.h"
#include "Control.h"
#include "OptionAccessible.h"
#include "Twips.h"

#include <QAction>
#include <QLabel>
#include <QRadioButton>

void ControlBinder::bindWidget(Control &control, QWidget *widget, Geometry geometry)
{
    auto sync = [&control, widget] {
        widget->setEnabled(control.Enabled());
        widget->setVisible(control.Visible());
    };
    QObject::connect(&control, &Control::changed, widget, sync);
    sync();
    if (geometry == FollowGeometry) {
        auto place = [&control, widget] {
            widget->setGeometry(twipsRect(control.Left(), control.Top(), control.Width(), control.Height()));
        };
        QObject::connect(&control, &Control::geometryChanged, widget, place);
        place();
    }
}

void ControlBinder::bindLabel(Control &control, QLabel *label, Geometry geometry)
{
    bindWidget(control, label, geometry);
    auto sync = [&control, label] {
        // QLabel tells assistive technology of its new name itself (the
        // clock and the hint labels change while a game runs).
        if (label->text() != control.Caption())
            label->setText(control.Caption());
        QPalette palette = label->palette();
        // A disabled label keeps the style's greyed text.
        for (const auto group : { QPalette::Active, QPalette::Inactive })
            palette.setColor(group, QPalette::WindowText, toQColor(control.ForeColor()));
        palette.setColor(QPalette::Window, toQColor(control.BackColor()));
        label->setPalette(palette);
        QFont font = label->font();
        font.setBold(control.FontBold());
        font.setPointSize(control.FontSize());
        label->setFont(font);
    };
    QObject::connect(&control, &Control::changed, label, sync);
    sync();
}

void ControlBinder::bindOption(Control &control, QRadioButton *option)
{
    bindWidget(control, option);
    // Options exclude each other through their state, not through Qt.
    option->setAutoExclusive(false);
    OptionAccessible::attach(option);
    QObject::connect(&control, &Control::changed, option, [&control, option] {
        if (option->isChecked() != control.Value())
            option->setChecked(control.Value());
    });
    option->setChecked(control.Value());
    QObject::connect(option, &QRadioButton::clicked, &control, [&control, option] {
        // A click on the selected option leaves it selected.
        option->setChecked(true);
        control.setValue(true);
    });
}

void ControlBinder::bindAction(Control &control, QAction *action)
{
    action->setObjectName(control.objectName());
    auto sync = [&control, action] {
        action->setEnabled(control.Enabled());
        action->setVisible(control.Visible());
        action->setChecked(control.Checked());
        if (!control.Caption().isEmpty())
            action->setText(control.Caption());
    };
    QObject::connect(&control, &Control::changed, action, sync);
    sync();
}
