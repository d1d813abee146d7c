#include "FormGrade.h"

#include "BgrColor.h"
#include "CjkFont.h"
#include "Clock.h"
#include "GameState.h"
#include "GradeFile.h"
#include "ModuleSound.h"
#include "Rgb.h"
#include "TimeText.h"
#include "Twips.h"

#include <QCloseEvent>
#include <QLabel>

namespace {
constexpr int kLabelHeight = 180;
constexpr int kCaptionRight = 1920;
constexpr int kValueLeft = 1980;
constexpr int kShape3Color = RGB(64, 64, 64);
constexpr int kBlack = 0;
constexpr int kBlue = 0xFF0000;
} // namespace

FormGrade::FormGrade(QWidget *parent)
    : FramedPopup(kWidth, kHeight, parent)
{
    setObjectName(QStringLiteral("FormGrade"));
    setWindowTitle(QStringLiteral("成绩"));
    setShape3Color(toQColor(kShape3Color));

    const Qt::Alignment right = Qt::AlignRight | Qt::AlignTop;
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignTop;
    addLabel(QStringLiteral("Label3"), QStringLiteral("最近一次用时："), 555, 360, kCaptionRight - 555, right,
        true);
    addLabel(QStringLiteral("Label1"), QStringLiteral("最快用时纪录："), 555, 720, kCaptionRight - 555, right,
        true);
    addLabel(QStringLiteral("Label2"), QStringLiteral("游戏总运行时间："), 360, 1080, kCaptionRight - 360,
        right, true);
    addLabel(QStringLiteral("Label5"), QStringLiteral("成功完成次数："), 555, 1440, kCaptionRight - 555,
        right, true);
    addLabel(
        QStringLiteral("Label4"), QStringLiteral("总体评价："), 945, 1680, kCaptionRight - 945, right, true);

    labelLastFinishedTime = addLabel(
        QStringLiteral("labelLastFinishedTime"), TimeText::zero(), kValueLeft, 360, 840, left, true);
    labelFastestTime
        = addLabel(QStringLiteral("labelFastestTime"), TimeText::zero(), kValueLeft, 720, 840, left, true);
    labelTotalTime
        = addLabel(QStringLiteral("labelTotalTime"), TimeText::zero(), kValueLeft, 1080, 840, left, true);
    // Designed 105 twips wide, just enough for "0"; a count is shown with a
    // blank on either side (" 12 "), so it gets the width of the other values.
    labelFinishedCount = addLabel(
        QStringLiteral("labelFinishedCount"), QStringLiteral("0"), kValueLeft, 1440, 840, left, true);
    labelGrade
        = addLabel(QStringLiteral("labelGrade"), QStringLiteral("★★★★★"), kValueLeft, 1680, 900, left, false);

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setInterval(500);
    connect(&Timer1, &QTimer::timeout, this, &FormGrade::Timer1_Timer);
}

QLabel *FormGrade::addLabel(const QString &name, const QString &text, int left, int top, int width,
    Qt::Alignment alignment, bool songFont)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(name);
    label->setGeometry(twipsRect(left, top, width, kLabelHeight));
    label->setAlignment(alignment);
    // A hand-edited file could hold something that looks like markup; the
    // values are shown exactly as written.
    label->setTextFormat(Qt::PlainText);
    if (songFont)
        label->setFont(CjkFont::song(9, true));
    return label;
}

FormGrade *FormGrade::open(GameState &form, QWidget *mainWindow)
{
    auto *window = new FormGrade(mainWindow);
    window->load(form, mainWindow ? mainWindow->frameGeometry() : QRect());
    // The sound belongs to the opening, so it comes before the window shows.
    ModuleSound::PlaySoundBubble(form);
    window->show();
    window->activateWindow();
    return window;
}

void FormGrade::load(GameState &form, const QRect &mainRect)
{
    loadFrame(mainRect);
    setGradeForeColor(kBlue);

    form.GameTimeEnd = Clock::now();
    const GradeFile::Values values = GradeFile::read(GradeFile::pathToRead());
    labelLastFinishedTime->setText(GradeFile::valueText(values.lastFinishedTime));
    labelFastestTime->setText(GradeFile::valueText(values.fastestTime));
    labelFinishedCount->setText(GradeFile::valueText(values.finishedCount));
    labelGrade->setText(values.grade);
    // The total so far on disk plus this run, which is only added to the
    // file when the program ends.
    const qint64 stored = TimeText::parse(GradeFile::valueText(values.totalTime)).value_or(0);
    labelTotalTime->setText(
        TimeText::format(stored + TimeText::elapsedMsecs(form.GameTimeStart, form.GameTimeEnd)));
    Timer1.start();
    update();
}

int FormGrade::gradeForeColor() const
{
    const QColor c = labelGrade->palette().color(QPalette::WindowText);
    return RGB(c.red(), c.green(), c.blue());
}

void FormGrade::setGradeForeColor(int bgr)
{
    QPalette palette = labelGrade->palette();
    palette.setColor(QPalette::WindowText, toQColor(bgr));
    labelGrade->setPalette(palette);
}

void FormGrade::Timer1_Timer()
{
    const int color = gradeForeColor();
    if (color == kBlack)
        setGradeForeColor(kBlue);
    else if (color == kBlue)
        setGradeForeColor(kBlack);
}

void FormGrade::closeEvent(QCloseEvent *event)
{
    // The stars stop blinking with the window, not only when it is deleted.
    Timer1.stop();
    FramedPopup::closeEvent(event);
}
