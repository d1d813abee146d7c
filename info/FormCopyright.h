#pragma once

#include "FramedPopup.h"

#include <QStringList>

class QPlainTextEdit;

// The copyright notice: who owns the program and on what terms it may be
// used and passed on.
class FormCopyright : public FramedPopup
{
    Q_OBJECT
public:
    // Client area in twips.
    static constexpr int kWidth = 4215;
    static constexpr int kHeight = 3015;

    explicit FormCopyright(QWidget *parent = nullptr);

    // Centres the window on mainRect (screen pixels), puts it on top and
    // fills in the notice.
    void load(const QRect &mainRect);

    // The notice, line by line, and as the window holds it, CR LF between
    // the lines.
    static QStringList noticeLines();
    static QString notice();

    QPlainTextEdit *Text1 = nullptr;
};
