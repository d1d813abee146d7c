#include "FormPrint.h"

#include "AppPath.h"
#include "BgrColor.h"
#include "BoardColors.h"
#include "BoardCopy.h"
#include "BoardGeometry.h"
#include "CellLabel.h"
#include "CjkFont.h"
#include "Clock.h"
#include "DialogKeys.h"
#include "GameState.h"
#include "MessageBox.h"
#include "ModuleGameSetting.h"
#include "ModuleSound.h"
#include "PictureFile.h"
#include "PrintJob.h"
#include "ScreenGeometry.h"
#include "Twips.h"
#include "WindowDragger.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStringList>

namespace {

// Where the preview's top-left cell lies in its frame.
constexpr QPoint kPageBoardOrigin(twipsToPx(195), twipsToPx(1395));
constexpr int kCheckBoxWidth = 1215;
constexpr int kCheckBoxHeight = 255;
constexpr int kButtonLeft = 5280;
constexpr int kButtonWidth = 1575;
constexpr int kButtonHeight = 435;

const QString kFrame2Caption = QStringLiteral("打印预览");

void setBackground(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

FormPrint::FormPrint(GameState &form, QWidget *mainWindow)
    : QWidget(
        mainWindow, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_form(form)
    , m_main(mainWindow)
{
    setObjectName(QStringLiteral("formPrint"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("数独 VEXA SUDOKU 迷题打印"));
    setFixedSize(twipsToPx(kWidth), twipsToPx(kHeight));
    // Mouse moves over the background keep the window on the screen.
    setMouseTracking(true);
    createControls();
}

FormPrint::~FormPrint() = default;

CellLabel &FormPrint::L(int index) const
{
    return m_board->L(index);
}

CellLabelView *FormPrint::cellView(int index) const
{
    return m_board->view(index);
}

void FormPrint::createControls()
{
    // A frame drawn like a group box, with its caption as a label over the
    // line, so that printing can take both away and leave the contents.
    Frame2 = new QFrame(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(twipsRect(120, 120, 4910, 6105));
    Frame2->setFrameStyle(QFrame::Box | QFrame::Sunken);
    m_frame2Caption = new QLabel(QStringLiteral(" %1 ").arg(kFrame2Caption), Frame2);
    m_frame2Caption->setObjectName(QStringLiteral("Frame2Caption"));
    m_frame2Caption->adjustSize();
    m_frame2Caption->move(twipsToPx(120), 0);
    m_frame2Caption->setAutoFillBackground(true);
    const int captionMiddle = m_frame2Caption->height() / 2;
    Frame2->setFrameRect(QRect(0, captionMiddle, Frame2->width(), Frame2->height() - captionMiddle));

    picLogo = new QLabel(Frame2);
    picLogo->setObjectName(QStringLiteral("picLogo"));
    picLogo->setGeometry(twipsRect(755, 300, 3495, 750));
    setBackground(picLogo, Qt::white);
    const QImage logo = PictureFile::read(AppPath::file(QStringLiteral("\\pictures\\printlogo")));
    if (!logo.isNull()) {
        // Laid onto white here rather than by the label: a printer driver
        // that smooths a transparent picture greys its edges.
        QImage onWhite(logo.size(), QImage::Format_RGB32);
        onWhite.fill(Qt::white);
        QPainter(&onWhite).drawImage(0, 0, logo);
        picLogo->setPixmap(QPixmap::fromImage(onWhite));
    }

    labelTitle = new QLabel(QStringLiteral("来源： Vexa sudoku 数独 I"), Frame2);
    labelTitle->setObjectName(QStringLiteral("labelTitle"));
    labelTitle->setFont(CjkFont::song(18, true));
    setBackground(labelTitle, Qt::white);
    labelTitle->move(twipsToPx(300), twipsToPx(540));
    labelTitle->adjustSize();

    labelTime = new QLabel(Frame2);
    labelTime->setObjectName(QStringLiteral("labelTime"));
    labelTime->move(twipsToPx(1380), twipsToPx(1080));

    // Clicks on the preview's labels are theirs; only the frame, the logo
    // and the printer text move the window.
    for (QLabel *label : { labelTitle, labelTime })
        label->setAttribute(Qt::WA_NoMousePropagation);

    m_board = std::make_unique<BoardCopy>(this, Frame2, kPageBoardOrigin);
    for (int i = 0; i < kCells; ++i) {
        // An enabled cell takes its own clicks; a disabled one would hand
        // them on to the frame, which drags the window.
        L(i).setEnabled(true);
        L(i).setBackColor(BoardColors::kPaper);
    }

    Shape1 = new QFrame(Frame2);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    // On paper the border stands one pixel clear of the last column and
    // the last row.
    Shape1->setGeometry(BoardGeometry::outline(kPageBoardOrigin).adjusted(0, 0, 1, 1));
    Shape1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Shape1->setLineWidth(1);
    QPalette shape = Shape1->palette();
    shape.setColor(QPalette::WindowText, toQColor(BoardColors::kPrintBorder));
    Shape1->setPalette(shape);
    Shape1->setAttribute(Qt::WA_TransparentForMouseEvents);
    Shape1->lower();

    Frame1 = new QGroupBox(QStringLiteral("打印设置"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twipsRect(5160, 120, 1815, 2295));
    chkLogo = addCheckBox(QStringLiteral("chkLogo"), QStringLiteral("打印 Logo"), 360, true);
    chkTime = addCheckBox(QStringLiteral("chkTime"), QStringLiteral("打印时间"), 840, true);
    chkBorder = addCheckBox(QStringLiteral("chkBorder"), QStringLiteral("边框"), 1320, false);
    chkColorPiece = addCheckBox(QStringLiteral("chkColorPiece"), QStringLiteral("增强色块"), 1800, false);
    connect(chkLogo, &QCheckBox::toggled, this, &FormPrint::chkLogo_Click);
    connect(chkTime, &QCheckBox::toggled, this, &FormPrint::chkTime_Click);
    connect(chkBorder, &QCheckBox::toggled, this, &FormPrint::chkBorder_Click);
    connect(chkColorPiece, &QCheckBox::toggled, this, &FormPrint::chkColorPiece_Click);

    labelPrinter = new QLabel(this);
    labelPrinter->setObjectName(QStringLiteral("labelPrinter"));
    labelPrinter->setGeometry(twipsRect(5400, 2580, 1425, 2040));
    labelPrinter->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    labelPrinter->setWordWrap(true);
    labelPrinter->setTextFormat(Qt::PlainText);

    cmdPrint = addButton(QStringLiteral("cmdPrint"), QStringLiteral("打印"), 5160);
    cmdClose = addButton(QStringLiteral("cmdClose"), QStringLiteral("关闭"), 5700);
    cmdClose->setDefault(true);
    connect(cmdPrint, &QPushButton::clicked, this, &FormPrint::cmdPrint_Click);
    connect(cmdClose, &QPushButton::clicked, this, &FormPrint::cmdClose_Click);

    for (QWidget *handle : std::initializer_list<QWidget *> { Frame2, labelPrinter, picLogo })
        handle->installEventFilter(this);
}

QCheckBox *FormPrint::addCheckBox(const QString &name, const QString &caption, int top, bool checked)
{
    auto *box = new QCheckBox(caption, Frame1);
    box->setObjectName(name);
    box->setGeometry(twipsRect(360, top, kCheckBoxWidth, kCheckBoxHeight));
    box->setChecked(checked);
    return box;
}

QPushButton *FormPrint::addButton(const QString &name, const QString &caption, int top)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setGeometry(twipsRect(kButtonLeft, top, kButtonWidth, kButtonHeight));
    return button;
}

FormPrint *FormPrint::menuGame_Print_Click(GameState &form, QWidget *mainWindow)
{
    form.setMousePointer(GameState::kPointerHourglass);
    auto *window = new FormPrint(form, mainWindow);
    window->Form_Load();
    ModuleSound::PlaySoundBubble(form);
    window->show();
    form.setMousePointer(GameState::kPointerDefault);
    return window;
}

void FormPrint::Form_Load()
{
    centreOnMainWindow();
    keepOnScreen();
    m_placing = true;
    if (m_main)
        m_main->hide();
    // Changing the flags of a shown window hides it, so only when needed.
    if (m_form.menuSetting_PutOnFront.Checked() && !windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        setWindowFlag(Qt::WindowStaysOnTopHint, true);

    // Where CUPS has no default printer, the only or the first one prints.
    m_printer = PrintQueue::choose(PrintQueue::printers());
    labelPrinter->setText(printerText(m_printer));
    labelTime->setText(timeText(Clock::now()));
    labelTime->adjustSize();

    // The paper stays white unless the player asks for the shaded boxes.
    m_board->copyFrom(m_form, false);

    chkBorder->setChecked(false);
    labelTitle->hide();
    Shape1->hide();
}

void FormPrint::centreOnMainWindow()
{
    if (!m_main)
        return;
    const QRect main = m_main->frameGeometry();
    const QRect own = frameGeometry();
    const int top = qRound(main.top() + main.height() / 2.0 - own.height() / 2.0);
    const int left = qRound(main.left() + main.width() / 2.0 - own.width() / 2.0);
    move(left, top);
}

void FormPrint::keepOnScreen()
{
    // The frame counts once the window manager has put it on, and the
    // monitor is the one the window is on, wherever it lies on the desktop.
    const QRect own = frameGeometry();
    const QRect area = ScreenGeometry::under(own);
    if (area.isEmpty())
        return;
    const QPoint place = ScreenGeometry::keptOn(area, own);
    if (place != own.topLeft())
        move(place);
}

void FormPrint::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    // The window manager puts its frame round the window after the load
    // placed it, and the title bar pushes the window down: it is pulled on
    // once more, frame and all.
    if (m_placing)
        keepOnScreen();
}

void FormPrint::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // Activated, the window is framed and placed; from here on it stays
    // where the player puts it until he moves the mouse over it.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_placing) {
        keepOnScreen();
        m_placing = false;
    }
}

QString FormPrint::printerText(const std::optional<PrintQueue::Printer> &printer)
{
    if (!printer)
        return QString();
    return QStringList { QStringLiteral("打印机信息："), printer->name, QString(),
        QStringLiteral("打印驱动器："), printer->driver, QString(), QStringLiteral("打印端口："),
        printer->port }
        .join(QStringLiteral("\r\n"));
}

QString FormPrint::timeText(const QDateTime &when)
{
    const QDate date = when.date();
    return date.toString(QStringLiteral("yyyy")) + QStringLiteral("年 ") + date.toString(QStringLiteral("MM"))
        + QStringLiteral("月 ") + date.toString(QStringLiteral("dd")) + QStringLiteral("日 ")
        + when.time().toString(QStringLiteral("HH:mm:ss"));
}

void FormPrint::chkLogo_Click()
{
    const bool logo = chkLogo->isChecked();
    picLogo->setVisible(logo);
    labelTitle->setVisible(!logo);
}

void FormPrint::chkTime_Click()
{
    labelTime->setVisible(chkTime->isChecked());
}

void FormPrint::chkBorder_Click()
{
    Shape1->setVisible(chkBorder->isChecked());
}

void FormPrint::chkColorPiece_Click()
{
    if (!chkColorPiece->isChecked()) {
        for (int i = 0; i < kCells; ++i)
            L(i).setBackColor(BoardColors::kPaper);
        return;
    }
    int color = 0;
    // The same rule as the board: a piece colour that is no number shades
    // nothing.
    if (!GameState::colorValue(m_form.lPieceColorValue, &color))
        return;
    for (const int i : ModuleGameSetting::kPieceCells)
        L(i).setBackColor(color);
}

void FormPrint::setPrintLayout(bool printing)
{
    Frame1->setVisible(!printing);
    Frame2->setFrameShape(printing ? QFrame::NoFrame : QFrame::Box);
    m_frame2Caption->setVisible(!printing);
    labelPrinter->setVisible(!printing);
    cmdPrint->setVisible(!printing);
    cmdClose->setVisible(!printing);
}

void FormPrint::setPdfOutput(const QString &fileName)
{
    PrintJob::setPdfOutput(fileName);
}

void FormPrint::cmdPrint_Click()
{
    setPrintLayout(true);
    QString error;
    if (!PrintJob::print(*this, m_printer, &error))
        MessageBox::show({ MessageBox::Icon::None, QStringLiteral("Vexa Sudoku"), error,
            MessageBox::Buttons::Ok, MessageBox::Answer::Ok, this });
    setPrintLayout(false);
}

void FormPrint::cmdClose_Click()
{
    const QPointer<QWidget> main = m_main;
    close();
    if (main)
        main->activateWindow();
}

bool FormPrint::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        m_placing = false;
        WindowDragger::drag(this);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FormPrint::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_placing = false;
        WindowDragger::drag(this);
    }
    QWidget::mousePressEvent(event);
}

void FormPrint::mouseMoveEvent(QMouseEvent *event)
{
    keepOnScreen();
    QWidget::mouseMoveEvent(event);
}

void FormPrint::keyPressEvent(QKeyEvent *event)
{
    if (!DialogKeys::press(event, this, cmdClose, cmdClose))
        QWidget::keyPressEvent(event);
}

void FormPrint::closeEvent(QCloseEvent *event)
{
    if (m_main)
        m_main->show();
    QWidget::closeEvent(event);
}
