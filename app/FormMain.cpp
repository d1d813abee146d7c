#include "FormMain.h"

#include "BgrColor.h"
#include "BoardColors.h"
#include "Difficulty.h"
#include "FormGrade.h"
#include "FormMainMenu.h"
#include "FormMainViews.h"
#include "MMControl.h"
#include "ModuleCheck.h"
#include "ModuleClock.h"
#include "ModuleContinue.h"
#include "ModuleEntry.h"
#include "ModuleExit.h"
#include "ModuleFormLoad.h"
#include "ModuleGameSetting.h"
#include "ModuleInfo.h"
#include "ModuleKeyboard.h"
#include "ModuleMusic.h"
#include "ModuleNewGame.h"
#include "ModuleNumericalTime.h"
#include "ModuleSaveFiles.h"
#include "ModuleSetting.h"
#include "ModuleTitleBar.h"
#include "MouseCode.h"
#include "QtMessageBox.h"
#include "ScreenGeometry.h"
#include "Twips.h"
#include "WindowDragger.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMoveEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
#include <QWindow>

FormMain *formMain = nullptr;

FormMain::FormMain(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_mm(std::make_unique<MMControl>())
{
    setObjectName(QStringLiteral("formMain"));
    setAccessibleName(QStringLiteral("数独 VEXA SUDOKU I"));
    setMouseTracking(true);
    // The window itself takes the keyboard, so the arrow keys move on the
    // board instead of through the difficulty options.
    setFocusPolicy(Qt::StrongFocus);
    formMain = this;
    m_state.setWindow(this);
    m_state.MMControl1 = m_mm.get();
    connect(m_mm.get(), &MMControl::Done, this, &FormMain::MMControl1_Done);

    ModuleFormLoad::applyDesign(m_state);
    // The designed size, so that centring before the load is right.
    setWindowSize(ModuleGameSetting::kNarrowWidth, ModuleGameSetting::kHeight);
    m_views = std::make_unique<FormMainViews>(*this);
    m_menu = new FormMainMenu(*this);
    ModuleEntry::attach(m_state);
    ModuleNumericalTime::attach(m_state);

    connect(&m_state.Timer1, &QTimer::timeout, this, &FormMain::Timer1_Timer);
    connect(&m_state.Timer2, &QTimer::timeout, this, &FormMain::Timer2_Timer);
    m_state.Timer2.start();
    // A screen that changes or goes away can leave the window off it.
    const auto watchScreen = [this](QScreen *screen) {
        connect(screen, &QScreen::geometryChanged, this, &FormMain::keepOnScreenSoon);
    };
    for (QScreen *screen : QGuiApplication::screens())
        watchScreen(screen);
    connect(qApp, &QGuiApplication::screenAdded, this, [this, watchScreen](QScreen *screen) {
        watchScreen(screen);
        keepOnScreenSoon();
    });
    connect(qApp, &QGuiApplication::screenRemoved, this, &FormMain::keepOnScreenSoon);
}

FormMain::~FormMain()
{
    m_state.Timer1.stop();
    m_state.Timer2.stop();
    m_state.setWindow(nullptr);
    if (formMain == this)
        formMain = nullptr;
}

CellLabelView *FormMain::cellView(int index) const
{
    return m_views->cellView(index);
}

QWidget *FormMain::view(const QString &name) const
{
    return m_views->view(name);
}

QAction *FormMain::action(const QString &name) const
{
    return m_menu->action(name);
}

QMenu *FormMain::menu() const
{
    return m_menu;
}

void FormMain::Form_Load()
{
    ModuleFormLoad::Form_Load(m_state);
}

void FormMain::showMousePointer(int pointer)
{
    if (pointer == GameState::kPointerHourglass)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}

QRect FormMain::windowRect() const
{
    const QRect r = frameGeometry();
    return QRect(pxToTwips(r.x()), pxToTwips(r.y()), pxToTwips(r.width()), pxToTwips(r.height()));
}

void FormMain::setWindowSize(int width, int height)
{
    setFixedSize(twipsToPx(width), twipsToPx(height));
}

QSize FormMain::clientSize() const
{
    return QSize(pxToTwips(width()), pxToTwips(height()));
}

void FormMain::moveWindow(int left, int top)
{
    move(twipsToPx(left), twipsToPx(top));
}

QRect FormMain::screenRect() const
{
    const QRect area = ScreenGeometry::under(frameGeometry());
    return QRect(pxToTwips(area.x()), pxToTwips(area.y()), pxToTwips(area.width()), pxToTwips(area.height()));
}

bool FormMain::isWindowMinimized() const
{
    return isMinimized();
}

void FormMain::dragWindow()
{
    WindowDragger::drag(this);
}

bool FormMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == view(m_state.labelTime.objectName()) && event->type() == QEvent::MouseButtonPress) {
        labelTime_MouseDown();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FormMain::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    auto frame = [&p](const Control &shape, const QColor &color) {
        if (!shape.Visible() || shape.Width() <= 0)
            return;
        p.setPen(color);
        const QRect r = twipsRect(shape.Left(), shape.Top(), shape.Width(), shape.Height());
        p.drawRect(r.adjusted(0, 0, -1, -1));
    };
    frame(m_state.Shape1, QColor(128, 128, 128));
    frame(m_state.Shape3, QColor(64, 64, 64));
    frame(m_state.Shape2, toQColor(BoardColors::kBorder));
}

