#include "QtMessageBox.h"

#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace {
QPointer<QWidget> g_mainWindow;
}

void QtMessageBox::install()
{
    MessageBox::setHandler(&QtMessageBox::exec);
}

void QtMessageBox::setMainWindow(QWidget *window)
{
    g_mainWindow = window;
}

QWidget *QtMessageBox::parentFor(const MessageBox::Request &request)
{
    // Not the active window: right after another box closed there is none,
    // and a box without a parent is transient for no window, which a window
    // manager may stack below a main window kept on top.
    if (auto *owner = qobject_cast<QWidget *>(request.owner))
        return owner->window();
    return g_mainWindow;
}

MessageBox::Answer QtMessageBox::exec(const MessageBox::Request &request)
{
    QMessageBox box(parentFor(request));
    switch (request.icon) {
    case MessageBox::Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageBox::Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageBox::Icon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageBox::Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageBox::Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    box.setWindowTitle(request.title);
    box.setTextFormat(Qt::PlainText);
    box.setText(request.text);
    if (request.buttons == MessageBox::Buttons::YesNo) {
        QPushButton *yes = box.addButton(QStringLiteral("是(&Y)"), QMessageBox::YesRole);
        QPushButton *no = box.addButton(QStringLiteral("否(&N)"), QMessageBox::NoRole);
        box.setDefaultButton(request.defaultButton == MessageBox::Answer::Yes ? yes : no);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? MessageBox::Answer::Yes : MessageBox::Answer::No;
    }
    QPushButton *ok = box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return MessageBox::Answer::Ok;
}
