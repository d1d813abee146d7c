#pragma once

#include <QString>

// The maker's web addresses, all below one base address that the build
// sets (VEXA_WEB_BASE), so that a packager points the update check, the
// about window's link and the update page at the real site in one place.
class WebAddresses
{
public:
    // The base address, ending in "/": Lumbrook Studio's page for the game.
    static QString homePage();
    // Where a newer version can be downloaded.
    static QString updatePage();
    // A short text file whose first line is the newest published version.
    static QString versionFile();

    // Puts another base in place of the built one (a test's local server);
    // a missing trailing "/" is added.
    static void setBase(const QString &address);
    static void resetBase();
};