void FormMain::Form_Initialize()
{
    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s)
        return;
    const QRect area = s->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void FormMain::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    ModuleExit::Form_Unload(m_state);
}

void FormMain::showEvent(QShowEvent *event)
{
    // The shown window is the one the game's messages stand on; a window
    // that replaces this one takes over only once it shows, so that what
    // its load reports still stands on this one.
    QtMessageBox::setMainWindow(this);
    keepOnScreenSoon();
    QWidget::showEvent(event);
}

void FormMain::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
    if (!m_reloading)
        QApplication::quit();
}

void FormMain::setTopMost(bool topMost)
{
    Qt::WindowFlags flags = windowFlags();
    if (flags.testFlag(Qt::WindowStaysOnTopHint) == topMost)
        return;
    flags.setFlag(Qt::WindowStaysOnTopHint, topMost);
    if (QWindow *window = windowHandle()) {
        // Changing the widget's flags would recreate the native window (it
        // blinks and forgets its place); the window system takes the new
        // state on the window as it is.
        overrideWindowFlags(flags);
        window->setFlags(flags);
    } else {
        setWindowFlags(flags);
    }
}

void FormMain::reloadWindow()
{
    m_state.setMousePointer(GameState::kPointerHourglass);
    const QPoint place = pos();
    m_reloading = true;
    Form_Unload();
    auto *fresh = new FormMain;
    fresh->Form_Load();
    fresh->move(place);
    fresh->show();
    fresh->m_state.setMousePointer(GameState::kPointerDefault);
    close();
    deleteLater();
}

void FormMain::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        emit activated();
        ModuleSetting::Form_Activate(m_state);
    } else if (event->type() == QEvent::WindowStateChange) {
        if (isMinimized()) {
            setWindowTitle(QStringLiteral("数独 VEXA SUDOKU I"));
        } else {
            setWindowTitle(QString());
            ModuleGameSetting::ApplyLayout(m_state);
        }
    }
    QWidget::changeEvent(event);
}

void FormMain::mouseMoveEvent(QMouseEvent *event)
{
    ModuleTitleBar::Form_MouseMove(m_state, event->buttons() == Qt::NoButton ? 0 : 1);
    QWidget::mouseMoveEvent(event);
}

void FormMain::keyPressEvent(QKeyEvent *event)
{
    // Arrows are no characters: they never reach the entry box's keys.
    switch (event->key()) {
    case Qt::Key_Left:
        ModuleKeyboard::arrowKey(m_state, -1, 0);
        return;
    case Qt::Key_Right:
        ModuleKeyboard::arrowKey(m_state, 1, 0);
        return;
    case Qt::Key_Up:
        ModuleKeyboard::arrowKey(m_state, 0, -1);
        return;
    case Qt::Key_Down:
        ModuleKeyboard::arrowKey(m_state, 0, 1);
        return;
    case Qt::Key_F10:
    case Qt::Key_Menu:
        // The window has no menu bar for the keyboard to reach; these open
        // the menu where the menu button does, and the arrows walk it.
        showMainMenu();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void FormMain::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1)
        ModuleEntry::Form_KeyUp(m_state, ModuleEntry::kF1);
    QWidget::keyReleaseEvent(event);
}

