#include "PopupHarness.h"

#include <QPointer>
#include <QtTest>

namespace {

bool deleted(const QPointer<QWidget> &popup)
{
    return QTest::qWaitFor([&] { return popup.isNull(); });
}

} // namespace

QPoint PopupHarness::centredOn(const QRect &main, const QSize &size)
{
    return QPoint(qRound(main.left() + main.width() / 2.0 - size.width() / 2.0),
        qRound(main.top() + main.height() / 2.0 - size.height() / 2.0));
}

bool PopupHarness::closesOnDeactivation(QWidget *popup)
{
    const QPointer<QWidget> guard(popup);
    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(popup, &deactivate);
    return deleted(guard);
}

bool PopupHarness::closesOnEscape(QWidget *target, QWidget *popup)
{
    const QPointer<QWidget> guard(popup);
    QTest::keyClick(target, Qt::Key_Escape);
    return deleted(guard);
}

bool PopupHarness::closesWhenTheMainWindowIsActivated(const std::function<QWidget *(QWidget *main)> &open)
{
    QWidget main;
    main.setGeometry(100, 80, 600, 400);
    main.show();
    const QPointer<QWidget> popup = open(&main);
    if (!popup || !QTest::qWaitForWindowActive(popup))
        return false;
    main.activateWindow();
    return deleted(popup) && main.isVisible();
}
