#pragma once

#include <QUrl>
#include <functional>

// Hands web addresses to the desktop's browser. Tests put a recorder in its
// place, so that no browser starts and the address can be read back.
class UrlOpener
{
public:
    using Handler = std::function<bool(const QUrl &)>;

    static bool open(const QUrl &url);
    // An empty handler goes back to the desktop's browser.
    static void setHandler(Handler handler);
};
