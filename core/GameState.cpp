#include "GameState.h"

#include "ModuleNewGame.h"

#include <climits>

GameState::GameState()
{
    for (int i = 0; i < kCells; ++i)
        m_cells[std::size_t(i)] = std::make_unique<CellLabel>(i);
    for (int k = 0; k < 9; ++k)
        m_label1[std::size_t(k)] = std::make_unique<Control>(QStringLiteral("Label1(%1)").arg(k));
    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setInterval(1000);
    // A coarse timer may fire a little early, and the clock shows whole
    // seconds cut, not rounded: an early tick would show one second less.
    Timer1.setTimerType(Qt::PreciseTimer);
    Timer2.setObjectName(QStringLiteral("Timer2"));
    Timer2.setInterval(100);
    m_controls = { &txtEnter, &labelTime, &Frame1, &Frame2, &optEasy, &optMedium, &optHard, &cmdStart,
        &cmdContinue, &cmdSave, &cmdNext, &cmdFinished, &cmdExit, &picTitle, &picTitleLeft, &picClose,
        &picMinimize, &picPutOnFront, &picMusicPlay, &picMusicStop, &Shape1, &Shape2, &Shape3, &menuMain,
        &menuGame_Start, &menuGame_Continue, &menuGame_Save, &menuGame_Clear, &menuGame_Reload,
        &menuGame_CopyToClipboard, &menuGame_SavePicture, &menuGame_Print, &menuDo, &menuDo_Next,
        &menuDo_Difficoulty, &menuDo_Difficoulty_Easy, &menuDo_Difficoulty_Medium, &menuDo_Difficoulty_Hard,
        &menuDo_Finished, &menuSetting, &menuSetting_ShowNumberHint, &menuSetting_ShowCrossHint,
        &menuSetting_PieceColor, &menuSetting_ShowBorder, &menuSetting_FontBold, &menuSetting_PlayMusic,
        &menuSetting_PlayMusic_osmira, &menuSetting_PlayMusic_HappyGM, &menuSetting_PlayMusic_Waltz,
        &menuSetting_PlayMusic_StartPlay, &menuSetting_PlayMusic_StopPlay, &menuSetting_ExitAutoSave,
        &menuSetting_PutOnFront, &menuGame_Grade, &menuAbout, &menuAbout_Help, &menuAbout_Copyright,
        &menuAbout_AboutMe, &menuAbout_UpdateInfo, &menuGame_SoftUpdata, &menuGame_Exit };
    for (auto &label : m_label1)
        m_controls.append(label.get());
    ModuleNewGame::attach(*this);
}

GameState::~GameState() = default;

void GameState::setMousePointer(int pointer)
{
    m_mousePointer = pointer;
    window().showMousePointer(pointer);
}

GameWindow &GameState::window() const
{
    static GameWindow none;
    return m_window ? *m_window : none;
}

bool GameState::colorValue(const QString &text, int *value)
{
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok);
    if (!ok || v < INT_MIN || v > INT_MAX)
        return false;
    *value = int(v);
    return true;
}

Control *GameState::findControl(const QString &name) const
{
    for (Control *control : m_controls)
        if (control->objectName() == name)
            return control;
    return nullptr;
}
