#include "FormHelp.h"

#include "AppPath.h"
#include "HelpBrowser.h"
#include "MessageBox.h"
#include "RegularFile.h"

#include <QPointer>
#include <QVBoxLayout>

namespace {
QPointer<FormHelp> g_help;
}

FormHelp::FormHelp(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("formHelp"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Vexa Sudoku 帮助"));
    resize(720, 560);

    m_browser = new HelpBrowser(this);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    // Links are followed here, by followLink(), so that nothing but the
    // pages on the disk is ever loaded.
    m_browser->setOpenLinks(false);
    m_browser->setOpenExternalLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &FormHelp::followLink);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
}

FormHelp::~FormHelp()
{
    if (g_help == this)
        g_help = nullptr;
}

QString FormHelp::indexFile()
{
    return AppPath::file(QStringLiteral("\\help\\index.html"));
}

FormHelp *FormHelp::open(QWidget *mainWindow)
{
    const QString index = indexFile();
    if (!RegularFile::isRegular(index)) {
        MessageBox::critical(QStringLiteral("出错"), QStringLiteral("找不到帮助文件：") + index);
        return nullptr;
    }
    if (!g_help) {
        // A window of its own, with no parent: the dialogs that hold the
        // main window (the update check, the folder choice) leave the help
        // usable, and a reload of the main window leaves it open. The
        // program deletes it when it ends.
        g_help = new FormHelp;
        if (mainWindow) {
            const QRect main = mainWindow->frameGeometry();
            g_help->move(main.center() - g_help->rect().center());
        }
        g_help->showPage(QUrl::fromLocalFile(index));
    }
    g_help->show();
    g_help->setWindowState(g_help->windowState() & ~Qt::WindowMinimized);
    g_help->raise();
    g_help->activateWindow();
    return g_help;
}

FormHelp *FormHelp::instance()
{
    return g_help;
}

void FormHelp::showPage(const QUrl &url)
{
    m_browser->setSource(url);
}

void FormHelp::followLink(const QUrl &url)
{
    const QUrl target = m_browser->source().resolved(url);
    if (!target.isLocalFile())
        return; // the help is read offline; a web address is not opened
    // A link within the page only scrolls.
    if (target.adjusted(QUrl::RemoveFragment) == m_browser->source().adjusted(QUrl::RemoveFragment)) {
        if (target.hasFragment())
            m_browser->scrollToAnchor(target.fragment());
        return;
    }
    if (!RegularFile::isRegular(target.toLocalFile()))
        return;
    m_browser->setSource(target);
}
