#include "SkinStyle.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

namespace {

// 96 dpi, the value Qt would otherwise take from the current screen.
constexpr int kDotsPerMeter = 3780;

QPointF inkOrigin(const QFont &font, const QRectF &box, const QString &text, const QString &reference)
{
    const QFontMetricsF metrics(font);
    const QRectF ink = metrics.tightBoundingRect(text);
    const QRectF refInk = metrics.tightBoundingRect(reference);
    const double x = std::round(box.center().x() - ink.center().x());
    const double y = std::round(box.center().y() - refInk.center().y());
    return QPointF(x, y);
}

} // namespace

QFont SkinStyle::sansFont(int pixelSize)
{
    QFont font(QStringLiteral("WenQuanYi Zen Hei"));
    font.setPixelSize(pixelSize);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QFont SkinStyle::serifFont(int pixelSize)
{
    QFont font(QStringLiteral("AR PL UMing CN"));
    font.setPixelSize(pixelSize);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QImage SkinStyle::canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    image.setDotsPerMeterX(kDotsPerMeter);
    image.setDotsPerMeterY(kDotsPerMeter);
    return image;
}

void SkinStyle::drawEmbossedText(QPainter &painter, const QRectF &box, const QString &text,
    const QColor &colour, const QColor &shadow, int dx, int dy, const QString &reference)
{
    const QPointF origin = inkOrigin(painter.font(), box, text, reference);
    painter.setPen(shadow);
    painter.drawText(origin + QPointF(dx, dy), text);
    painter.setPen(colour);
    painter.drawText(origin, text);
}
