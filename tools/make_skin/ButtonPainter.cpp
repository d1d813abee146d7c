#include "ButtonPainter.h"

#include "SkinStyle.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

constexpr double kRadius = 3.0;

QPainterPath roundedBox(const QRectF &box, double radius)
{
    QPainterPath path;
    path.addRoundedRect(box, radius, radius);
    return path;
}

} // namespace

QImage ButtonPainter::paint(const QString &caption, State state)
{
    QImage image = SkinStyle::canvas(kWidth, kHeight);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const QRectF outer(0, 0, kWidth, kHeight);
    const QRectF inner = outer.adjusted(1, 1, -1, -1);
    const QPainterPath outerPath = roundedBox(outer, kRadius);
    const QPainterPath innerPath = roundedBox(inner, kRadius - 1);

    // The 1px border is the outer shape showing around the inner one.
    QColor border = SkinStyle::edge();
    if (state == State::Hover)
        border = SkinStyle::accentDeep();
    p.fillPath(outerPath, border);

    QLinearGradient face(0, 1, 0, kHeight - 1);
    switch (state) {
    case State::Normal:
        face.setColorAt(0.0, QColor(84, 87, 93));
        face.setColorAt(0.48, QColor(58, 60, 65));
        face.setColorAt(0.52, QColor(48, 50, 54));
        face.setColorAt(1.0, QColor(36, 37, 41));
        break;
    case State::Hover:
        face.setColorAt(0.0, QColor(98, 94, 88));
        face.setColorAt(0.48, QColor(70, 67, 63));
        face.setColorAt(0.52, QColor(58, 55, 51));
        face.setColorAt(1.0, QColor(46, 42, 37));
        break;
    case State::Sunken:
        face.setColorAt(0.0, QColor(22, 23, 25));
        face.setColorAt(1.0, QColor(36, 37, 40));
        break;
    }
    p.fillPath(innerPath, face);

    p.save();
    p.setClipPath(innerPath);
    if (state == State::Hover) {
        // Warm glow rising from the bottom edge, as if lit from below.
        QRadialGradient glow(QPointF(kWidth / 2.0, kHeight + 4), kWidth * 0.55);
        QColor hot = SkinStyle::accent();
        hot.setAlpha(120);
        glow.setColorAt(0.0, hot);
        hot.setAlpha(0);
        glow.setColorAt(1.0, hot);
        p.fillRect(inner, glow);
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    if (state == State::Sunken) {
        // Shadow cast by the rim on the pushed-in face.
        p.fillRect(QRectF(1, 1, kWidth - 2, 1), QColor(0, 0, 0, 150));
        p.fillRect(QRectF(1, 2, kWidth - 2, 1), QColor(0, 0, 0, 60));
    } else {
        // Bevel: light top edge, darker bottom edge.
        p.fillRect(QRectF(2, 1, kWidth - 4, 1),
            state == State::Hover ? QColor(255, 214, 150, 110) : QColor(255, 255, 255, 60));
        p.fillRect(QRectF(1, 2, 1, kHeight - 4), QColor(255, 255, 255, 18));
        p.fillRect(QRectF(kWidth - 2, 2, 1, kHeight - 4), QColor(0, 0, 0, 40));
        p.fillRect(QRectF(2, kHeight - 2, kWidth - 4, 1), QColor(0, 0, 0, 70));
    }
    if (state == State::Hover) {
        QColor line = SkinStyle::accent();
        line.setAlpha(200);
        QLinearGradient under(2, 0, kWidth - 2, 0);
        under.setColorAt(0.0, QColor(255, 180, 55, 0));
        under.setColorAt(0.5, line);
        under.setColorAt(1.0, QColor(255, 180, 55, 0));
        p.fillRect(QRectF(2, kHeight - 2, kWidth - 4, 1), under);
    }
    p.restore();

    p.setFont(SkinStyle::sansFont(13));
    const QRectF textBox = inner.adjusted(0, 0, 0, state == State::Sunken ? 1 : 0);
    switch (state) {
    case State::Normal:
        SkinStyle::drawEmbossedText(p, textBox, caption, SkinStyle::ink(), QColor(0, 0, 0, 170), 0, 1);
        break;
    case State::Hover:
        SkinStyle::drawEmbossedText(
            p, textBox, caption, SkinStyle::accentLight(), QColor(40, 20, 0, 200), 0, 1);
        break;
    case State::Sunken:
        // Engraved: dim ink with a faint highlight below.
        SkinStyle::drawEmbossedText(
            p, textBox, caption, SkinStyle::inkDim(), QColor(255, 255, 255, 22), 0, 1);
        break;
    }
    return image;
}
