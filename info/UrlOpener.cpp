#include "UrlOpener.h"

#include <QDesktopServices>

namespace {
UrlOpener::Handler g_handler;
}

bool UrlOpener::open(const QUrl &url)
{
    if (g_handler)
        return g_handler(url);
    return QDesktopServices::openUrl(url);
}

void UrlOpener::setHandler(Handler handler)
{
    g_handler = std::move(handler);
}
