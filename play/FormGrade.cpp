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

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>

namespace {
constexpr int kLabelHeight = 180;
constexpr int kCaptionRight = 1920;
constexpr int kValueLeft = 1980;
constexpr int kShape1Color = RGB(128, 128, 128);
constexpr int kShape3Color = RGB(64, 64, 64);
constexpr int kBlack = 0;
constexpr int kBlue = 0xFF0000;
} // namespace

FormGrade::FormGrade(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FormGrade"));
    setWindowTitle(QStringLiteral("成绩"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(twipsToPx(kWidth), twipsToPx(kHeight));

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
    if (mainRect.isValid()) {
        const int top = qRound(mainRect.top() + mainRect.height() / 2.0 - height() / 2.0);
        const int left = qRound(mainRect.left() + mainRect.width() / 2.0 - width() / 2.0);
        move(left, top);
    }
    // Changing the flags of a shown window hides it, so only when needed.
    if (!windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    m_shape1 = twipsRect(0, 0, kWidth, kHeight);
    m_shape3 = twipsRect(15, 15, kWidth - 30, kHeight - 30);
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

bool FormGrade::event(QEvent *event)
{
    if (event->type() == QEvent::WindowDeactivate)
        closeOnce();
    return QWidget::event(event);
}

void FormGrade::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        closeOnce();
    QWidget::changeEvent(event);
}

void FormGrade::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        closeOnce();
        return;
    }
    QWidget::keyPressEvent(event);
}

void FormGrade::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const auto outline = [&painter](const QRect &r, int bgr) {
        if (r.isEmpty())
            return;
        painter.setPen(toQColor(bgr));
        painter.setBrush(Qt::NoBrush);
        // A one-pixel pen draws one pixel beyond the rect's size.
        painter.drawRect(r.adjusted(0, 0, -1, -1));
    };
    outline(m_shape1, kShape1Color);
    outline(m_shape3, kShape3Color);
}

void FormGrade::closeOnce()
{
    if (m_closing)
        return;
    m_closing = true;
    Timer1.stop();
    close();
}
