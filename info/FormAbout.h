#pragma once

#include "FramedPopup.h"

#include <QStringList>

class QLabel;
class QPlainTextEdit;

// The about window: the logo, which leads to the maker's web site, and a
// few lines about the program and its version.
class FormAbout : public FramedPopup
{
    Q_OBJECT
public:
    // Client area in twips.
    static constexpr int kWidth = 3840;
    static constexpr int kHeight = 2580;
    // Text1's colour, 0x00BBGGRR.
    static constexpr int kTextColor = 0x000080; // RGB(128, 0, 0)

    explicit FormAbout(QWidget *parent = nullptr);

    // Centres the window on mainRect (screen pixels), puts it on top,
    // whitens it and fills in the text and the logo.
    void load(const QRect &mainRect);

    // The nine lines of the text, and the text as the window holds it,
    // CR LF between the lines.
    static QStringList textLines();
    static QString text();

    QLabel *Picture1 = nullptr;
    QPlainTextEdit *Text1 = nullptr;

public slots:
    void Picture1_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPixmap logoPicture() const;
};
