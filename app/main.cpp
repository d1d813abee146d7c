#include "FormMain.h"
#include "QtMessageBox.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vexa Sudoku"));
    QtMessageBox::install();
    FormMain window;
    window.Form_Load();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        window.move(s.x() + (s.width() - window.width()) / 2, s.y() + (s.height() - window.height()) / 2);
    }
    window.show();
    return app.exec();
}
