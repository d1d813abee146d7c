#include "PicturePainter.h"

#include "SkinStyle.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QTransform>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {

// A valid solved grid: the classic shifted rows, relabelled so the pattern
// is not obvious at a glance.
int solvedDigit(int row, int col)
{
    static constexpr std::array<int, 9> relabel { 7, 2, 9, 4, 1, 6, 3, 8, 5 };
    return relabel[static_cast<size_t>((row * 3 + row / 3 + col) % 9)];
}

enum class CellKind { Empty, Given, Entered };

CellKind splashCell(int row, int col)
{
    const int h = (row * 5 + col * 3 + row * col) % 7;
    if (h < 2 || (h == 3 && col % 3 == 1))
        return CellKind::Given;
    if (h == 4 && (row + col) % 2 == 0)
        return CellKind::Entered;
    return CellKind::Empty;
}

void paintSplashBoard(QPainter &p)
{
    // The board lies tilted back, as if on a table, filling the left side.
    const QPolygonF square({ QPointF(0, 0), QPointF(9, 0), QPointF(9, 9), QPointF(0, 9) });
    const QPolygonF quad({ QPointF(46, 34), QPointF(196, 50), QPointF(180, 252), QPointF(-40, 214) });
    QTransform toBoard;
    QTransform::quadToQuad(square, quad, toBoard);

    p.save();
    p.setTransform(toBoard);

    QLinearGradient plate(0, 0, 9, 9);
    plate.setColorAt(0.0, QColor(52, 50, 48));
    plate.setColorAt(1.0, QColor(22, 22, 24));
    p.fillRect(QRectF(0, 0, 9, 9), plate);

    // The entry box, lit in the game's orange.
    const QPoint entry(5, 3);
    p.fillRect(QRectF(entry.x(), entry.y(), 1, 1), QColor(255, 180, 55, 120));

    const QFont digitFont = SkinStyle::serifFont(100);
    const QFontMetricsF metrics(digitFont);
    const QRectF inkOfEight = metrics.tightBoundingRect(QStringLiteral("8"));
    for (int row = 0; row < 9; ++row) {
        for (int col = 0; col < 9; ++col) {
            const CellKind kind = splashCell(row, col);
            if (kind == CellKind::Empty)
                continue;
            const QString digit = QString::number(solvedDigit(row, col));
            const QRectF ink = metrics.tightBoundingRect(digit);
            p.save();
            p.translate(col + 0.5, row + 0.5);
            p.scale(0.0092, 0.0092);
            p.translate(-ink.center().x(), -inkOfEight.center().y());
            QPainterPath glyph;
            glyph.addText(QPointF(0, 0), digitFont, digit);
            // The Ming face is light; a hairline of the same colour gives the
            // distant digits enough weight to read.
            const QColor colour = kind == CellKind::Given ? QColor(230, 228, 222) : SkinStyle::accent();
            QPen hairline(colour, 0.6);
            hairline.setCosmetic(true);
            p.setPen(hairline);
            p.setBrush(colour);
            p.drawPath(glyph);
            p.restore();
        }
    }
    p.restore();

    // Lines are drawn in screen space so they stay one pixel wide however
    // far away they are.
    p.save();
    for (int i = 0; i <= 9; ++i) {
        const bool major = i % 3 == 0;
        QPen pen(major ? QColor(255, 180, 55, 190) : QColor(200, 200, 200, 60), major ? 1.6 : 1.0);
        p.setPen(pen);
        p.drawLine(toBoard.map(QLineF(i, 0, i, 9)));
        p.drawLine(toBoard.map(QLineF(0, i, 9, i)));
    }
    // The entry box outline, with a soft glow around it.
    const QPolygonF box = toBoard.map(QPolygonF(QRectF(entry.x() + 0.06, entry.y() + 0.06, 0.88, 0.88)));
    p.setPen(QPen(QColor(255, 180, 55, 60), 5.0, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
    p.drawPolygon(box);
    p.setPen(QPen(SkinStyle::accent(), 2.0));
    p.drawPolygon(box);
    p.restore();
}

// 4 or 5 columns by 5 rows; '#' is ink.
struct PixelGlyph
{
    char letter;
    std::array<const char *, 5> rows;
};

constexpr std::array<PixelGlyph, 9> kPixelFont { {
    { 'V', { "#...#", "#...#", ".#.#.", ".#.#.", "..#.." } },
    { 'E', { "####", "#...", "###.", "#...", "####" } },
    { 'X', { "#...#", ".#.#.", "..#..", ".#.#.", "#...#" } },
    { 'A', { ".##.", "#..#", "####", "#..#", "#..#" } },
    { 'S', { ".###", "#...", ".##.", "...#", "###." } },
    { 'U', { "#..#", "#..#", "#..#", "#..#", ".##." } },
    { 'D', { "###.", "#..#", "#..#", "#..#", "###." } },
    { 'O', { ".##.", "#..#", "#..#", "#..#", ".##." } },
    { 'K', { "#..#", "#.#.", "##..", "#.#.", "#..#" } },
} };

const PixelGlyph *pixelGlyph(QChar c)
{
    for (const PixelGlyph &g : kPixelFont) {
        if (g.letter == c.toLatin1())
            return &g;
    }
    return nullptr;
}

int pixelTextWidth(const QString &text)
{
    int width = 0;
    for (QChar c : text) {
        const PixelGlyph *g = pixelGlyph(c);
        width += (g ? int(std::strlen(g->rows[0])) : 2) + 1;
    }
    return width - 1;
}

} // namespace

QImage PicturePainter::splash()
{
    QImage image = SkinStyle::canvas(kSplashWidth, kSplashHeight);
    const QRectF all(0, 0, kSplashWidth, kSplashHeight);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);

    QLinearGradient base(0, 0, 0, kSplashHeight);
    base.setColorAt(0.0, QColor(30, 30, 33));
    base.setColorAt(1.0, QColor(12, 12, 13));
    p.fillRect(all, base);
    QRadialGradient warmth(QPointF(270, 92), 190);
    warmth.setColorAt(0.0, QColor(150, 88, 24, 120));
    warmth.setColorAt(0.5, QColor(90, 50, 14, 50));
    warmth.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.fillRect(all, warmth);

    // The board is painted on its own layer and faded out towards the
    // title and the bottom edge.
    QImage layer = SkinStyle::canvas(kSplashWidth, kSplashHeight);
    {
        QPainter lp(&layer);
        lp.setRenderHint(QPainter::Antialiasing);
        lp.setRenderHint(QPainter::TextAntialiasing);
        paintSplashBoard(lp);
        lp.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        QRadialGradient fade(QPointF(70, 90), 230);
        fade.setColorAt(0.0, QColor(0, 0, 0, 255));
        fade.setColorAt(0.45, QColor(0, 0, 0, 230));
        fade.setColorAt(0.8, QColor(0, 0, 0, 40));
        fade.setColorAt(1.0, QColor(0, 0, 0, 0));
        lp.fillRect(all, fade);
        QLinearGradient bottom(0, 150, 0, kSplashHeight);
        bottom.setColorAt(0.0, QColor(0, 0, 0, 255));
        bottom.setColorAt(1.0, QColor(0, 0, 0, 30));
        lp.fillRect(all, bottom);
    }
    p.drawImage(0, 0, layer);

    // Title: large Ming-style characters in a warm metal gradient.
    const QString han = QStringLiteral("数独");
    QFont hanFont = SkinStyle::serifFont(78);
    const QFontMetricsF hanMetrics(hanFont);
    const QRectF hanInk = hanMetrics.tightBoundingRect(han);
    const double centreX = 272;
    QPainterPath hanPath;
    hanPath.addText(QPointF(std::round(centreX - hanInk.center().x()), 118), hanFont, han);
    const QRectF hanBox = hanPath.boundingRect();

    p.fillPath(hanPath.translated(0, 3), QColor(0, 0, 0, 150));
    QLinearGradient metal(0, hanBox.top(), 0, hanBox.bottom());
    metal.setColorAt(0.0, QColor(255, 232, 176));
    metal.setColorAt(0.45, SkinStyle::accent());
    metal.setColorAt(1.0, QColor(196, 104, 20));
    // The Ming face is light; a thin stroke of the same fill gives it weight.
    p.setPen(QPen(QBrush(metal), 1.4));
    p.setBrush(metal);
    p.drawPath(hanPath);

    // A rule, then the Latin name spaced out beneath it.
    const double ruleY = 134.5;
    QLinearGradient rule(centreX - 80, 0, centreX + 80, 0);
    rule.setColorAt(0.0, QColor(255, 180, 55, 0));
    rule.setColorAt(0.5, QColor(255, 180, 55, 210));
    rule.setColorAt(1.0, QColor(255, 180, 55, 0));
    p.setPen(QPen(QBrush(rule), 1.0));
    p.drawLine(QPointF(centreX - 80, ruleY), QPointF(centreX + 80, ruleY));
    const QPointF diamond(centreX, ruleY);
    QPainterPath gem;
    gem.moveTo(diamond + QPointF(0, -3));
    gem.lineTo(diamond + QPointF(3, 0));
    gem.lineTo(diamond + QPointF(0, 3));
    gem.lineTo(diamond + QPointF(-3, 0));
    gem.closeSubpath();
    p.fillPath(gem, SkinStyle::accent());

    QFont latinFont = SkinStyle::sansFont(15);
    latinFont.setLetterSpacing(QFont::AbsoluteSpacing, 4);
    p.setFont(latinFont);
    const QString latin = QStringLiteral("VEXA SUDOKU");
    const QFontMetricsF latinMetrics(latinFont);
    // Letter spacing also follows the last letter; leave it out when centring.
    const double latinWidth = latinMetrics.horizontalAdvance(latin) - 4;
    const QPointF latinAt(std::round(centreX - latinWidth / 2), 157);
    p.setPen(QColor(0, 0, 0, 170));
    p.drawText(latinAt + QPointF(0, 1), latin);
    p.setPen(QColor(222, 222, 218));
    p.drawText(latinAt, latin);

    // Frame: a dark edge and a faint inner highlight.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QColor(255, 255, 255, 28));
    p.drawRect(QRect(1, 1, kSplashWidth - 3, kSplashHeight - 3));
    p.setPen(QColor(0, 0, 0));
    p.drawRect(QRect(0, 0, kSplashWidth - 1, kSplashHeight - 1));
    return image;
}

