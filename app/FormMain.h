#pragma once

#include "Difficulty.h"
#include "GameState.h"
#include "GameWindow.h"

#include <QWidget>
#include <memory>

class CellLabelView;
class FormMainMenu;
class FormMainViews;
class MMControl;
class QAction;
class QMenu;

// The main window: the board of 81 cells, the column of commands on the
// right, the drawn title bar (its widgets are FormMainViews, its menu
// FormMainMenu). It owns the game state, draws it and hands
// every event to the game's handlers, and carries out what the handlers ask
// of the window; its one instance is `formMain`.
class FormMain : public QWidget, public GameWindow
{
    Q_OBJECT
public:
    explicit FormMain(QWidget *parent = nullptr);
    ~FormMain() override;

    GameState &state() { return m_state; }
    const GameState &state() const { return m_state; }

    CellLabelView *cellView(int index) const;
    // The widget that shows a control, by its design name.
    QWidget *view(const QString &name) const;
    QAction *action(const QString &name) const;
    QMenu *menu() const;

    void Form_Load() override;
    void menuSetting_PlayMusic_StartPlay_Click() override;
    void menuAbout_Help_Click() override;
    void reloadWindow() override;
    void showMousePointer(int pointer) override;
    QRect windowRect() const override;
    void setWindowSize(int width, int height) override;
    QSize clientSize() const override;
    void moveWindow(int left, int top) override;
    QRect screenRect() const override;
    bool isWindowMinimized() const override;
    void dragWindow() override;
    void setTopMost(bool topMost) override;

    // Centres the window on the screen, before it loads.
    void Form_Initialize();
    // The exit sequence, run once when the window closes.
    void Form_Unload();

public slots:
    void cmdStart_Click();
    void cmdNext_Click();
    void cmdFinished_Click();
    void cmdExit_Click();
    void cmdSave_Click();
    void cmdContinue_Click();
    void menuDo_Difficoulty_Click(const Difficulty::Level &level);
    void menuDo_Finished_Click();
    void menuGame_Grade_Click();
    void L_MouseDown(int index, int button, int shift, int x, int y);
    void txtEnter_KeyPress(QChar character);
    void txtEnter_MouseDown(int button);
    void Timer1_Timer();
    void Timer2_Timer();
    void labelTime_MouseDown();
    void picTitle_MouseDown(int button, int x, int y);
    void picTitleLeft_MouseUp(int button, int x, int y);
    void MMControl1_Done();

signals:
    // The window has become the active one; whatever was shown before it
    // (the splash) can go.
    void activated();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void keepOnScreenSoon();
    // The whole menu below the menu button, as its click shows it.
    void showMainMenu();

    GameState m_state;
    std::unique_ptr<MMControl> m_mm;
    std::unique_ptr<FormMainViews> m_views;
    FormMainMenu *m_menu = nullptr;
    bool m_unloaded = false;
    // Set while the window is being replaced by a fresh one.
    bool m_reloading = false;
    // Keeping the window on the screen: Timer2 runs from a move, a resize or
    // a change of screens until the window has stood still for a second.
    static constexpr int kStillTicksBeforeRest = 10;
    int m_stillTicks = 0;
    QRect m_lastPlace;
};

// The one main window of the program, or null while none exists.
extern FormMain *formMain;
