#include "Skin.h"

#include "Control.h"

QString Skin::literal(const QString &name)
{
    return QStringLiteral("\\interface\\black\\") + name;
}

void Skin::setEnabled(Control &button, const QString &base, bool enabled)
{
    button.setEnabled(enabled);
    button.setPicture(literal(base + (enabled ? QLatin1Char('1') : QLatin1Char('3'))));
}
