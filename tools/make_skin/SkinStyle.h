// Colours, fonts and drawing helpers shared by every image of the black
// skin, so that buttons, title bar and pictures read as one set.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRectF>
#include <QString>

class QPainter;

class SkinStyle
{
public:
    // The orange of the game's entry box; the skin's only strong colour.
    static QColor accent() { return QColor(255, 180, 55); }
    static QColor accentLight() { return QColor(255, 214, 138); }
    static QColor accentDeep() { return QColor(214, 120, 24); }
    static QColor ink() { return QColor(234, 234, 230); }
    static QColor inkDim() { return QColor(112, 112, 112); }
    static QColor edge() { return QColor(12, 12, 13); }
    static QColor graphiteTop() { return QColor(74, 77, 83); }
    static QColor graphiteBottom() { return QColor(38, 40, 44); }
    static QColor titleTop() { return QColor(58, 61, 66); }
    static QColor titleBottom() { return QColor(24, 25, 28); }

    // Captions: a sans with good small CJK shapes.
    static QFont sansFont(int pixelSize);
    // Headlines and the splash board digits: a Ming (Song) serif.
    static QFont serifFont(int pixelSize);

    // A transparent canvas; a fixed resolution keeps the PNG bytes stable
    // whatever screen the tool runs on.
    static QImage canvas(int width, int height);

    // Draws text over a one-pixel shadow offset by (dx, dy), with its ink
    // centred in the box and snapped to whole pixels so small glyphs stay
    // sharp. Vertical placement is taken from `reference`, so captions of
    // different lengths share one baseline.
    static void drawEmbossedText(QPainter &painter, const QRectF &box, const QString &text,
        const QColor &colour, const QColor &shadow, int dx, int dy,
        const QString &reference = QStringLiteral("国"));
};
