#pragma once

#include "CellLabel.h"
#include "Control.h"
#include "GameWindow.h"
#include "ModuleGetNumber.h"
#include "ProgressModel.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QTimer>
#include <QVariant>
#include <array>
#include <memory>

class MultimediaControl;

// Everything the main window keeps for a game: the 81 cells (which are the
// board), the solved grid, and the public variables that the modules and
// the other windows read and write. The main window owns one; the game
// logic works on this state alone and so runs without a display, reaching
// the window only through window().
class GameState
{
public:
    static constexpr int kCells = 81;

    // Mouse pointers of the main window.
    static constexpr int kPointerDefault = 0;
    static constexpr int kPointerHourglass = 11;
    static constexpr int kPointerCustom = 99;

    GameState();
    ~GameState();
    GameState(const GameState &) = delete;
    GameState &operator=(const GameState &) = delete;

    // The cell labels L(0)..L(80), row by row from the top-left.
    CellLabel &L(int index) { return *m_cells.at(std::size_t(index)); }
    const CellLabel &L(int index) const { return *m_cells.at(std::size_t(index)); }

    // Every control of the window (menu items included), in design order.
    const QList<Control *> &controls() const { return m_controls; }
    Control *findControl(const QString &name) const;

    int MousePointer() const { return m_mousePointer; }
    void setMousePointer(int pointer);

    // What the logic asks of the main window; one that does nothing until
    // a window sets itself.
    GameWindow &window() const;
    void setWindow(GameWindow *window) { m_window = window; }

    // Reads a colour variable the way the game does at each use: the text
    // must hold a whole number, otherwise the conversion fails.
    static bool colorValue(const QString &text, int *value);

    ProgressModel ProgressBarMake;

    // The puzzle bank with the current puzzle's record.
    ModuleGetNumber bank { *this };

    // The window's controls, by their design names.
    Control txtEnter { QStringLiteral("txtEnter") };
    Control labelTime { QStringLiteral("labelTime") };
    Control &Label1(int k) { return *m_label1.at(std::size_t(k)); }
    Control Frame1 { QStringLiteral("Frame1") };
    Control Frame2 { QStringLiteral("Frame2") };
    Control optEasy { QStringLiteral("optEasy") };
    Control optMedium { QStringLiteral("optMedium") };
    Control optHard { QStringLiteral("optHard") };
    Control cmdStart { QStringLiteral("cmdStart") };
    Control cmdContinue { QStringLiteral("cmdContinue") };
    Control cmdSave { QStringLiteral("cmdSave") };
    Control cmdNext { QStringLiteral("cmdNext") };
    Control cmdFinished { QStringLiteral("cmdFinished") };
    Control cmdExit { QStringLiteral("cmdExit") };
    Control picTitle { QStringLiteral("picTitle") };
    Control picTitleLeft { QStringLiteral("picTitleLeft") };
    Control picClose { QStringLiteral("picClose") };
    Control picMinimize { QStringLiteral("picMinimize") };
    Control picPutOnFront { QStringLiteral("picPutOnFront") };
    Control picMusicPlay { QStringLiteral("picMusicPlay") };
    Control picMusicStop { QStringLiteral("picMusicStop") };
    Control Shape1 { QStringLiteral("Shape1") };
    Control Shape2 { QStringLiteral("Shape2") };
    Control Shape3 { QStringLiteral("Shape3") };

    // The game clock and the keep-on-screen timer.
    QTimer Timer1;
    QTimer Timer2;

    // The one sound device; set by the window (or a test) before use.
    MultimediaControl *MMControl1 = nullptr;

