#include "PlatformChoice.h"

#include <QString>
#include <QtGlobal>
#include <algorithm>
#include <cstring>

namespace {

bool isXcb(const QByteArray &platform)
{
    return platform == "xcb" || platform.startsWith("xcb:");
}

} // namespace

PlatformChoice::PlatformChoice(int argc, char **argv)
{
    QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            chosen = argv[i + 1];
    }
    m_argv.assign(argv, argv + argc);
    if (chosen.isEmpty()) {
        chosen = QByteArrayLiteral("xcb");
        m_own = { QByteArrayLiteral("-platform"), chosen };
        // After the program's name, where Qt looks for its own options.
        const auto at = m_argv.begin() + std::min<std::ptrdiff_t>(1, std::ssize(m_argv));
        m_argv.insert(at, { m_own[0].data(), m_own[1].data() });
    }
    m_argc = int(m_argv.size());
    // QApplication expects the list to end in a null, as main's does.
    m_argv.push_back(nullptr);
    m_x11 = isXcb(chosen);
}

QByteArray PlatformChoice::noXServerMessage(const QString &why)
{
    return QStringLiteral("vexa-sudoku：找不到可用的 X 服务器（%1）。本游戏在 X11 上运行，"
                          "在 Wayland 桌面上需要 XWayland；要用别的显示平台，请设置 QT_QPA_PLATFORM。\n"
                          "vexa-sudoku: no X server to run on. The game runs on X11 (XWayland on a "
                          "Wayland desktop); set QT_QPA_PLATFORM to choose another platform.\n")
        .arg(why)
        .toLocal8Bit();
}