QImage PicturePainter::watermark()
{
    QImage image = SkinStyle::canvas(kWatermarkWidth, kWatermarkHeight);
    const QString text = QStringLiteral("VEXA SUDOKU");
    // Hand-set pixels: any font would blur at five pixels high. A soft
    // shadow lets the light letters show on a white picture too.
    const QRgb ink = qRgba(168, 168, 168, 255);
    const QRgb shadow = qPremultiply(qRgba(0, 0, 0, 70));
    int x = (kWatermarkWidth - pixelTextWidth(text)) / 2;
    const int top = 1;
    for (QChar c : text) {
        const PixelGlyph *g = pixelGlyph(c);
        if (!g) {
            x += 3;
            continue;
        }
        const int w = int(std::strlen(g->rows[0]));
        for (int row = 0; row < 5; ++row) {
            for (int col = 0; col < w; ++col) {
                if (g->rows[static_cast<size_t>(row)][col] != '#')
                    continue;
                const int sx = x + col + 1;
                const int sy = top + row + 1;
                if (sx < kWatermarkWidth && sy < kWatermarkHeight && qAlpha(image.pixel(sx, sy)) == 0)
                    image.setPixel(sx, sy, shadow);
                image.setPixel(x + col, top + row, ink);
            }
        }
        x += w + 1;
    }
    return image;
}

