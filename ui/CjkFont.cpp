#include "CjkFont.h"

#include <QStringList>

QFont CjkFont::interface()
{
    return song(9);
}

QFont CjkFont::song(int pointSize, bool bold)
{
    QFont font;
    font.setFamilies({ QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN"),
        QStringLiteral("WenQuanYi Zen Hei") });
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}
