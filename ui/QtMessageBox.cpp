#include "QtMessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

void QtMessageBox::install()
{
    MessageBox::setHandler(&QtMessageBox::exec);
}

MessageBox::Answer QtMessageBox::exec(const MessageBox::Request &request)
{
    QMessageBox box(QApplication::activeWindow());
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
