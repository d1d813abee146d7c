// Draws the black skin, the pen cursor and the pictures, and writes them
// under the given data folder; given a second folder, also the desktop
// icons into it. Needs a GUI platform for fonts; run it as
//   QT_QPA_PLATFORM=offscreen make_skin DATA_DIR [ICON_THEME_DIR]
#include "IconWriter.h"
#include "SkinWriter.h"

#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2 && args.size() != 3) {
        QTextStream(stderr) << "usage: make_skin DATA_DIR [ICON_THEME_DIR]\n";
        return 2;
    }
    SkinWriter writer(args.at(1));
    if (!writer.writeAll())
        return 1;
    if (args.size() == 3) {
        IconWriter icons(args.at(2));
        if (!icons.writeAll())
            return 1;
    }
    return 0;
}
