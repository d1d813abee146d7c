#pragma once

#include "BoardGeometry.h"

#include <QObject>
#include <QString>

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

signals:
    // The digit changed (by typing, laying out, clearing, continuing).
    void captionChanged(int index);
    // Anything that changes how the cell looks.
    void changed(int index);

private:
    int m_index;
    QString m_caption;
    int m_foreColor = 0;
    int m_backColor = 0xFFFFFF;
    bool m_enabled = false;
    bool m_fontBold = false;
    int m_fontSize = 24;
};
