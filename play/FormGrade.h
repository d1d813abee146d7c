#pragma once

#include "FramedPopup.h"

#include <QRect>
#include <QTimer>

class GameState;
class QLabel;

// The statistics window: last and fastest time, the total time the program
// has run, the number of finished puzzles and the grade, whose stars
// blink. It stays on top of everything and closes itself as soon as it
// loses the focus, or on Esc; it has no other close command.
class FormGrade : public FramedPopup
{
    Q_OBJECT
public:
    // Client area in twips.
    static constexpr int kWidth = 3255;
    static constexpr int kHeight = 1935;

    explicit FormGrade(QWidget *parent = nullptr);

    // Creates the window over the main window, loads it, plays its sound,
    // shows it without blocking and hands it the focus. It deletes itself
    // when it closes.
    static FormGrade *open(GameState &form, QWidget *mainWindow);

    // Centres the window on mainRect (screen pixels; an invalid rect
    // leaves it where it is), stamps form.GameTimeEnd and shows the grade
    // file as it is on disk now.
    void load(GameState &form, const QRect &mainRect);

    // The grade's text colour as 0x00BBGGRR.
    int gradeForeColor() const;

    // The blink of the stars, every 500 ms.
    QTimer Timer1;

public slots:
    void Timer1_Timer();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QLabel *addLabel(const QString &name, const QString &text, int left, int top, int width,
        Qt::Alignment alignment, bool songFont);
    void setGradeForeColor(int bgr);

    QLabel *labelLastFinishedTime = nullptr;
    QLabel *labelFastestTime = nullptr;
    QLabel *labelTotalTime = nullptr;
    QLabel *labelFinishedCount = nullptr;
    QLabel *labelGrade = nullptr;
};
