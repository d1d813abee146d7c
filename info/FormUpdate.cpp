#include "FormUpdate.h"

#include "AppPath.h"
#include "CjkFont.h"
#include "DLControl.h"
#include "MessageBox.h"
#include "OwnedWindow.h"
#include "Twips.h"
#include "UrlOpener.h"
#include "VersionCheck.h"
#include "WebAddresses.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {
QPointer<FormUpdate> g_update;
constexpr int kStateTop = 240;

QString failureText(qint32 code)
{
    switch (code) {
    case DLControl::NotDownloadable:
        return QStringLiteral("不可下载的文件！");
    case DLControl::Redirected:
        return QStringLiteral("重定向！");
    case DLControl::NoBytes:
        return QStringLiteral("没有字节返回！");
    case DLControl::SaveError:
        return QStringLiteral("文件保存错误！");
    case DLControl::UnknownError:
        return QStringLiteral("不明错误！");
    default:
        return QString();
    }
}
} // namespace

FormUpdate::FormUpdate(QWidget *mainWindow)
    : QDialog(nullptr,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
            | Qt::MSWindowsFixedSizeDialogHint)
    , m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("formUpdate"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Vexa Sudoku 版本验证"));
    setFixedSize(twipsToPx(kWidth), twipsToPx(kHeight));
    setFont(CjkFont::song(9));

    labelState = new QLabel(QStringLiteral("建立连接 请稍候"), this);
    labelState->setObjectName(QStringLiteral("labelState"));
    labelState->setTextFormat(Qt::PlainText);
    labelState->move(0, twipsToPx(kStateTop));

    DLControl1 = new DLControl(this);
    DLControl1->setObjectName(QStringLiteral("DLControl1"));

    progressBar = new QProgressBar(this);
    progressBar->setObjectName(QStringLiteral("progressBar"));
    progressBar->setGeometry(twipsRect(120, 600, 3015, 315));
    progressBar->setTextVisible(false);
    progressBar->setRange(0, 1);
    progressBar->setValue(0);

    cmdReStart = new QPushButton(QStringLiteral("重 试"), this);
    cmdReStart->setObjectName(QStringLiteral("cmdReStart"));
    cmdReStart->setGeometry(twipsRect(300, 1080, 1215, 435));
    cmdReStart->setDefault(true);

    cmdCancel = new QPushButton(QStringLiteral("取 消"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(twipsRect(1800, 1080, 1215, 435));
    cmdCancel->setAutoDefault(false);

    connect(cmdReStart, &QPushButton::clicked, this, &FormUpdate::cmdReStart_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &FormUpdate::cmdCancel_Click);
    connect(DLControl1, &DLControl::connecting, this, &FormUpdate::DLControl1_Connecting);
    connect(DLControl1, &DLControl::verifying, this, &FormUpdate::DLControl1_Verifying);
    connect(DLControl1, &DLControl::finished, this, &FormUpdate::DLControl1_Finished);
    connect(DLControl1, &DLControl::failed, this, &FormUpdate::DLControl1_Failed);
    connect(DLControl1, &DLControl::disconnected, this, &FormUpdate::DLControl1_Disconnected);
    connect(DLControl1, &DLControl::reconnecting, this, &FormUpdate::DLControl1_Reconnecting);
    connect(DLControl1, &DLControl::progress, this, &FormUpdate::DLControl1_Progress);
}

FormUpdate::~FormUpdate()
{
    releaseMainWindow();
    if (g_update == this)
        g_update = nullptr;
}

FormUpdate *FormUpdate::open(QWidget *mainWindow)
{
    if (g_update) {
        g_update->raise();
        g_update->activateWindow();
        return g_update;
    }
    g_update = new FormUpdate(mainWindow);
    g_update->Form_Load();
    g_update->show();
    g_update->raise();
    g_update->activateWindow();
    return g_update;
}

FormUpdate *FormUpdate::instance()
{
    return g_update;
}

void FormUpdate::Form_Load()
{
    if (m_mainWindow)
        setWindowIcon(m_mainWindow->windowIcon());
    // Changing the flags of a shown window hides it, so only when needed.
    if (!windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (m_mainWindow) {
        // Created now, so that the size includes the frame where the
        // window system has already told it.
        OwnedWindow::setOwner(this, m_mainWindow);
        const QRect main = m_mainWindow->frameGeometry();
        const QSize own = frameGeometry().size();
        move(qRound(main.left() + main.width() / 2.0 - own.width() / 2.0),
            qRound(main.top() + main.height() / 2.0 - own.height() / 2.0));
        m_mainWindow->setEnabled(false);
    }
    setState(labelState->text());
    m_address = WebAddresses::versionFile();
    cmdReStart_Click();
}

void FormUpdate::cmdReStart_Click()
{
    DLControl1->address = m_address;
    DLControl1->option = true;
    DLControl1->folder = AppPath::dataFolder();
    DLControl1->start();
}

void FormUpdate::cmdCancel_Click()
{
    DLControl1->cancel();
    unload();
}

void FormUpdate::reject()
{
    cmdCancel_Click();
}

void FormUpdate::DLControl1_Connecting(const QVariant &)
{
    setState(QStringLiteral("  连接中 请稍候..."));
    cmdReStart->setEnabled(false);
    // How much will come is not known yet.
    progressBar->setRange(0, 0);
}

void FormUpdate::DLControl1_Verifying()
{
    setState(QStringLiteral("  验证程序版本..."));
}

void FormUpdate::DLControl1_Failed(qint32 code, const QVariant &)
{
    setState(failureText(code));
    cmdReStart->setEnabled(true);
    progressBar->setRange(0, 1);
    progressBar->setValue(0);
}

void FormUpdate::DLControl1_Disconnected()
{
    setState(QStringLiteral("已经断开"));
    progressBar->setRange(0, 1);
    progressBar->setValue(0);
}

void FormUpdate::DLControl1_Reconnecting(const QVariant &)
{
    setState(QStringLiteral("重新连接"));
}

void FormUpdate::DLControl1_Progress(qint64 received, qint64 total)
{
    if (total <= 0 || total > DLControl::kMaxBytes) {
        progressBar->setRange(0, 0);
        return;
    }
    progressBar->setRange(0, int(total));
    progressBar->setValue(int(qMin(received, total)));
}

void FormUpdate::DLControl1_Finished(qint32 value)
{
    progressBar->setRange(0, 1);
    progressBar->setValue(value != 0 ? 1 : 0);
    if (value == 0) {
        setState(QStringLiteral("版本验证失败 请重试"));
        cmdReStart->setEnabled(true);
        return;
    }
    const auto published = VersionCheck::readFirstLine(DLControl::savedFile(AppPath::dataFolder()));
    if (!published) {
        setState(QStringLiteral("版本验证失败"));
        cmdReStart->setEnabled(true);
        return;
    }
    if (!VersionCheck::isNewer(*published, VersionCheck::localVersion())) {
        setState(QStringLiteral("未发现新版本"));
        cmdReStart->setEnabled(true);
        return;
    }
    setState(QStringLiteral("发现新版本"));
    hide();
    // The question stands on the main window: a hidden dialog gives the
    // window manager nothing to keep it above. The main window is the
    // player's again, though no input reaches it past the modal question.
    releaseMainWindow();
    const MessageBox::Answer answer = MessageBox::show({ MessageBox::Icon::None, QStringLiteral("是否更新"),
        QStringLiteral("发现新版本，是否进入下载页面？"), MessageBox::Buttons::YesNo,
        MessageBox::Answer::Yes });
    if (answer == MessageBox::Answer::Yes) {
        UrlOpener::open(QUrl(WebAddresses::homePage()));
    } else {
        cmdReStart->setEnabled(true);
    }
    unload();
}

void FormUpdate::closeEvent(QCloseEvent *event)
{
    // Closing by the window's frame unloads without cancelling: the fetch
    // ends with the dialog. QDialog would take it for the cancel button.
    releaseMainWindow();
    event->accept();
}

void FormUpdate::setState(const QString &text)
{
    labelState->setText(text);
    labelState->adjustSize();
    labelState->move((width() - labelState->width()) / 2, twipsToPx(kStateTop));
}

void FormUpdate::unload()
{
    close();
}

void FormUpdate::releaseMainWindow()
{
    if (m_released)
        return;
    m_released = true;
    if (m_mainWindow)
        m_mainWindow->setEnabled(true);
}
