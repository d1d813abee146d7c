#pragma once

#include <QString>

class GameState;

// Writes the game's files from the state. Nothing here shows a message:
// each function reports failure, and its caller tells the player.
class ModuleSaveFiles
{
public:
    // The statistics file "grade" from strLastFinishedTime, strFastestTime,
    // strTotalTime, strFinishedCount and strGrade. On failure the previous
    // file stays as it was and the error's description is handed back.
    static bool SaveGrade(GameState &form, QString *error = nullptr);
};