void FormMain::mousePressEvent(QMouseEvent *event)
{
    ModuleTitleBar::Form_MouseDown(m_state, mouseButtonCode(event->button()));
    QWidget::mousePressEvent(event);
}

void FormMain::cmdStart_Click()
{
    ModuleNewGame::cmdStart_Click(m_state);
}

void FormMain::cmdNext_Click()
{
    ModuleNewGame::cmdNext_Click(m_state);
}

void FormMain::cmdFinished_Click()
{
    ModuleCheck::cmdFinished_Click(m_state);
}

void FormMain::cmdExit_Click()
{
    close();
}

void FormMain::cmdSave_Click()
{
    ModuleSaveFiles::cmdSave_Click(m_state);
}

void FormMain::cmdContinue_Click()
{
    ModuleContinue::cmdContinue_Click(m_state);
}

void FormMain::menuDo_Difficoulty_Click(const Difficulty::Level &level)
{
    ModuleNewGame::menuDo_Difficoulty_Click(m_state, level);
}

void FormMain::menuDo_Finished_Click()
{
    ModuleCheck::menuDo_Finished_Click(m_state);
}

void FormMain::menuGame_Grade_Click()
{
    FormGrade::open(m_state, this);
}

void FormMain::menuAbout_Help_Click()
{
    ModuleInfo::menuAbout_Help_Click(m_state, this);
}

void FormMain::menuSetting_PlayMusic_StartPlay_Click()
{
    ModuleMusic::menuSetting_PlayMusic_StartPlay_Click(m_state);
}

void FormMain::L_MouseDown(int index, int button, int, int, int)
{
    ModuleEntry::L_MouseDown(m_state, index, button);
}

void FormMain::txtEnter_KeyPress(QChar character)
{
    ModuleEntry::txtEnter_KeyPress(m_state, character);
}

void FormMain::txtEnter_MouseDown(int button)
{
    ModuleEntry::txtEnter_MouseDown(m_state, button);
}

void FormMain::Timer1_Timer()
{
    ModuleClock::Timer1_Timer(m_state);
}

void FormMain::Timer2_Timer()
{
    ModuleClock::Timer2_Timer(m_state);
    // The window can only leave the screen by moving, by growing or by its
    // screen changing, and each of those starts the timer again. Once it has
    // stood still for a while the timer rests, instead of waking the
    // process ten times a second for nothing.
    const QRect place = frameGeometry();
    m_stillTicks = place == m_lastPlace ? m_stillTicks + 1 : 0;
    m_lastPlace = place;
    if (m_stillTicks >= kStillTicksBeforeRest)
        m_state.Timer2.stop();
}

void FormMain::keepOnScreenSoon()
{
    m_stillTicks = 0;
    if (!m_state.Timer2.isActive())
        m_state.Timer2.start();
}

void FormMain::moveEvent(QMoveEvent *event)
{
    keepOnScreenSoon();
    QWidget::moveEvent(event);
}

void FormMain::resizeEvent(QResizeEvent *event)
{
    keepOnScreenSoon();
    QWidget::resizeEvent(event);
}

void FormMain::labelTime_MouseDown()
{
    ModuleClock::labelTime_MouseDown(m_state);
}

void FormMain::picTitle_MouseDown(int button, int, int)
{
    ModuleTitleBar::picTitle_MouseDown(m_state, button);
}

void FormMain::picTitleLeft_MouseUp(int button, int, int)
{
    if (button == 1)
        showMainMenu();
    m_state.picTitleLeft.setPicture(QStringLiteral("\\interface\\black\\titleleft1"));
}

void FormMain::showMainMenu()
{
    menu()->exec(mapToGlobal(QPoint(twipsToPx(60), twipsToPx(350))));
}

void FormMain::MMControl1_Done()
{
    ModuleMusic::MMControl1_Done(m_state);
}
