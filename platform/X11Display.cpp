#include "X11Display.h"

#include <QGuiApplication>
#include <xcb/xcb.h>

bool X11Display::reachable(const QByteArray &display, QString *why)
{
    if (display.isEmpty()) {
        *why = QStringLiteral("环境变量 DISPLAY 没有设置");
        return false;
    }
    xcb_connection_t *connection = xcb_connect(display.constData(), nullptr);
    const bool ok = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    if (!ok)
        *why = QStringLiteral("无法连接到 DISPLAY=%1 的 X 服务器").arg(QString::fromLocal8Bit(display));
    return ok;
}

void X11Display::flush()
{
    if (!qGuiApp)
        return;
    if (auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>(); x11 && x11->connection())
        xcb_flush(x11->connection());
}
