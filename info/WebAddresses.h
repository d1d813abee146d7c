#pragma once

#include <QString>

// The maker's web addresses, kept in one place. The version file can be
// pointed elsewhere (a test's local server) without touching the others.
class WebAddresses
{
public:
    // Lumbrook Studio's page for the game.
    static QString homePage();
    // Where a newer version can be downloaded.
    static QString updatePage();
    // A short text file whose first line is the newest published version.
    static QString versionFile();

    static void setVersionFile(const QString &address);
    static void resetVersionFile();
};
