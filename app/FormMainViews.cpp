#include "FormMainViews.h"

#include "BoardGeometry.h"
#include "CellLabelView.h"
#include "CjkFont.h"
#include "ControlBinder.h"
#include "CursorFile.h"
#include "Difficulty.h"
#include "EntryBox.h"
#include "FormMain.h"
#include "ModuleHint.h"
#include "ModuleMusic.h"
#include "ModuleSetting.h"
#include "ModuleSound.h"
#include "SkinButton.h"
#include "Twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QRadioButton>

FormMainViews::FormMainViews(FormMain &window)
    : m_window(window)
{
    GameState &form = window.state();
    window.setAutoFillBackground(true);
    QPalette p = window.palette();
    p.setColor(QPalette::Window, QColor(236, 233, 216));
    window.setPalette(p);

    // The title bar: the title image under the menu button and the icons.
    SkinButton *title = picture(form.picTitle, QStringLiteral("title"), int(SkinButton::Kind::Picture));
    QObject::connect(title, &SkinButton::mouseDown, &window, &FormMain::picTitle_MouseDown);
    SkinButton *titleLeft
        = picture(form.picTitleLeft, QStringLiteral("titleleft"), int(SkinButton::Kind::HoverIcon));
    QObject::connect(titleLeft, &SkinButton::mouseDown, &window, [&form](int button) {
        if (button == 1)
            ModuleSound::PlaySoundDu(form);
    });
    QObject::connect(titleLeft, &SkinButton::mouseUp, &window, &FormMain::picTitleLeft_MouseUp);
    SkinButton *musicPlay
        = picture(form.picMusicPlay, QStringLiteral("musicplay"), int(SkinButton::Kind::Picture));
    QObject::connect(musicPlay, &SkinButton::mouseUp, &window,
        [&form](int button) { ModuleMusic::picMusicPlay_MouseUp(form, button); });
    SkinButton *musicStop
        = picture(form.picMusicStop, QStringLiteral("musicstop"), int(SkinButton::Kind::Picture));
    QObject::connect(musicStop, &SkinButton::mouseUp, &window,
        [&form](int button) { ModuleMusic::picMusicStop_MouseUp(form, button); });
    SkinButton *pin
        = picture(form.picPutOnFront, QStringLiteral("putonfront"), int(SkinButton::Kind::Picture));
    QObject::connect(pin, &SkinButton::mouseDown, &window,
        [&form](int button) { ModuleSetting::picPutOnFront_MouseDown(form, button); });
    QObject::connect(pin, &SkinButton::mouseUp, &window,
        [&form](int button) { ModuleSetting::picPutOnFront_MouseUp(form, button); });
    SkinButton *minimize
        = picture(form.picMinimize, QStringLiteral("minimize"), int(SkinButton::Kind::HoverIcon));
    QObject::connect(minimize, &SkinButton::clicked, &window, [&window] { window.showMinimized(); });
    SkinButton *close = picture(form.picClose, QStringLiteral("close"), int(SkinButton::Kind::HoverIcon));
    QObject::connect(close, &SkinButton::clicked, &window, &FormMain::cmdExit_Click);
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
        auto *view = new CellLabelView(form.L(i), &window);
        view->setCursor(pen);
        view->setGeometry(BoardGeometry::cellRect(i));
        QObject::connect(view, &CellLabelView::mouseDown, &window, &FormMain::L_MouseDown);
        QObject::connect(view, &CellLabelView::mouseMove, &window,
            [&form](int index, int button) { ModuleHint::L_MouseMove(form, index, button); });
        m_cellViews[std::size_t(i)] = view;
    }

    auto *entry = new EntryBox(form.txtEnter, &window);
    entry->setCursor(pen);
    QObject::connect(entry, &EntryBox::characterTyped, &window, &FormMain::txtEnter_KeyPress);
    QObject::connect(entry, &EntryBox::mouseDown, &window, &FormMain::txtEnter_MouseDown);
    m_views.insert(form.txtEnter.objectName(), entry);

    auto *frame2 = new QFrame(&window);
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

    auto *frame1 = new QGroupBox(form.Frame1.Caption(), &window);
    frame1->setObjectName(form.Frame1.objectName());
    frame1->setAttribute(Qt::WA_NoMousePropagation);
    ControlBinder::bindWidget(form.Frame1, frame1, ControlBinder::FollowGeometry);
    m_views.insert(form.Frame1.objectName(), frame1);
    for (const Difficulty::Level &level : Difficulty::levels()) {
        Control *option = &(form.*level.option);
        auto *button = new QRadioButton(option->Caption(), frame1);
        button->setObjectName(option->objectName());
        button->setGeometry(twipsRect(option->Left(), option->Top(), option->Width(), option->Height()));
        ControlBinder::bindOption(*option, button);
        button->setFocusPolicy(Qt::NoFocus);
        m_views.insert(option->objectName(), button);
    }

    auto *progressBar = new QProgressBar(&window);
    progressBar->setObjectName(QStringLiteral("ProgressBarMake"));
    progressBar->setAttribute(Qt::WA_NoMousePropagation);
    progressBar->setGeometry(twipsRect(form.ProgressBarMake.Left(), 1740, 1350, 135));
    progressBar->setRange(0, 100);
    progressBar->setTextVisible(false);
    progressBar->setVisible(form.ProgressBarMake.Visible());
    QObject::connect(
        &form.ProgressBarMake, &ProgressModel::valueChanged, progressBar, &QProgressBar::setValue);
    QObject::connect(
        &form.ProgressBarMake, &ProgressModel::visibleChanged, progressBar, &QWidget::setVisible);
    QObject::connect(&form.ProgressBarMake, &ProgressModel::leftChanged, progressBar,
        [progressBar](int left) { progressBar->move(twipsToPx(left), twipsToPx(1740)); });
    m_views.insert(QStringLiteral("ProgressBarMake"), progressBar);

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
        QObject::connect(button, &SkinButton::clicked, &window, b.slot);
    }

    auto *time = new QLabel(&window);
    time->setObjectName(form.labelTime.objectName());
    time->setAlignment(Qt::AlignCenter);
    time->setFont(CjkFont::song(12, true));
    ControlBinder::bindLabel(form.labelTime, time, ControlBinder::FollowGeometry);
    time->installEventFilter(&window);
    m_views.insert(form.labelTime.objectName(), time);
}

SkinButton *FormMainViews::picture(Control &control, const QString &base, int kind)
{
    auto *button = new SkinButton(control, base, SkinButton::Kind(kind), &m_window);
    ControlBinder::bindWidget(control, button, ControlBinder::FollowGeometry);
    m_views.insert(control.objectName(), button);
    return button;
}
