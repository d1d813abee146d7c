#include "FormMain.h"
#include "QtMessageBox.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vexa Sudoku"));
    QtMessageBox::install();
    FormMain window;
    window.setWindowTitle(QStringLiteral("数独 VEXA SUDOKU I"));
    window.show();
    return app.exec();
}
