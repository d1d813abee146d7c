#include "ProgressModel.h"

void ProgressModel::setValue(int value)
{
    m_value = value;
    emit valueChanged(value);
}

void ProgressModel::setVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    emit visibleChanged(visible);
}

void ProgressModel::setLeft(int twips)
{
    if (twips == m_left)
        return;
    m_left = twips;
    emit leftChanged(twips);
}
