#include "IconWriter.h"

#include "PicturePainter.h"

#include <QImage>

IconWriter::IconWriter(const QString &hicolorDir)
    : m_theme(hicolorDir)
    , m_out(stdout)
    , m_err(stderr)
{ }

bool IconWriter::writeAll()
{
    for (const int size : kSizes) {
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        if (!m_theme.mkpath(folder)) {
            m_err << "make_skin: cannot create " << m_theme.filePath(folder) << "\n";
            return false;
        }
        // Drawn at each size rather than scaled from one, so the cells stay
        // on whole pixels, as in the about box.
        const QImage icon = PicturePainter::logo(size).convertToFormat(QImage::Format_ARGB32);
        const QString path = m_theme.filePath(folder + QStringLiteral("/vexa-sudoku.png"));
        if (icon.size() != QSize(size, size) || !icon.save(path, "PNG")) {
            m_err << "make_skin: cannot write " << path << "\n";
            return false;
        }
        m_out << folder << "/vexa-sudoku.png: " << size << "x" << size << "\n";
    }
    return true;
}
