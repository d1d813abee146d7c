#pragma once

#include <QObject>
#include <QString>

// The state of one control of a window: what the game's logic reads and
// writes (caption, enabled, visible, value, colours, position, picture).
// Widgets and menu actions draw themselves from it, so the logic runs the
// same with or without a display. Colours are 0x00BBGGRR integers,
// positions are twips, a picture is the literal of its skin file.
class Control : public QObject
{
    Q_OBJECT
public:
    explicit Control(const QString &name, QObject *parent = nullptr);

    const QString &Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    // A text box's text is its caption.
    const QString &Text() const { return m_caption; }
    void setText(const QString &text) { setCaption(text); }

    bool Enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    bool Visible() const { return m_visible; }
    void setVisible(bool visible);

    // An option button's selection or a menu item's check mark. Selecting
    // an option from code raises its click, as a click by the player would.
    bool Value() const { return m_value; }
    void setValue(bool value);
    bool Checked() const { return m_value; }
    void setChecked(bool checked);

    int ForeColor() const { return m_foreColor; }
    void setForeColor(int color);
    int BackColor() const { return m_backColor; }
    void setBackColor(int color);
    bool FontBold() const { return m_fontBold; }
    void setFontBold(bool bold);
    int FontSize() const { return m_fontSize; }
    void setFontSize(int size);

    int Left() const { return m_left; }
    void setLeft(int twips);
    int Top() const { return m_top; }
    void setTop(int twips);
    int Width() const { return m_width; }
    void setWidth(int twips);
    int Height() const { return m_height; }
    void setHeight(int twips);
    void move(int left, int top, int width, int height);

    // The skin file literal last loaded into a picture control.
    const QString &Picture() const { return m_picture; }
    void setPicture(const QString &literal);

    // Asks the view to take the keyboard focus.
    void SetFocus();

signals:
    void changed();
    // The caption or text changed (a text box's Change event).
    void captionChanged();
    void geometryChanged();
    void pictureChanged(const QString &literal);
    void click();
    void focusRequested();

private:
    QString m_caption;
    QString m_picture;
    bool m_enabled = true;
    bool m_visible = true;
    bool m_value = false;
    int m_foreColor = 0;
    int m_backColor = 0xFFFFFF;
    bool m_fontBold = false;
    int m_fontSize = 9;
    int m_left = 0;
    int m_top = 0;
    int m_width = 0;
    int m_height = 0;
};
