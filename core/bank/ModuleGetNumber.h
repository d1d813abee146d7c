#pragma once

#include "AdoConnection.h"
#include "AdoRecordset.h"

#include <QString>

class GameState;

// Owns the connection to the puzzle bank and the open result that holds the
// current puzzle, from one draw to the next draw, to Continue or to exit.
class ModuleGetNumber
{
public:
    explicit ModuleGetNumber(GameState &form);

    // The connection string handed to the bank layer, with the program
    // folder of this run.
    static QString connectionString();
    // The bank's password as the bank layer reads it out of that string.
    static QString bankPassword();

    // Draws puzzle 1..8 at random. On success rsProblem is open on the
    // result; on failure the player is told once and rsProblem is closed.
    void GetNumber();

    // Reopens the saved puzzle for Continue and moves to its record.
    // Throws AdoError; the caller reports it.
    void OpenSavedPuzzle(const QString &id);

    // Closes the result and then the connection, if the result is open.
    void CloseBank();

    AdoConnection cnProblem;
    AdoRecordset rsProblem;
    QString strProblemSql;

private:
    GameState &m_form;
};
