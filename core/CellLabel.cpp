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

int CellLabel::digitOf(QStringView text)
{
    if (text.size() != 1 || text.at(0) < QLatin1Char('1') || text.at(0) > QLatin1Char('9'))
        return 0;
    return text.at(0).unicode() - '0';
}

CellKind CellLabel::kindOf(int foreColor)
{
    if (foreColor == BoardColors::kGiven)
        return CellKind::Given;
    if (foreColor == BoardColors::kWrong)
        return CellKind::Wrong;
    return CellKind::Player;
}

void CellLabel::setDigit(int digit)
{
    setCaption(digit >= 1 && digit <= 9 ? QString::number(digit) : QString());
}

void CellLabel::setGiven(int digit)
{
    setDigit(digit);
    setForeColor(BoardColors::kGiven);
}

void CellLabel::setBlank(int playerColor)
{
    setDigit(0);
    setForeColor(playerColor);
}

void CellLabel::clear()
{
    setDigit(0);
    setForeColor(BoardColors::kGiven);
}

void CellLabel::markWrong()
{
    setForeColor(BoardColors::kWrong);
}

void CellLabel::markRight(int playerColor)
{
    if (kind() != CellKind::Given)
        setForeColor(playerColor);
}
