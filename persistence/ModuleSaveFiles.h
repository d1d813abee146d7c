#pragma once

#include <QString>

class GameState;

// Writes the game's files from the state. SaveGrade and SaveSetting show
// nothing: they report failure, and their caller tells the player. SaveGame
// is the player's own command and talks to the player: it asks before it
// replaces a saved game and says how the save went.
class ModuleSaveFiles
{
public:
    // The statistics file "grade" from strLastFinishedTime, strFastestTime,
    // strTotalTime, strFinishedCount and strGrade. On failure the previous
    // file stays as it was and the error's description is handed back.
    static bool SaveGrade(GameState &form, QString *error = nullptr);

    // The game on the board into the saved-game file "save", the time
    // taken from strLastFinishedTime. An existing saved game is replaced
    // only if the player answers Yes; a failed write leaves it whole. True
    // when the file was written.
    static bool SaveGame(GameState &form);
    // The Save button and the menu item: saves with the clock's time.
    static void cmdSave_Click(GameState &form);

    // The settings file "setting" from strShowNumberHint, strShowCrossHint,
    // strExitAutoSave, strPutOnFront, strPieceColor, strShowBorder and
    // strFontBold, in that order.
    static bool SaveSetting(GameState &form, QString *error = nullptr);
};
