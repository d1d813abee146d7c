#include "WebAddresses.h"

#include "WebBase.h"

namespace {
QString g_base;

QString withSlash(QString address)
{
    if (!address.endsWith(QLatin1Char('/')))
        address += QLatin1Char('/');
    return address;
}
} // namespace

QString WebAddresses::homePage()
{
    return g_base.isEmpty() ? QStringLiteral(VEXA_WEB_BASE) : g_base;
}

QString WebAddresses::updatePage()
{
    return homePage() + QStringLiteral("update.htm");
}

QString WebAddresses::versionFile()
{
    return homePage() + QStringLiteral("updateinfo.htm");
}

void WebAddresses::setBase(const QString &address)
{
    g_base = withSlash(address);
}

void WebAddresses::resetBase()
{
    g_base.clear();
}
