#include "TitleBarPainter.h"

#include "SkinStyle.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>
#include <cmath>

namespace {

constexpr int kIconHeight = 15;

void paintBarBackground(QPainter &p, int width)
{
    const int h = TitleBarPainter::kHeight;
    QLinearGradient bar(0, 0, 0, h);
    bar.setColorAt(0.0, SkinStyle::titleTop());
    bar.setColorAt(0.5, QColor(40, 42, 46));
    bar.setColorAt(1.0, SkinStyle::titleBottom());
    p.fillRect(QRect(0, 0, width, h), bar);
    p.fillRect(QRect(0, 0, width, 1), QColor(255, 255, 255, 38));
    p.fillRect(QRect(0, h - 1, width, 1), SkinStyle::edge());
}

// A small key on the title bar; the controls share this shape so the row at
// the bar's right end reads as one group.
void paintKey(QPainter &p, int width, const QColor &top, const QColor &bottom, const QColor &shine)
{
    const QRectF outer(0, 0, width, kIconHeight);
    QPainterPath outline;
    outline.addRoundedRect(outer, 2.5, 2.5);
    QPainterPath face;
    face.addRoundedRect(outer.adjusted(1, 1, -1, -1), 1.5, 1.5);
    p.fillPath(outline, QColor(8, 8, 9, 230));
    QLinearGradient g(0, 1, 0, kIconHeight - 1);
    g.setColorAt(0.0, top);
    g.setColorAt(1.0, bottom);
    p.fillPath(face, g);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(2, 1, width - 4, 1), shine);
    p.restore();
}

void paintNormalKey(QPainter &p, int width)
{
    paintKey(p, width, QColor(68, 71, 77), QColor(36, 38, 42), QColor(255, 255, 255, 45));
}

void paintLitKey(QPainter &p, int width)
{
    paintKey(p, width, QColor(92, 88, 82), QColor(50, 46, 41), QColor(255, 214, 150, 90));
}

// The game's mark: a 3 x 3 block with the entry box lit in the middle.
void paintBlockGlyph(QPainter &p, int x, int y, bool lit)
{
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            QColor c = (row == 1 && col == 1) ? SkinStyle::accent()
                                              : (lit ? SkinStyle::accentLight() : QColor(196, 198, 202));
            if (!(row == 1 && col == 1) && (row + col) % 2 == 1)
                c.setAlpha(lit ? 170 : 120);
            p.fillRect(QRect(x + col * 4, y + row * 4, 3, 3), c);
        }
    }
}

} // namespace

QImage TitleBarPainter::title(int width)
{
    QImage image = SkinStyle::canvas(width, kHeight);
    QPainter p(&image);
    paintBarBackground(p, width);

    // The title sits centred in the room left between the menu button and
    // the controls.
    const QString han = QStringLiteral("数独");
    const QString latin = QStringLiteral("VEXA SUDOKU I");
    QFont hanFont = SkinStyle::sansFont(14);
    QFont latinFont = SkinStyle::sansFont(12);
    // Whole-pixel spacing keeps every letter on the pixel grid.
    latinFont.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    const QFontMetricsF hanMetrics(hanFont);
    const QFontMetricsF latinMetrics(latinFont);
    const double gap = 7;
    const double hanWidth = hanMetrics.horizontalAdvance(han);
    const double latinWidth = latinMetrics.horizontalAdvance(latin) - 2;
    const double total = hanWidth + gap + latinWidth;
    const double roomLeft = kMenuWidth;
    const double roomRight = width - kControlsWidth;
    const double x0 = std::round((roomLeft + roomRight - total) / 2);
    const double baseline = 18;

    // A warm hairline under the title, fading out at both ends.
    QLinearGradient rule(x0 - 30, 0, x0 + total + 30, 0);
    rule.setColorAt(0.0, QColor(255, 180, 55, 0));
    rule.setColorAt(0.5, QColor(255, 180, 55, 150));
    rule.setColorAt(1.0, QColor(255, 180, 55, 0));
    p.fillRect(QRectF(x0 - 30, kHeight - 2, total + 60, 1), rule);

    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(hanFont);
    p.setPen(QColor(0, 0, 0, 180));
    p.drawText(QPointF(x0, baseline + 1), han);
    p.setPen(SkinStyle::accent());
    p.drawText(QPointF(x0, baseline), han);

    p.setFont(latinFont);
    const QPointF latinAt(x0 + hanWidth + gap, baseline - 1);
    p.setPen(QColor(0, 0, 0, 180));
    p.drawText(latinAt + QPointF(0, 1), latin);
    p.setPen(QColor(214, 216, 220));
    p.drawText(latinAt, latin);
    return image;
}

