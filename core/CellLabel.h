#pragma once

#include "BoardColors.h"
#include "BoardGeometry.h"

#include <QObject>
#include <QString>
#include <QStringView>

// What a cell's text colour says of it.
enum class CellKind { Given, Player, Wrong };

// One cell of the board: the digit it shows and the colours that tell a
// given cell (text colour 0) from a cell the player fills. Colours are
// 0x00BBGGRR integers. The board on screen draws itself from these.
class CellLabel : public QObject
{
    Q_OBJECT
public:
    explicit CellLabel(int index, QObject *parent = nullptr);

    int Index() const { return m_index; }
    // Where the cell lies on the main window, in twips.
    int Left() const { return BoardGeometry::left(m_index); }
    int Top() const { return BoardGeometry::top(m_index); }

    const QString &Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    int ForeColor() const { return m_foreColor; }
    void setForeColor(int color);
    int BackColor() const { return m_backColor; }
    void setBackColor(int color);
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    bool FontBold() const { return m_fontBold; }
    void setFontBold(bool bold);
    int FontSize() const { return m_fontSize; }
    void setFontSize(int size);

    // Typed views of the caption and the text colour, for the handlers.
    // The digit shown, 1 to 9, or 0 for an empty cell.
    int digit() const { return digitOf(m_caption); }
    bool isEmpty() const { return m_caption.isEmpty(); }
    CellKind kind() const { return kindOf(m_foreColor); }
    // The digit a caption, a typed key or the entry box's text stands for
    // (one ASCII "1".."9"), else 0.
    static int digitOf(QStringView text);
    static int digitOf(QChar key) { return digitOf(QStringView(&key, 1)); }
    static CellKind kindOf(int foreColor);

    // Setters that keep caption and colour in step. The digit alone, 0 to
    // empty the cell; its kind stays (typing never changes a colour).
    void setDigit(int digit);
    // A digit of the solution, in the given colour (a puzzle laid out).
    void setGiven(int digit);
    // Emptied for the player, whose digits take `playerColor` (blanking).
    void setBlank(int playerColor);
    // Empty in the given colour: no game on the board.
    void clear();
    // The check's verdict: a wrong digit turns red; a right one goes back
    // to `playerColor` unless it is given.
    void markWrong();
    void markRight(int playerColor);

signals:
    // The digit changed (by typing, laying out, clearing, continuing).
    void captionChanged(int index);
    // Anything that changes how the cell looks.
    void changed(int index);

private:
    int m_index;
    QString m_caption;
    int m_foreColor = BoardColors::kGiven;
    int m_backColor = BoardColors::kPaper;
    bool m_enabled = false;
    bool m_fontBold = false;
    int m_fontSize = 24;
};