    // Menu items, by their design names, in menu order.
    Control menuMain { QStringLiteral("menuMain") };
    Control menuGame_Start { QStringLiteral("menuGame_Start") };
    Control menuGame_Continue { QStringLiteral("menuGame_Continue") };
    Control menuGame_Save { QStringLiteral("menuGame_Save") };
    Control menuGame_Clear { QStringLiteral("menuGame_Clear") };
    Control menuGame_Reload { QStringLiteral("menuGame_Reload") };
    Control menuGame_CopyToClipboard { QStringLiteral("menuGame_CopyToClipboard") };
    Control menuGame_SavePicture { QStringLiteral("menuGame_SavePicture") };
    Control menuGame_Print { QStringLiteral("menuGame_Print") };
    Control menuDo { QStringLiteral("menuDo") };
    Control menuDo_Next { QStringLiteral("menuDo_Next") };
    Control menuDo_Difficoulty { QStringLiteral("menuDo_Difficoulty") };
    Control menuDo_Difficoulty_Easy { QStringLiteral("menuDo_Difficoulty_Easy") };
    Control menuDo_Difficoulty_Medium { QStringLiteral("menuDo_Difficoulty_Medium") };
    Control menuDo_Difficoulty_Hard { QStringLiteral("menuDo_Difficoulty_Hard") };
    Control menuDo_Finished { QStringLiteral("menuDo_Finished") };
    Control menuSetting { QStringLiteral("menuSetting") };
    Control menuSetting_ShowNumberHint { QStringLiteral("menuSetting_ShowNumberHint") };
    Control menuSetting_ShowCrossHint { QStringLiteral("menuSetting_ShowCrossHint") };
    Control menuSetting_PieceColor { QStringLiteral("menuSetting_PieceColor") };
    Control menuSetting_ShowBorder { QStringLiteral("menuSetting_ShowBorder") };
    Control menuSetting_FontBold { QStringLiteral("menuSetting_FontBold") };
    Control menuSetting_PlayMusic { QStringLiteral("menuSetting_PlayMusic") };
    Control menuSetting_PlayMusic_osmira { QStringLiteral("menuSetting_PlayMusic_osmira") };
    Control menuSetting_PlayMusic_HappyGM { QStringLiteral("menuSetting_PlayMusic_HappyGM") };
    Control menuSetting_PlayMusic_Waltz { QStringLiteral("menuSetting_PlayMusic_Waltz") };
    Control menuSetting_PlayMusic_StartPlay { QStringLiteral("menuSetting_PlayMusic_StartPlay") };
    Control menuSetting_PlayMusic_StopPlay { QStringLiteral("menuSetting_PlayMusic_StopPlay") };
    Control menuSetting_ExitAutoSave { QStringLiteral("menuSetting_ExitAutoSave") };
    Control menuSetting_PutOnFront { QStringLiteral("menuSetting_PutOnFront") };
    Control menuGame_Grade { QStringLiteral("menuGame_Grade") };
    Control menuAbout { QStringLiteral("menuAbout") };
    Control menuAbout_Help { QStringLiteral("menuAbout_Help") };
    Control menuAbout_Copyright { QStringLiteral("menuAbout_Copyright") };
    Control menuAbout_AboutMe { QStringLiteral("menuAbout_AboutMe") };
    Control menuAbout_UpdateInfo { QStringLiteral("menuAbout_UpdateInfo") };
    Control menuGame_SoftUpdata { QStringLiteral("menuGame_SoftUpdata") };
    Control menuGame_Exit { QStringLiteral("menuGame_Exit") };

    // The solved grid of the current puzzle, in cell order.
    std::array<qint16, kCells> SolutionNumber {};
    // -1 while the current game came from the saved-game file, else 0.
    qint16 IsContinuedGame = 0;
    // What Continue read from the saved-game file.
    std::array<qint16, kCells> SavedNumber {};
    std::array<qint32, kCells> SavedColor {};
    QString strSavedTime;
    QString strSavedDifficulty;

    // Public variables, in their order of declaration.
    QString Difficulty;
    qint16 EnterIndex = 0;
    QString GetNumberOrder;
    QString lColorValue;
    QString lEmptyColorValue;
    QString lPieceColorValue;
    QString lNumericalTimeTrueColor;
    QVariant strFontBold;
    QVariant strShowNumberHint;
    QVariant strShowCrossHint;
    QVariant strExitAutoSave;
    QVariant strPutOnFront;
    QVariant strPieceColor;
    QVariant strShowBorder;
    QString strPlayMusic;
    QVariant strLastFinishedTime;
    QVariant strFastestTime;
    QVariant strTotalTime;
    QVariant strFinishedCount;
    QString strGrade;
    // Time stamps carry their date too, so that spans across midnight come
    // out right; the game shows and stores only their time of day.
    QDateTime timeStart;
    QDateTime timeEnd;
    QDateTime GameTimeStart;
    QDateTime GameTimeEnd;
    qint64 GameTime = 0; // milliseconds

private:
    std::array<std::unique_ptr<CellLabel>, kCells> m_cells;
    std::array<std::unique_ptr<Control>, 9> m_label1;
    QList<Control *> m_controls;
    int m_mousePointer = kPointerDefault;
    GameWindow *m_window = nullptr;
};
