#include "FormMain.h"

#include "BoardGeometry.h"
#include "CellLabelView.h"
#include "CjkFont.h"
#include "ControlBinder.h"
#include "CursorFile.h"
#include "EntryBox.h"
#include "FormGrade.h"
#include "FormPrint.h"
#include "FormSelectPath.h"
#include "MMControl.h"
#include "ModuleCheck.h"
#include "ModuleClear.h"
#include "ModuleClipboard.h"
#include "ModuleClock.h"
#include "ModuleContinue.h"
#include "ModuleEntry.h"
#include "ModuleExit.h"
#include "ModuleFormLoad.h"
#include "ModuleGameSetting.h"
#include "ModuleHint.h"
#include "ModuleInfo.h"
#include "ModuleKeyboard.h"
#include "ModuleMusic.h"
#include "ModuleNewGame.h"
#include "ModuleNumericalTime.h"
#include "ModuleSaveFiles.h"
#include "ModuleSetting.h"
#include "ModuleSound.h"
#include "ModuleTitleBar.h"
#include "MouseCode.h"
#include "QtMessageBox.h"
#include "ScreenGeometry.h"
#include "SkinButton.h"
#include "Twips.h"
#include "WindowDragger.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMoveEvent>
#include <QPainter>
#include <QProgressBar>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QWindow>
#include <functional>

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
    createViews();
    createMenu();
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

SkinButton *FormMain::picture(Control &control, const QString &base, int kind)
{
    auto *button = new SkinButton(control, base, SkinButton::Kind(kind), this);
    ControlBinder::bindWidget(control, button, ControlBinder::FollowGeometry);
    m_views.insert(control.objectName(), button);
    return button;
}

