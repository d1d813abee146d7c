// Draws the black skin, the pen cursor and the pictures, and writes them
// under the given data folder. Needs a GUI platform for fonts; run it as
//   QT_QPA_PLATFORM=offscreen make_skin DATA_DIR
#include "SkinWriter.h"

#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: make_skin DATA_DIR\n";
        return 2;
    }
    SkinWriter writer(args.at(1));
    return writer.writeAll() ? 0 : 1;
}
