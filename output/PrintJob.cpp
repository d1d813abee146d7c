#include "PrintJob.h"

#include "PrintPage.h"

#include <QDir>
#include <QPageSize>
#include <QPrinterInfo>
#include <QTemporaryFile>
#include <QWidget>

namespace {

QString g_pdfOutput;

} // namespace

void PrintJob::setPdfOutput(const QString &fileName)
{
    g_pdfOutput = fileName;
}

bool PrintJob::print(QWidget &area, const std::optional<PrintQueue::Printer> &printer, QString *error)
{
    if (!g_pdfOutput.isEmpty())
        return PrintPage::render(area, g_pdfOutput, QPageSize(), error);
    if (!printer) {
        *error = QStringLiteral("没有找到默认打印机，请先安装打印机。");
        return false;
    }
    // Rendered to a file first and handed to the print service, as Qt's
    // own printing does; this way the service's refusal reaches the player.
    QTemporaryFile page(QDir::temp().filePath(QStringLiteral("vexa-print-XXXXXX.pdf")));
    if (!page.open()) {
        *error = QStringLiteral("打印作业出错，未能打印到：%1\r\n%2").arg(printer->name, page.errorString());
        return false;
    }
    page.close();
    if (!PrintPage::render(
            area, page.fileName(), QPrinterInfo::printerInfo(printer->name).defaultPageSize(), error))
        return false;
    QString reason;
    if (!PrintQueue::submitPdf(printer->name, page.fileName(), area.windowTitle(), &reason)) {
        *error = QStringLiteral("打印作业出错，未能打印到：%1\r\n%2").arg(printer->name, reason);
        return false;
    }
    return true;
}
