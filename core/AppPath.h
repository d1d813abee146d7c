#pragma once

#include <QString>

// The program folder: where the executable lies and where every file the
// game reads or writes is kept. Tests point it at a temporary copy.
class AppPath
{
public:
    // The folder, without a trailing separator.
    static QString folder();
    static void setFolder(const QString &folder);
    static void reset();

    // Joins the folder with a literal written the way the game names its
    // files ("\\bkmusic\\D_du.wav", "/save"), turning backslashes into the
    // platform's separator.
    static QString file(const QString &literal);

    // Backslashes of a Windows-style path turned into forward slashes.
    static QString toNative(const QString &path);
};
