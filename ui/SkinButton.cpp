#include "SkinButton.h"

#include "AppPath.h"

#include <QImageReader>
#include <QPixmap>

SkinButton::SkinButton(const QString &objectName, const QString &baseName, QWidget *parent)
    : QLabel(parent)
    , m_base(baseName)
{
    setObjectName(objectName);
    setScaledContents(true);
}

QString SkinButton::skinLiteral(const QString &name)
{
    return QStringLiteral("\\interface\\black\\") + name;
}

bool SkinButton::loadImage(const QString &literal)
{
    QImageReader reader(AppPath::file(literal));
    const QImage image = reader.read();
    if (image.isNull())
        return false;
    setPixmap(QPixmap::fromImage(image));
    m_literal = literal;
    return true;
}

void SkinButton::setEnabledWithImage(bool enabled)
{
    setEnabled(enabled);
    loadImage(skinLiteral(m_base + (enabled ? QLatin1Char('1') : QLatin1Char('3'))));
}
