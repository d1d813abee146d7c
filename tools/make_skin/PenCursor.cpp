#include "PenCursor.h"

#include "SkinStyle.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

// Measured along the pencil from its point, in pixels.
constexpr double kLength = 35.5;
constexpr double kHalfWidth = 4.0;
constexpr double kLeadEnd = 3.6;
constexpr double kWoodEnd = 10.0;
constexpr double kBodyEnd = 27.5;
constexpr double kFerruleEnd = 31.5;

QPainterPath band(double from, double to)
{
    QPainterPath path;
    path.addRect(QRectF(from, -kHalfWidth, to - from, 2 * kHalfWidth));
    return path;
}

QLinearGradient across(const QColor &light, const QColor &mid, const QColor &dark)
{
    QLinearGradient g(0, -kHalfWidth, 0, kHalfWidth);
    g.setColorAt(0.0, light);
    g.setColorAt(0.45, mid);
    g.setColorAt(1.0, dark);
    return g;
}

} // namespace

QImage PenCursor::image()
{
    QImage image = SkinStyle::canvas(kSize, kSize);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Local frame: x runs from the point towards the top-right corner, y
    // across the pencil.
    const QPoint hot = hotSpot();
    p.translate(hot.x() + 0.5, hot.y() + 0.5);
    p.rotate(-45);

    QPainterPath outline;
    outline.moveTo(0, 0);
    outline.lineTo(kWoodEnd, -kHalfWidth);
    outline.lineTo(kLength - 1.5, -kHalfWidth);
    outline.quadTo(kLength, -kHalfWidth, kLength, -kHalfWidth + 1.5);
    outline.lineTo(kLength, kHalfWidth - 1.5);
    outline.quadTo(kLength, kHalfWidth, kLength - 1.5, kHalfWidth);
    outline.lineTo(kWoodEnd, kHalfWidth);
    outline.closeSubpath();

    // A pale halo keeps the dark outline visible on a dark board.
    p.strokePath(outline, QPen(QColor(255, 255, 255, 150), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));

    p.save();
    p.setClipPath(outline);
    // Painted body with a lit facet, in the skin's orange.
    p.fillPath(band(kWoodEnd, kBodyEnd),
        across(QColor(255, 222, 150), SkinStyle::accent(), SkinStyle::accentDeep()));
    p.fillRect(QRectF(kWoodEnd, -1.3, kBodyEnd - kWoodEnd, 0.8), QColor(255, 255, 255, 70));
    // Sharpened wood and the lead.
    p.fillPath(band(0, kWoodEnd), across(QColor(246, 226, 192), QColor(226, 194, 148), QColor(176, 138, 92)));
    QPainterPath lead;
    lead.moveTo(0, 0);
    lead.lineTo(kLeadEnd, -kHalfWidth * kLeadEnd / kWoodEnd);
    lead.lineTo(kLeadEnd, kHalfWidth * kLeadEnd / kWoodEnd);
    lead.closeSubpath();
    p.fillPath(lead, QColor(40, 40, 42));
    // The scalloped edge where the paint meets the wood.
    for (int i = -1; i <= 1; ++i) {
        QPainterPath scallop;
        scallop.addEllipse(QPointF(kWoodEnd, i * 2.7), 0.9, 1.4);
        p.fillPath(scallop, SkinStyle::accent());
    }
    // Metal ferrule with two grooves, then the eraser.
    p.fillPath(band(kBodyEnd, kFerruleEnd),
        across(QColor(238, 240, 244), QColor(168, 172, 178), QColor(96, 100, 106)));
    p.fillRect(QRectF(kBodyEnd + 1.2, -kHalfWidth, 0.6, 2 * kHalfWidth), QColor(60, 62, 66, 160));
    p.fillRect(QRectF(kBodyEnd + 2.6, -kHalfWidth, 0.6, 2 * kHalfWidth), QColor(60, 62, 66, 160));
    p.fillPath(band(kFerruleEnd, kLength + 1),
        across(QColor(240, 170, 160), QColor(214, 120, 110), QColor(150, 74, 70)));
    p.restore();

    p.strokePath(outline, QPen(QColor(20, 20, 22), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.end();

    // The hot spot pixel is the point itself; make it solid so a click
    // lands on something visible.
    image.setPixelColor(hot, QColor(28, 28, 30));
    return image;
}
