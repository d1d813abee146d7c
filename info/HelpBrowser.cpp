#include "HelpBrowser.h"

#include "RegularFile.h"

QVariant HelpBrowser::loadResource(int type, const QUrl &name)
{
    // Names within a page come resolved against the page's folder already;
    // the base is for a relative name that did not.
    const QUrl url = document()->baseUrl().resolved(name);
    if (!url.isLocalFile())
        return QTextBrowser::loadResource(type, name);
    const std::optional<QByteArray> bytes = RegularFile::read(url.toLocalFile(), kMaxFileBytes);
    return bytes ? QVariant(*bytes) : QVariant();
}