void FormMain::createViews()
{
    GameState &form = m_state;
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(236, 233, 216));
    setPalette(p);

    // The title bar: the title image under the menu button and the icons.
    SkinButton *title = picture(form.picTitle, QStringLiteral("title"), int(SkinButton::Kind::Picture));
    connect(title, &SkinButton::mouseDown, this, &FormMain::picTitle_MouseDown);
    SkinButton *titleLeft
        = picture(form.picTitleLeft, QStringLiteral("titleleft"), int(SkinButton::Kind::HoverIcon));
    connect(titleLeft, &SkinButton::mouseDown, this, [this](int button) {
        if (button == 1)
            ModuleSound::PlaySoundDu(m_state);
    });
    connect(titleLeft, &SkinButton::mouseUp, this, &FormMain::picTitleLeft_MouseUp);
    SkinButton *musicPlay
        = picture(form.picMusicPlay, QStringLiteral("musicplay"), int(SkinButton::Kind::Picture));
    connect(musicPlay, &SkinButton::mouseUp, this,
        [this](int button) { ModuleMusic::picMusicPlay_MouseUp(m_state, button); });
    SkinButton *musicStop
        = picture(form.picMusicStop, QStringLiteral("musicstop"), int(SkinButton::Kind::Picture));
    connect(musicStop, &SkinButton::mouseUp, this,
        [this](int button) { ModuleMusic::picMusicStop_MouseUp(m_state, button); });
    SkinButton *pin
        = picture(form.picPutOnFront, QStringLiteral("putonfront"), int(SkinButton::Kind::Picture));
    connect(pin, &SkinButton::mouseDown, this,
        [this](int button) { ModuleSetting::picPutOnFront_MouseDown(m_state, button); });
    connect(pin, &SkinButton::mouseUp, this,
        [this](int button) { ModuleSetting::picPutOnFront_MouseUp(m_state, button); });
    SkinButton *minimize
        = picture(form.picMinimize, QStringLiteral("minimize"), int(SkinButton::Kind::HoverIcon));
    connect(minimize, &SkinButton::clicked, this, [this] { showMinimized(); });
    SkinButton *close = picture(form.picClose, QStringLiteral("close"), int(SkinButton::Kind::HoverIcon));
    connect(close, &SkinButton::clicked, this, &FormMain::cmdExit_Click);
    musicStop->raise();
    musicPlay->raise();
    titleLeft->raise();

    // Every button and title-bar icon but the title itself shows the hand;
    // the board and the entry box the pen.
    const QCursor hand = CursorFile::load(QStringLiteral("\\ico\\hand"));
    for (SkinButton *icon : { titleLeft, musicPlay, musicStop, pin, minimize, close })
        icon->setCursor(hand);
    const QCursor pen = CursorFile::load(QStringLiteral("\\ico\\pen"));

    // Cells in index order: each later cell lies over the border of the one
    // before, so neighbouring borders merge into one grid line.
    for (int i = 0; i < GameState::kCells; ++i) {
        auto *view = new CellLabelView(form.L(i), this);
        view->setCursor(pen);
        view->setGeometry(BoardGeometry::cellRect(i));
        connect(view, &CellLabelView::mouseDown, this, &FormMain::L_MouseDown);
        connect(view, &CellLabelView::mouseMove, this,
            [this](int index, int button) { ModuleHint::L_MouseMove(m_state, index, button); });
        m_cellViews[std::size_t(i)] = view;
    }

    auto *entry = new EntryBox(form.txtEnter, this);
    entry->setCursor(pen);
    connect(entry, &EntryBox::characterTyped, this, &FormMain::txtEnter_KeyPress);
    connect(entry, &EntryBox::mouseDown, this, &FormMain::txtEnter_MouseDown);
    m_views.insert(form.txtEnter.objectName(), entry);

    auto *frame2 = new QFrame(this);
    frame2->setObjectName(form.Frame2.objectName());
    // Presses on the hint panel, the difficulty frame and the progress bar
    // are no presses on the window's background: they neither drag the
    // window nor cancel an entry. (Qt hands presses that a widget leaves
    // alone, or that reach a disabled one, on to its parent.)
    frame2->setAttribute(Qt::WA_NoMousePropagation);
    ControlBinder::bindWidget(form.Frame2, frame2, ControlBinder::FollowGeometry);
    m_views.insert(form.Frame2.objectName(), frame2);
    for (int k = 0; k < 9; ++k) {
        auto *label = new QLabel(frame2);
        label->setObjectName(form.Label1(k).objectName());
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::Box);
        label->setAutoFillBackground(true);
        label->setFont(CjkFont::song(17, true));
        ControlBinder::bindLabel(form.Label1(k), label, ControlBinder::FollowGeometry);
        m_views.insert(form.Label1(k).objectName(), label);
    }

    auto *frame1 = new QGroupBox(form.Frame1.Caption(), this);
    frame1->setObjectName(form.Frame1.objectName());
    frame1->setAttribute(Qt::WA_NoMousePropagation);
    ControlBinder::bindWidget(form.Frame1, frame1, ControlBinder::FollowGeometry);
    m_views.insert(form.Frame1.objectName(), frame1);
    for (Control *option : { &form.optEasy, &form.optMedium, &form.optHard }) {
        auto *button = new QRadioButton(option->Caption(), frame1);
        button->setObjectName(option->objectName());
        button->setGeometry(twipsRect(option->Left(), option->Top(), option->Width(), option->Height()));
        ControlBinder::bindOption(*option, button);
        button->setFocusPolicy(Qt::NoFocus);
        m_views.insert(option->objectName(), button);
    }

    m_progressBar = new QProgressBar(this);
    m_progressBar->setObjectName(QStringLiteral("ProgressBarMake"));
    m_progressBar->setAttribute(Qt::WA_NoMousePropagation);
    m_progressBar->setGeometry(twipsRect(form.ProgressBarMake.Left(), 1740, 1350, 135));
    m_progressBar->setRange(0, 100);
    m_progressBar->setTextVisible(false);
    m_progressBar->setVisible(form.ProgressBarMake.Visible());
    connect(&form.ProgressBarMake, &ProgressModel::valueChanged, m_progressBar, &QProgressBar::setValue);
    connect(&form.ProgressBarMake, &ProgressModel::visibleChanged, m_progressBar, &QWidget::setVisible);
    connect(&form.ProgressBarMake, &ProgressModel::leftChanged, m_progressBar,
        [this](int left) { m_progressBar->move(twipsToPx(left), twipsToPx(1740)); });
    m_views.insert(QStringLiteral("ProgressBarMake"), m_progressBar);

    struct Button
    {
        Control &control;
        const char *base;
        void (FormMain::*slot)();
    };
    for (const Button &b : { Button { form.cmdStart, "start", &FormMain::cmdStart_Click },
             Button { form.cmdContinue, "continue", &FormMain::cmdContinue_Click },
             Button { form.cmdSave, "save", &FormMain::cmdSave_Click },
             Button { form.cmdNext, "next", &FormMain::cmdNext_Click },
             Button { form.cmdFinished, "finish", &FormMain::cmdFinished_Click },
             Button { form.cmdExit, "exit", &FormMain::cmdExit_Click } }) {
        SkinButton *button = picture(b.control, QLatin1String(b.base), int(SkinButton::Kind::CommandButton));
        button->setCursor(hand);
        connect(button, &SkinButton::clicked, this, b.slot);
    }

    auto *time = new QLabel(this);
    time->setObjectName(form.labelTime.objectName());
    time->setAlignment(Qt::AlignCenter);
    time->setFont(CjkFont::song(12, true));
    ControlBinder::bindLabel(form.labelTime, time, ControlBinder::FollowGeometry);
    time->installEventFilter(this);
    m_views.insert(form.labelTime.objectName(), time);
}