QImage TitleBarPainter::menuButton(bool hover)
{
    QImage image = SkinStyle::canvas(kMenuWidth, kHeight);
    QPainter p(&image);
    paintBarBackground(p, kMenuWidth);
    p.setRenderHint(QPainter::Antialiasing);

    if (hover) {
        QRadialGradient glow(QPointF(kMenuWidth / 2.0, kHeight + 6), kMenuWidth * 0.6);
        glow.setColorAt(0.0, QColor(255, 180, 55, 110));
        glow.setColorAt(1.0, QColor(255, 180, 55, 0));
        p.fillRect(QRect(0, 1, kMenuWidth - 2, kHeight - 2), glow);
        QLinearGradient under(0, 0, kMenuWidth - 2, 0);
        under.setColorAt(0.0, QColor(255, 180, 55, 0));
        under.setColorAt(0.5, QColor(255, 180, 55, 220));
        under.setColorAt(1.0, QColor(255, 180, 55, 0));
        p.fillRect(QRect(0, kHeight - 2, kMenuWidth - 2, 1), under);
    }

    // A groove parts the menu from the title proper.
    p.setRenderHint(QPainter::Antialiasing, false);
    QLinearGradient dark(0, 0, 0, kHeight);
    dark.setColorAt(0.0, QColor(0, 0, 0, 0));
    dark.setColorAt(0.5, QColor(0, 0, 0, 170));
    dark.setColorAt(1.0, QColor(0, 0, 0, 0));
    QLinearGradient light(0, 0, 0, kHeight);
    light.setColorAt(0.0, QColor(255, 255, 255, 0));
    light.setColorAt(0.5, QColor(255, 255, 255, 40));
    light.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillRect(QRect(kMenuWidth - 2, 3, 1, kHeight - 6), dark);
    p.fillRect(QRect(kMenuWidth - 1, 3, 1, kHeight - 6), light);

    // Glyph, caption and caret are centred as a group on the button.
    const QString caption = QStringLiteral("菜单");
    const QFont font = SkinStyle::sansFont(13);
    const double captionWidth = QFontMetricsF(font).horizontalAdvance(caption);
    constexpr int glyphWidth = 11;
    constexpr int caretWidth = 7;
    constexpr int spacing = 8;
    const int groupWidth = glyphWidth + spacing + int(std::ceil(captionWidth)) + spacing + caretWidth;
    const int left = (kMenuWidth - 2 - groupWidth) / 2;
    paintBlockGlyph(p, left, 7, hover);

    p.setRenderHint(QPainter::Antialiasing);
    p.setFont(font);
    const QRectF textBox(left + glyphWidth + spacing, 1, std::ceil(captionWidth), kHeight - 2);
    SkinStyle::drawEmbossedText(
        p, textBox, caption, hover ? SkinStyle::accentLight() : SkinStyle::ink(), QColor(0, 0, 0, 180), 0, 1);

    // Drop-down caret.
    const double cx = textBox.right() + spacing;
    QPainterPath caret;
    caret.moveTo(cx, 11);
    caret.lineTo(cx + caretWidth, 11);
    caret.lineTo(cx + caretWidth / 2.0, 15);
    caret.closeSubpath();
    p.fillPath(caret.translated(0, 1), QColor(0, 0, 0, 160));
    p.fillPath(caret, hover ? SkinStyle::accent() : QColor(170, 172, 176));
    return image;
}

