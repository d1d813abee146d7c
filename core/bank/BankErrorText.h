#pragma once

#include <QString>

// Why the puzzle bank could not be read, in the player's language: the
// texts follow the game's Chinese prefixes in its message boxes, where the
// database's own English would mean nothing to the player.
class BankErrorText
{
public:
    // The library that reads the bank cannot be loaded.
    static QString noDatabaseLibrary();
    // The bank file is not where the connection string says.
    static QString missingFile(const QString &path);
    // A failure the database reported, by its result code.
    static QString fromSqlite(int resultCode);
    // A record of the bank whose cell does not hold a digit from 1 to 9.
    static QString damagedRecord(const QString &id, int cell);
    // A column the game needs is not in the bank.
    static QString missingField(const QString &name);
};