QImage PicturePainter::logo(int size)
{
    QImage image = SkinStyle::canvas(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const double radius = size * 0.16;
    const QRectF tile(0.5, 0.5, size - 1, size - 1);
    QLinearGradient face(0, 0, 0, size);
    face.setColorAt(0.0, QColor(70, 73, 79));
    face.setColorAt(0.5, QColor(40, 42, 46));
    face.setColorAt(1.0, QColor(22, 23, 26));
    p.setPen(QPen(QColor(8, 8, 9), 1.0));
    p.setBrush(face);
    p.drawRoundedRect(tile, radius, radius);
    p.setPen(QPen(QColor(255, 255, 255, 40), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(tile.adjusted(1, 1, -1, -1), radius - 1, radius - 1);

    // Nine cells on whole pixels, so the small icon stays sharp.
    const int cell = int(std::lround(size * 0.25));
    const int gap = std::max(2, int(std::lround(size * 0.03)));
    const int grid = 3 * cell + 2 * gap;
    const int origin = (size - grid) / 2;
    const double cellRadius = std::max(1.5, size * 0.03);

    struct Mark
    {
        int row;
        int col;
        int digit;
    };
    static constexpr std::array<Mark, 5> marks { { { 0, 0, 3 }, { 0, 2, 8 }, { 1, 1, 5 }, { 2, 0, 6 },
        { 2, 2, 1 } } };

    QFont digitFont = SkinStyle::sansFont(int(std::lround(cell * 0.72)));
    const QFontMetricsF metrics(digitFont);
    const QRectF inkOfEight = metrics.tightBoundingRect(QStringLiteral("8"));
    p.setFont(digitFont);

    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const QRectF box(origin + col * (cell + gap), origin + row * (cell + gap), cell, cell);
            const bool entry = row == 1 && col == 1;
            QLinearGradient fill(0, box.top(), 0, box.bottom());
            if (entry) {
                fill.setColorAt(0.0, SkinStyle::accentLight());
                fill.setColorAt(0.5, SkinStyle::accent());
                fill.setColorAt(1.0, SkinStyle::accentDeep());
            } else {
                fill.setColorAt(0.0, QColor(22, 23, 26));
                fill.setColorAt(1.0, QColor(34, 35, 39));
            }
            p.setPen(Qt::NoPen);
            p.setBrush(fill);
            p.drawRoundedRect(box, cellRadius, cellRadius);
            if (!entry) {
                // Cells are set into the tile: a shadow along the top edge.
                p.setPen(QPen(QColor(0, 0, 0, 140), 1.0));
                p.drawLine(QPointF(box.left() + cellRadius, box.top() + 0.5),
                    QPointF(box.right() - cellRadius, box.top() + 0.5));
                p.setPen(QPen(QColor(255, 255, 255, 30), 1.0));
                p.drawLine(QPointF(box.left() + cellRadius, box.bottom() + 0.5),
                    QPointF(box.right() - cellRadius, box.bottom() + 0.5));
            }
            for (const Mark &m : marks) {
                if (m.row != row || m.col != col)
                    continue;
                const QString digit = QString::number(m.digit);
                const QRectF ink = metrics.tightBoundingRect(digit);
                const QPointF at(std::round(box.center().x() - ink.center().x()),
                    std::round(box.center().y() - inkOfEight.center().y()));
                p.setPen(entry ? QColor(60, 30, 0) : QColor(232, 230, 224));
                p.drawText(at, digit);
            }
        }
    }
    return image;
}

QImage PicturePainter::printLogo()
{
    QImage image = SkinStyle::canvas(kPrintLogoWidth, kPrintLogoHeight);
    QPainter p(&image);
    // The tile is the window icon painted at this size, not a scaled copy,
    // so it stays as sharp as the icon.
    p.drawImage(2, 2, logo(46));
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const double textLeft = 58;
    const QColor ink(40, 42, 46);
    const QString han = QStringLiteral("数独");
    const QFont hanFont = SkinStyle::serifFont(31);
    QPainterPath hanPath;
    hanPath.addText(QPointF(textLeft, 36), hanFont, han);
    // The Ming face is light; a thin stroke of the same colour gives it weight.
    p.setPen(QPen(ink, 0.9));
    p.setBrush(ink);
    p.drawPath(hanPath);

    const double right = std::round(hanPath.boundingRect().right()) + 7;
    p.setPen(QPen(SkinStyle::accentDeep(), 2.0));
    p.drawLine(QPointF(right, 10), QPointF(right, 40));

    QFont latinFont = SkinStyle::sansFont(14);
    latinFont.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    p.setFont(latinFont);
    p.setPen(ink);
    p.drawText(QPointF(right + 7, 24), QStringLiteral("VEXA SUDOKU"));
    QFont smallFont = SkinStyle::sansFont(11);
    smallFont.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    p.setFont(smallFont);
    p.setPen(SkinStyle::inkDim());
    p.drawText(QPointF(right + 8, 39), QStringLiteral("迷题打印"));
    return image;
}
