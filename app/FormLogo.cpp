#include "FormLogo.h"

#include "AppPath.h"
#include "CjkFont.h"
#include "FormMain.h"
#include "ModuleSystemVersion.h"
#include "PictureFile.h"
#include "SingleInstance.h"
#include "X11Display.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace {

FormLogo *g_splash = nullptr;

const QColor kCaptionColor(153, 0, 0);

QPixmap splashPicture()
{
    // Read by content: the file has no extension, and a broken or missing
    // one must not stop the game from starting.
    const QImage image = PictureFile::read(AppPath::file(QStringLiteral("\\pictures\\splash")));
    if (!image.isNull())
        return QPixmap::fromImage(image);
    QPixmap panel(FormLogo::kPictureWidth, FormLogo::kPictureHeight);
    panel.fill(QColor(24, 24, 26));
    return panel;
}

void paintCaption(QLabel *label)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, kCaptionColor);
    label->setPalette(p);
}

} // namespace

FormLogo::FormLogo(SingleInstance &instance, QWidget *parent)
    // A splash window: no frame, no taskbar entry, and the window manager
    // knows not to treat it as the program's main window. Top-most is
    // added by the load.
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
    , m_instance(instance)
{
    setObjectName(QStringLiteral("FormLogo"));
    g_splash = this;
    createControls();
    Timer1.setInterval(1);
    connect(&Timer1, &QTimer::timeout, this, &FormLogo::Timer1_Timer);
}

FormLogo::~FormLogo()
{
    if (g_splash == this)
        g_splash = nullptr;
}

void FormLogo::createControls()
{
    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Picture1->setGeometry(0, 0, kPictureWidth, kPictureHeight);
    Picture1->setPixmap(splashPicture());
    Picture1->installEventFilter(this);

    // The picture leaves its bottom right empty for these two. They let
    // clicks through, so that a click anywhere on the splash skips it.
    const QFont font = CjkFont::song(9);
    Label1 = new QLabel(QStringLiteral("Bug有限 乐趣无限"), Picture1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(180, 194, 168, 18);
    labelVer = new QLabel(Picture1);
    labelVer->setObjectName(QStringLiteral("labelVer"));
    labelVer->setGeometry(180, 214, 168, 16);
    for (QLabel *label : { Label1, labelVer }) {
        label->setFont(font);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
}

FormLogo *FormLogo::current()
{
    return g_splash;
}

bool FormLogo::Form_Load()
{
    if (!m_instance.acquire())
        return false;

    labelVer->setText(versionCaption());
    setWindowFlag(Qt::WindowStaysOnTopHint, true);

    // Not owned: the main window outlives the splash and is reached
    // through `formMain`.
    auto *main = new FormMain;
    // The hand-over runs one way: the splash goes once the main window is
    // active, and the main window knows nothing of it.
    connect(main, &FormMain::activated, this, [] { unloadSplash(); });
    main->Form_Initialize();
    QElapsedTimer loading;
    loading.start();
    main->Form_Load();
    m_formLoadNsecs = loading.nsecsElapsed();

    paintCaption(Label1);
    paintCaption(labelVer);
    setFixedSize(Picture1->size());
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move(s.x() + (s.width() - width()) / 2, s.y() + (s.height() - height()) / 2);
    }

    AlphaValue = 25;
    Timer1.setInterval(1);
    Timer1.start();

    const QString name = systemName();
    m_fading = name != QLatin1String("Windows 95") && name != QLatin1String("Windows 98")
        && name != QLatin1String("Windows Mellinnium");
    if (m_fading)
        setOpacityByte(0); // nothing shows until the first step
    else
        AlphaValue = 250;
    return true;
}

QString FormLogo::systemName() const
{
    return m_systemName ? *m_systemName : ModuleSystemVersion::GetSystemVersion().name;
}

QString FormLogo::versionCaption()
{
    return QStringLiteral("Ver %1.%2.%3")
        .arg(VEXA_VERSION_MAJOR)
        .arg(VEXA_VERSION_MINOR)
        .arg(VEXA_VERSION_PATCH);
}

qint16 FormLogo::nextAlpha(qint16 alpha)
{
    // The step is a fraction and rounds to the nearest even on a half.
    return qint16(std::nearbyint(double(alpha) + 2.25));
}

int FormLogo::intervalFor(qint16 alpha, int interval)
{
    // Each test stands on its own: the last one met wins. The fade slows
    // down as it brightens, then holds twice before the end.
    if (alpha >= 102.5)
        interval = 2;
    if (alpha >= 152.5)
        interval = 3;
    if (alpha >= 192.5)
        interval = 4;
    if (alpha >= 250.5)
        interval = 800;
    if (alpha >= 252.5)
        interval = 1000;
    return interval;
}

void FormLogo::Timer1_Timer()
{
    AlphaValue = nextAlpha(AlphaValue);
    const int interval = intervalFor(AlphaValue, Timer1.interval());
    if (interval != Timer1.interval())
        Timer1.setInterval(interval);

    if (m_fading) {
        setOpacityByte(std::clamp<int>(AlphaValue, 0, 255));
        if (AlphaValue >= 255) {
            Timer1.stop();
            showMainWindow(true);
        }
    } else if (AlphaValue >= 255) {
        showMainWindow(true);
        Timer1.stop();
    }
}

void FormLogo::Picture1_Click()
{
    hide();
    // A hidden splash has nothing left to fade; ticking on would only
    // pull the main window to the front again later.
    Timer1.stop();
    showMainWindow(false);
}

void FormLogo::unloadSplash()
{
    FormLogo *splash = g_splash;
    if (!splash)
        return;
    g_splash = nullptr;
    splash->Timer1.stop();
    splash->close();
    // Deleted from the event loop: the activation that unloads the splash
    // may arrive while one of the splash's own handlers is still running.
    splash->deleteLater();
}

void FormLogo::setOpacityByte(int value)
{
    m_opacityByte = value;
    setWindowOpacity(value / 255.0);
    // Each step must reach the compositor now, not when some later event
    // happens to send Qt's queue to the X server.
    X11Display::flush();
}

void FormLogo::showMainWindow(bool focus)
{
    if (!formMain)
        return;
    formMain->show();
    if (focus) {
        formMain->raise();
        formMain->activateWindow();
    }
}

bool FormLogo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Picture1) {
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            emit firstPainted();
        } else if (event->type() == QEvent::MouseButtonRelease) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::LeftButton && Picture1->rect().contains(mouse->position().toPoint())) {
                Picture1_Click();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}
