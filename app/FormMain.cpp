#include "FormMain.h"

#include "CellLabelView.h"
#include "CjkFont.h"
#include "Rgb.h"
#include "SkinButton.h"
#include "Twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QTimer>

FormMain *formMain = nullptr;

namespace {
constexpr int kRightColumnLeft = 4800;
constexpr int kNarrowWidth = 6310;
constexpr int kHeight = 5240;
} // namespace

FormMain::FormMain(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("formMain"));
    formMain = this;
    createControls();

    lColorValue = QString::number(RGB(162, 197, 255));
    lEmptyColorValue = QString::number(RGB(56, 196, 0));
    lNumericalTimeTrueColor = QString::number(RGB(255, 255, 255));
    lPieceColorValue = QString::number(RGB(230, 230, 230));
    Difficulty = QStringLiteral("medium");
}

FormMain::~FormMain()
{
    if (formMain == this)
        formMain = nullptr;
}

void FormMain::createControls()
{
    setFixedSize(twipsToPx(kNarrowWidth), twipsToPx(kHeight));
    setAutoFillBackground(true);

    // Cells in index order: each later cell lies over the border of the one
    // before, so neighbouring borders merge into one grid line.
    for (int i = 0; i < kCells; ++i) {
        auto *view = new CellLabelView(L(i), this);
        view->setGeometry(
            twipsRect(kColumnLeft[std::size_t(i % 9)], kRowTop[std::size_t(i / 9)], kCellSize, kCellSize));
        m_cellViews[std::size_t(i)] = view;
    }

    txtEnter = new QLineEdit(this);
    txtEnter->setObjectName(QStringLiteral("txtEnter"));
    txtEnter->setGeometry(twipsRect(0, 0, kCellSize, kCellSize));
    txtEnter->setAlignment(Qt::AlignCenter);
    txtEnter->setFont(CjkFont::song(19));
    txtEnter->hide();
    txtEnter->setEnabled(false);

    Frame2 = new QFrame(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(twipsRect(4780, 430, 620, 4620));
    for (int k = 0; k < 9; ++k) {
        auto *label = new QLabel(QString::number(k + 1), Frame2);
        label->setObjectName(QStringLiteral("Label1(%1)").arg(k));
        label->setGeometry(twipsRect(120, 220 + 490 * k, 375, 375));
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::Box);
        label->setFont(CjkFont::song(17, true));
        Label1[std::size_t(k)] = label;
    }
    Frame2->hide();

    Frame1 = new QGroupBox(QStringLiteral("难度选择"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twipsRect(kRightColumnLeft, 450, 1335, 1245));
    optEasy = new QRadioButton(QStringLiteral("初级"), Frame1);
    optEasy->setObjectName(QStringLiteral("optEasy"));
    optEasy->setGeometry(twipsRect(300, 280, 855, 255));
    optMedium = new QRadioButton(QStringLiteral("普通"), Frame1);
    optMedium->setObjectName(QStringLiteral("optMedium"));
    optMedium->setGeometry(twipsRect(300, 570, 855, 255));
    optMedium->setChecked(true);
    optHard = new QRadioButton(QStringLiteral("高级"), Frame1);
    optHard->setObjectName(QStringLiteral("optHard"));
    optHard->setGeometry(twipsRect(300, 855, 855, 255));

    progressBar = new QProgressBar(this);
    progressBar->setObjectName(QStringLiteral("ProgressBarMake"));
    progressBar->setGeometry(twipsRect(kRightColumnLeft, 1740, 1350, 135));
    progressBar->setRange(0, 100);
    progressBar->setTextVisible(false);
    progressBar->hide();
    connect(&ProgressBarMake, &ProgressModel::valueChanged, progressBar, &QProgressBar::setValue);
    connect(&ProgressBarMake, &ProgressModel::visibleChanged, progressBar, &QWidget::setVisible);

    struct ButtonSpec
    {
        SkinButton **member;
        const char *name;
        const char *base;
        int top;
    };
    const ButtonSpec buttons[] = {
        { &cmdStart, "cmdStart", "start", 1920 },
        { &cmdContinue, "cmdContinue", "continue", 2380 },
        { &cmdSave, "cmdSave", "save", 2860 },
        { &cmdNext, "cmdNext", "next", 3340 },
        { &cmdFinished, "cmdFinished", "finish", 3820 },
        { &cmdExit, "cmdExit", "exit", 4660 },
    };
    for (const auto &spec : buttons) {
        auto *button = new SkinButton(QLatin1String(spec.name), QLatin1String(spec.base), this);
        button->setGeometry(twipsRect(kRightColumnLeft, spec.top, 1335, 375));
        button->loadImage(SkinButton::skinLiteral(QLatin1String(spec.base) + QLatin1Char('1')));
        *spec.member = button;
    }

    labelTime = new QLabel(QStringLiteral("00:00:00"), this);
    labelTime->setObjectName(QStringLiteral("labelTime"));
    labelTime->setGeometry(twipsRect(kRightColumnLeft, 4300, 1335, 255));
    labelTime->setAlignment(Qt::AlignCenter);
    labelTime->setFont(CjkFont::song(12, true));
    labelTime->hide();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(100);
}

void FormMain::setMousePointer(int pointer)
{
    GameState::setMousePointer(pointer);
    if (pointer == kPointerHourglass)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}