void FormMain::createMenu()
{
    GameState &form = m_state;
    using Handler = std::function<void()>;
    auto makeAction = [this](Control &control, QMenu *menu, const Handler &handler,
                          const QKeySequence &shortcut = {}, bool checkable = false) {
        auto *action = new QAction(control.Caption(), this);
        action->setCheckable(checkable);
        action->setShortcut(shortcut);
        ControlBinder::bindAction(control, action);
        menu->addAction(action);
        // Shortcuts act while the menu is closed, too.
        addAction(action);
        m_actions.insert(control.objectName(), action);
        connect(action, &QAction::triggered, this, handler);
        if (checkable) {
            // A checkable action flips its own mark before the handler
            // runs; the game decides the mark, so it is shown again as the
            // game holds it (choosing the checked difficulty keeps it).
            connect(action, &QAction::triggered, action,
                [&control, action] { action->setChecked(control.Checked()); });
        }
        return action;
    };
    auto makeMenu = [this](Control &control, QMenu *parent) {
        QMenu *menu = parent->addMenu(control.Caption());
        menu->setObjectName(control.objectName());
        ControlBinder::bindAction(control, menu->menuAction());
        m_actions.insert(control.objectName(), menu->menuAction());
        return menu;
    };
    constexpr bool kCheckable = true;

    m_menuMain = new QMenu(form.menuMain.Caption(), this);
    m_menuMain->setObjectName(form.menuMain.objectName());
    QMenu *top = m_menuMain;
    makeAction(
        form.menuGame_Start, top, [this] { cmdStart_Click(); }, QKeySequence(Qt::CTRL | Qt::Key_B));
    makeAction(
        form.menuGame_Continue, top, [this] { cmdContinue_Click(); }, QKeySequence(Qt::CTRL | Qt::Key_C));
    makeAction(
        form.menuGame_Save, top, [this] { cmdSave_Click(); }, QKeySequence(Qt::CTRL | Qt::Key_S));
    makeAction(
        form.menuGame_Clear, top, [this] { ModuleClear::menuGame_Clear_Click(m_state); },
        QKeySequence(Qt::CTRL | Qt::Key_R));
    makeAction(form.menuGame_Reload, top, [this] { ModuleClear::menuGame_Reload_Click(m_state); });
    top->addSeparator();
    makeAction(form.menuGame_CopyToClipboard, top,
        [this] { ModuleClipboard::menuGame_CopyToClipboard_Click(m_state); });
    makeAction(form.menuGame_SavePicture, top,
        [this] { FormSelectPath::menuGame_SavePicture_Click(m_state, this); });
    makeAction(form.menuGame_Print, top, [this] { FormPrint::menuGame_Print_Click(m_state, this); });
    top->addSeparator();

    QMenu *doMenu = makeMenu(form.menuDo, top);
    makeAction(
        form.menuDo_Next, doMenu, [this] { cmdNext_Click(); }, QKeySequence(Qt::CTRL | Qt::Key_N));
    doMenu->addSeparator();
    QMenu *difficulty = makeMenu(form.menuDo_Difficoulty, doMenu);
    makeAction(
        form.menuDo_Difficoulty_Easy, difficulty, [this] { menuDo_Difficoulty_Easy_Click(); }, {},
        kCheckable);
    makeAction(
        form.menuDo_Difficoulty_Medium, difficulty, [this] { menuDo_Difficoulty_Medium_Click(); }, {},
        kCheckable);
    makeAction(
        form.menuDo_Difficoulty_Hard, difficulty, [this] { menuDo_Difficoulty_Hard_Click(); }, {},
        kCheckable);
    doMenu->addSeparator();
    makeAction(
        form.menuDo_Finished, doMenu, [this] { menuDo_Finished_Click(); },
        QKeySequence(Qt::CTRL | Qt::Key_F));

    QMenu *setting = makeMenu(form.menuSetting, top);
    makeAction(
        form.menuSetting_ShowNumberHint, setting,
        [this] { ModuleHint::menuSetting_ShowNumberHint_Click(m_state); }, {}, kCheckable);
    makeAction(
        form.menuSetting_ShowCrossHint, setting,
        [this] { ModuleHint::menuSetting_ShowCrossHint_Click(m_state); }, {}, kCheckable);
    makeAction(
        form.menuSetting_PieceColor, setting,
        [this] { ModuleSetting::menuSetting_PieceColor_Click(m_state); }, {}, kCheckable);
    makeAction(
        form.menuSetting_ShowBorder, setting,
        [this] { ModuleSetting::menuSetting_ShowBorder_Click(m_state); }, {}, kCheckable);
    makeAction(
        form.menuSetting_FontBold, setting, [this] { ModuleSetting::menuSetting_FontBold_Click(m_state); },
        {}, kCheckable);
    setting->addSeparator();
    QMenu *music = makeMenu(form.menuSetting_PlayMusic, setting);
    makeAction(
        form.menuSetting_PlayMusic_osmira, music,
        [this] { ModuleMusic::menuSetting_PlayMusic_osmira_Click(m_state); }, {}, kCheckable);
    makeAction(
        form.menuSetting_PlayMusic_HappyGM, music,
        [this] { ModuleMusic::menuSetting_PlayMusic_HappyGM_Click(m_state); }, {}, kCheckable);
    makeAction(
        form.menuSetting_PlayMusic_Waltz, music,
        [this] { ModuleMusic::menuSetting_PlayMusic_Waltz_Click(m_state); }, {}, kCheckable);
    music->addSeparator();
    makeAction(
        form.menuSetting_PlayMusic_StartPlay, music, [this] { menuSetting_PlayMusic_StartPlay_Click(); },
        QKeySequence(Qt::CTRL | Qt::Key_P));
    makeAction(form.menuSetting_PlayMusic_StopPlay, music,
        [this] { ModuleMusic::menuSetting_PlayMusic_StopPlay_Click(m_state); });
    setting->addSeparator();
    makeAction(
        form.menuSetting_ExitAutoSave, setting,
        [this] { ModuleSetting::menuSetting_ExitAutoSave_Click(m_state); }, {}, kCheckable);
    makeAction(
        form.menuSetting_PutOnFront, setting,
        [this] { ModuleSetting::menuSetting_PutOnFront_Click(m_state); }, {}, kCheckable);
    top->addSeparator();

    makeAction(form.menuGame_Grade, top, [this] { menuGame_Grade_Click(); });
    QMenu *about = makeMenu(form.menuAbout, top);
    // F1 is shown here and handled when the key is released in the window.
    QAction *help = makeAction(
        form.menuAbout_Help, about, [this] { menuAbout_Help_Click(); }, QKeySequence(Qt::Key_F1));
    removeAction(help);
    makeAction(
        form.menuAbout_Copyright, about, [this] { ModuleInfo::menuAbout_Copyright_Click(m_state, this); });
    makeAction(form.menuAbout_AboutMe, about, [this] { ModuleInfo::menuAbout_AboutMe_Click(m_state, this); });
    about->addSeparator();
    makeAction(
        form.menuAbout_UpdateInfo, about, [this] { ModuleInfo::menuAbout_UpdateInfo_Click(m_state, this); });
    makeAction(
        form.menuGame_SoftUpdata, top, [this] { ModuleInfo::menuGame_SoftUpdata_Click(m_state, this); },
        QKeySequence(Qt::CTRL | Qt::Key_U));
    makeAction(
        form.menuGame_Exit, top, [this] { cmdExit_Click(); }, QKeySequence(Qt::CTRL | Qt::Key_F4));
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
    if (watched == m_views.value(m_state.labelTime.objectName())
        && event->type() == QEvent::MouseButtonPress) {
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
    frame(m_state.Shape2, QColor(64, 64, 64));
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

void FormMain::menuDo_Difficoulty_Easy_Click()
{
    ModuleNewGame::menuDo_Difficoulty_Easy_Click(m_state);
}

void FormMain::menuDo_Difficoulty_Medium_Click()
{
    ModuleNewGame::menuDo_Difficoulty_Medium_Click(m_state);
}

void FormMain::menuDo_Difficoulty_Hard_Click()
{
    ModuleNewGame::menuDo_Difficoulty_Hard_Click(m_state);
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
    ModuleEntry::typeCharacter(m_state, character);
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
    m_menuMain->exec(mapToGlobal(QPoint(twipsToPx(60), twipsToPx(350))));
}

void FormMain::MMControl1_Done()
{
    ModuleMusic::MMControl1_Done(m_state);
}