QImage TitleBarPainter::closeButton(bool hover)
{
    constexpr int w = 35;
    QImage image = SkinStyle::canvas(w, kIconHeight);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (hover)
        paintKey(p, w, QColor(226, 92, 70), QColor(150, 36, 24), QColor(255, 200, 180, 120));
    else
        paintNormalKey(p, w);

    const QPointF c(w / 2.0, kIconHeight / 2.0);
    const double r = 3.5;
    QPainterPath cross;
    cross.moveTo(c + QPointF(-r, -r));
    cross.lineTo(c + QPointF(r, r));
    cross.moveTo(c + QPointF(r, -r));
    cross.lineTo(c + QPointF(-r, r));
    p.setPen(QPen(QColor(0, 0, 0, hover ? 120 : 170), 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(cross.translated(0, 1));
    p.setPen(QPen(hover ? QColor(255, 255, 255) : QColor(214, 216, 220), 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(cross);
    return image;
}

QImage TitleBarPainter::minimizeButton(bool hover)
{
    constexpr int w = 25;
    QImage image = SkinStyle::canvas(w, kIconHeight);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (hover)
        paintLitKey(p, w);
    else
        paintNormalKey(p, w);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRect bar(8, 9, 9, 2);
    p.fillRect(bar.translated(0, 1), QColor(0, 0, 0, 170));
    p.fillRect(bar, hover ? SkinStyle::accent() : QColor(214, 216, 220));
    return image;
}

QImage TitleBarPainter::pin(bool onTop)
{
    constexpr int s = kIconHeight;
    QImage image = SkinStyle::canvas(s, s);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (onTop)
        paintLitKey(p, s);
    else
        paintNormalKey(p, s);

    // Drawn upright around the key's centre; the loose pin is turned and
    // stands taller, the pushed one sits low with its needle sunk in.
    const QColor metal = onTop ? SkinStyle::accent() : QColor(150, 152, 156);
    const QColor needle = onTop ? SkinStyle::accentLight() : QColor(120, 122, 126);
    p.translate(s / 2.0, s / 2.0);
    if (!onTop)
        p.rotate(40);
    const double lift = onTop ? 1.0 : -0.5;
    QPainterPath head;
    head.addRoundedRect(QRectF(-2.5, -5.5 + lift, 5, 2), 0.8, 0.8);
    QPainterPath body;
    body.addRect(QRectF(-1.5, -3.5 + lift, 3, 3.5));
    QPainterPath flange;
    flange.addRoundedRect(QRectF(-3.5, 0 + lift, 7, 1.6), 0.8, 0.8);
    const QPainterPath shape = head.united(body).united(flange);
    const double needleEnd = onTop ? 3.2 : 5.5;
    p.setPen(QPen(QColor(0, 0, 0, 150), 1.0));
    p.drawLine(QPointF(0.5, 1.6 + lift), QPointF(0.5, needleEnd + 0.5));
    p.setPen(QPen(needle, 1.0));
    p.drawLine(QPointF(0, 1.6 + lift), QPointF(0, needleEnd));
    p.setPen(Qt::NoPen);
    p.fillPath(shape.translated(0, 1), QColor(0, 0, 0, 150));
    p.fillPath(shape, metal);
    p.fillRect(QRectF(-1.5, -5.5 + lift, 2, 1), QColor(255, 255, 255, onTop ? 150 : 80));
    return image;
}

QImage TitleBarPainter::musicButton(bool playing)
{
    constexpr int s = kIconHeight;
    QImage image = SkinStyle::canvas(s, s);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paintNormalKey(p, s);

    // Eighth note: lit while the music plays, grey while it is stopped.
    const QColor noteColour = playing ? SkinStyle::accent() : QColor(200, 202, 206);
    QPainterPath head;
    head.addEllipse(QPointF(0, 0), 2.2, 1.6);
    QPainterPath note = QTransform().translate(4.8, 10.4).rotate(-22).map(head);
    note.addRect(QRectF(6.0, 2.5, 1.0, 8.0));
    QPainterPath flag;
    flag.moveTo(7.0, 2.5);
    flag.cubicTo(7.4, 4.4, 10.2, 4.6, 9.6, 8.0);
    flag.cubicTo(9.3, 6.3, 8.3, 5.6, 7.0, 5.2);
    flag.closeSubpath();
    note = note.united(flag);
    p.fillPath(note.translated(0, 1), QColor(0, 0, 0, 150));
    p.fillPath(note, noteColour);

    // The action a click performs, in the lower right corner.
    p.setRenderHint(QPainter::Antialiasing, !playing);
    if (playing) {
        const QRect stop(10, 9, 3, 3);
        p.fillRect(stop.translated(0, 1), QColor(0, 0, 0, 170));
        p.fillRect(stop, QColor(226, 228, 232));
    } else {
        QPainterPath play;
        play.moveTo(10, 8);
        play.lineTo(13.5, 10.5);
        play.lineTo(10, 13);
        play.closeSubpath();
        p.fillPath(play.translated(0, 1), QColor(0, 0, 0, 170));
        p.fillPath(play, SkinStyle::accent());
    }
    return image;
}
