#include "Control.h"

Control::Control(const QString &name, QObject *parent)
    : QObject(parent)
{
    setObjectName(name);
}

namespace {
template <typename T> bool assign(T &field, const T &value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}
} // namespace

void Control::setCaption(const QString &caption)
{
    if (!assign(m_caption, caption))
        return;
    emit captionChanged();
    emit changed();
}

void Control::setEnabled(bool enabled)
{
    if (assign(m_enabled, enabled))
        emit changed();
}

void Control::setVisible(bool visible)
{
    if (assign(m_visible, visible))
        emit changed();
}

void Control::setValue(bool value)
{
    if (!assign(m_value, value))
        return;
    emit changed();
    if (value)
        emit click();
}

void Control::setChecked(bool checked)
{
    // A check mark raises no click.
    if (assign(m_value, checked))
        emit changed();
}

void Control::setForeColor(int color)
{
    if (assign(m_foreColor, color))
        emit changed();
}

void Control::setBackColor(int color)
{
    if (assign(m_backColor, color))
        emit changed();
}

void Control::setFontBold(bool bold)
{
    if (assign(m_fontBold, bold))
        emit changed();
}

void Control::setFontSize(int size)
{
    if (assign(m_fontSize, size))
        emit changed();
}

void Control::setLeft(int twips)
{
    if (assign(m_left, twips))
        emit geometryChanged();
}

void Control::setTop(int twips)
{
    if (assign(m_top, twips))
        emit geometryChanged();
}

void Control::setWidth(int twips)
{
    if (assign(m_width, twips))
        emit geometryChanged();
}

void Control::setHeight(int twips)
{
    if (assign(m_height, twips))
        emit geometryChanged();
}

void Control::move(int left, int top, int width, int height)
{
    bool moved = assign(m_left, left);
    moved = assign(m_top, top) || moved;
    moved = assign(m_width, width) || moved;
    moved = assign(m_height, height) || moved;
    if (moved)
        emit geometryChanged();
}

void Control::setPicture(const QString &literal)
{
    // Loaded anew at every state change, even when the literal repeats.
    m_picture = literal;
    emit pictureChanged(literal);
}

void Control::SetFocus()
{
    emit focusRequested();
}
