#include "SkinButton.h"

#include "AppPath.h"
#include "Control.h"
#include "ControlBinder.h"
#include "MouseCode.h"
#include "PictureFile.h"
#include "Skin.h"
#include "SkinButtonAccessible.h"
#include "Twips.h"

#include <QHash>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

namespace {
// What a sighted player reads from each picture.
QString spokenName(const QString &base)
{
    static const QHash<QString, QString> names {
        { QStringLiteral("start"), QStringLiteral("开始") },
        { QStringLiteral("continue"), QStringLiteral("继续") },
        { QStringLiteral("save"), QStringLiteral("存盘") },
        { QStringLiteral("next"), QStringLiteral("下一题") },
        { QStringLiteral("finish"), QStringLiteral("完成") },
        { QStringLiteral("exit"), QStringLiteral("退出") },
        { QStringLiteral("titleleft"), QStringLiteral("菜单") },
        { QStringLiteral("title"), QStringLiteral("数独 VEXA SUDOKU I") },
        { QStringLiteral("close"), QStringLiteral("关闭") },
        { QStringLiteral("minimize"), QStringLiteral("最小化") },
        { QStringLiteral("putonfront"), QStringLiteral("置于前端") },
        { QStringLiteral("musicplay"), QStringLiteral("播放背景音乐") },
        { QStringLiteral("musicstop"), QStringLiteral("停止背景音乐") },
    };
    return names.value(base, base);
}
} // namespace

SkinButton::SkinButton(Control &control, const QString &baseName, Kind kind, QWidget *parent)
    : QLabel(parent)
    , m_control(control)
    , m_base(baseName)
    , m_kind(kind)
{
    SkinButtonAccessible::installFactory();
    setObjectName(control.objectName());
    setAccessibleName(spokenName(baseName));
    setMouseTracking(true);
    ControlBinder::bindWidget(control, this);
    connect(&control, &Control::pictureChanged, this, &SkinButton::show);
    if (!control.Picture().isEmpty())
        show(control.Picture());
}

void SkinButton::show(const QString &literal)
{
    const QImage image = PictureFile::read(AppPath::file(literal));
    if (image.isNull())
        return;
    setPixmap(QPixmap::fromImage(image));
    m_shown = literal;
}

void SkinButton::press()
{
    QTimer::singleShot(0, this, [this] {
        if (isEnabled())
            emit clicked();
    });
}

void SkinButton::setState(char digit)
{
    m_control.setPicture(Skin::literal(m_base + QLatin1Char(digit)));
}

void SkinButton::mousePressEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    const int button = mouseButtonCode(event->button());
    if (button == 1) {
        m_pressed = true;
        if (m_kind == Kind::CommandButton)
            setState('3');
    }
    emit mouseDown(button, pxToTwips(p.x()), pxToTwips(p.y()));
}

void SkinButton::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() != Qt::NoButton || !isEnabled() || m_kind == Kind::Picture)
        return;
    // A point on the right or bottom edge still counts as inside.
    const QPoint p = event->position().toPoint();
    const bool inside = p.x() >= 0 && p.y() >= 0 && p.x() <= width() && p.y() <= height();
    setState(inside ? '2' : '1');
}

void SkinButton::leaveEvent(QEvent *)
{
    // The pointer left without a move inside being reported last: show the
    // normal picture again, as the first move outside would.
    if (isEnabled() && m_kind != Kind::Picture && !m_pressed)
        setState('1');
}

void SkinButton::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    const int button = mouseButtonCode(event->button());
    const bool wasPressed = m_pressed && button == 1;
    // Command buttons restore the normal picture on a left release, before
    // their handlers run.
    if (m_kind == Kind::CommandButton && button == 1) {
        m_pressed = false;
        setState('1');
    }
    // The title-bar icons restore it on any button once their handler is
    // done: the menu button keeps its lit picture while its menu is open
    // (the pointer leaving for the menu must not reset it either, hence
    // still pressed during the handler).
    emit mouseUp(button, pxToTwips(p.x()), pxToTwips(p.y()));
    if (button == 1)
        m_pressed = false;
    if (m_kind == Kind::HoverIcon)
        setState('1');
    if (wasPressed && rect().contains(p))
        emit clicked();
}

void SkinButton::paintEvent(QPaintEvent *)
{
    const QPixmap pm = pixmap();
    if (pm.isNull())
        return;
    QPainter p(this);
    p.drawPixmap(0, 0, pm);
}
