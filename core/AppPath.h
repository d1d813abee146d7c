#pragma once

#include <QString>

// The program folder: where the executable lies, beside the puzzle bank,
// pictures, sounds and help it reads. Tests point it at a temporary copy.
//
// The files the game writes (settings, statistics, the saved game, the
// fetched version file) go into the data folder: the program folder too
// while it can take files, so a copied portable folder keeps everything
// together, and the user's own data folder when it cannot, as after a
// system-wide install.
class AppPath
{
public:
    // The folder, without a trailing separator.
    static QString folder();
    static void setFolder(const QString &folder);
    // Back to the executable's folder and the user's real data folder.
    static void reset();

    // Joins the folder with a literal written the way the game names its
    // files ("\\bkmusic\\D_du.wav", "/save"), turning backslashes into the
    // platform's separator.
    static QString file(const QString &literal);

    // The folder for the files the game writes, without a trailing
    // separator. Whether the program folder takes files is found out once,
    // by writing one there; a fallback folder that is missing is made.
    static QString dataFolder();
    // dataFolder() joined with a literal, as file() does.
    static QString dataFile(const QString &literal);
    // Where a file the game writes is read from: dataFile(), unless the
    // data folder is the user's and lacks a file that the program folder
    // holds (a portable copy gone read-only): then the program folder's,
    // until the first write leaves the player's own copy in the data folder.
    static QString dataFileToRead(const QString &literal);
    // Where the files go when the program folder takes none: the user's
    // generic data location plus "/vexa-sudoku", unless a test set
    // another folder with setUserDataFolder().
    static QString userDataFolder();
    static void setUserDataFolder(const QString &folder);
    // Where the game keeps what it can make again (its rendered tunes):
    // the desktop's cache location plus "/vexa-sudoku", which a read-only
    // or system-wide install can write too, unless a test set another.
    // Not made until it is needed.
    static QString cacheFolder();
    static void setCacheFolder(const QString &folder);

    // Backslashes of a Windows-style path turned into forward slashes.
    static QString toNative(const QString &path);

private:
    static QString join(const QString &folder, const QString &literal);
};
