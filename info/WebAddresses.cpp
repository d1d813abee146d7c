#include "WebAddresses.h"

namespace {
const QString kSite = QStringLiteral("https://lumbrook.example/vexa/");
QString g_versionFile;
} // namespace

QString WebAddresses::homePage()
{
    return kSite;
}

QString WebAddresses::updatePage()
{
    return kSite + QStringLiteral("update.htm");
}

QString WebAddresses::versionFile()
{
    return g_versionFile.isEmpty() ? kSite + QStringLiteral("updateinfo.htm") : g_versionFile;
}

void WebAddresses::setVersionFile(const QString &address)
{
    g_versionFile = address;
}

void WebAddresses::resetVersionFile()
{
    g_versionFile.clear();
}
