#include "CellLabel.h"

CellLabel::CellLabel(int index, QObject *parent)
    : QObject(parent)
    , m_index(index)
{
    setObjectName(QStringLiteral("L(%1)").arg(index));
}

void CellLabel::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    emit captionChanged(m_index);
    emit changed(m_index);
}

void CellLabel::setForeColor(int color)
{
    if (color == m_foreColor)
        return;
    m_foreColor = color;
    emit changed(m_index);
}

void CellLabel::setBackColor(int color)
{
    if (color == m_backColor)
        return;
    m_backColor = color;
    emit changed(m_index);
}

void CellLabel::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    emit changed(m_index);
}

void CellLabel::setFontBold(bool bold)
{
    if (bold == m_fontBold)
        return;
    m_fontBold = bold;
    emit changed(m_index);
}

void CellLabel::setFontSize(int size)
{
    if (size == m_fontSize)
        return;
    m_fontSize = size;
    emit changed(m_index);
}
