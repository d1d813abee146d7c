#include "PrintPage.h"

#include <QPainter>
#include <QPrinter>
#include <QWidget>

bool PrintPage::render(QWidget &area, const QString &file, const QPageSize &pageSize, QString *error)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    if (pageSize.isValid())
        printer.setPageSize(pageSize);
    printer.setDocName(area.windowTitle());

    QPainter painter;
    if (!painter.begin(&printer)) {
        *error = QStringLiteral("无法开始打印作业：%1").arg(file);
        return false;
    }
    // The client area at its natural size (7095 x 6345 twips, 4.93 x 4.41
    // inches, one pixel being 1/96 inch), shrunk only where the printable
    // area is smaller, and centred in the printable area. Only the children
    // are drawn: the window's grey background would waste ink and hide
    // nothing that belongs to the puzzle.
    const QRect paper = printer.pageLayout().paintRectPixels(printer.resolution());
    const double natural = printer.resolution() / 96.0;
    const double scale
        = qMin(natural, qMin(paper.width() / double(area.width()), paper.height() / double(area.height())));
    painter.translate(
        (paper.width() - area.width() * scale) / 2.0, (paper.height() - area.height() * scale) / 2.0);
    painter.scale(scale, scale);
    area.render(&painter, QPoint(), QRegion(area.rect()), QWidget::DrawChildren);
    if (!painter.end() || printer.printerState() == QPrinter::Error) {
        *error = QStringLiteral("打印作业出错，未能打印到：%1").arg(file);
        return false;
    }
    return true;
}
