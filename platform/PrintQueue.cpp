#include "PrintQueue.h"

#include <QFile>
#include <cups/cups.h>

QList<PrintQueue::Printer> PrintQueue::printers()
{
    cups_dest_t *dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    QList<Printer> list;
    bool instanceIsDefault = false;
    QString defaultOfInstance;
    for (int i = 0; i < count; ++i) {
        const cups_dest_t &dest = dests[i];
        // An instance is a printer with other options; the game prints with
        // the printer's own, so it counts as its printer.
        if (dest.instance) {
            if (dest.is_default) {
                instanceIsDefault = true;
                defaultOfInstance = QString::fromUtf8(dest.name);
            }
            continue;
        }
        Printer printer;
        printer.name = QString::fromUtf8(dest.name);
        printer.driver
            = QString::fromUtf8(cupsGetOption("printer-make-and-model", dest.num_options, dest.options));
        printer.port = QString::fromUtf8(cupsGetOption("device-uri", dest.num_options, dest.options));
        printer.isDefault = dest.is_default != 0;
        list << printer;
    }
    cupsFreeDests(count, dests);
    if (instanceIsDefault) {
        for (Printer &printer : list)
            printer.isDefault = printer.name == defaultOfInstance;
    }
    return list;
}

std::optional<PrintQueue::Printer> PrintQueue::choose(const QList<Printer> &printers)
{
    if (printers.isEmpty())
        return std::nullopt;
    for (const Printer &printer : printers) {
        if (printer.isDefault)
            return printer;
    }
    return printers.first();
}

bool PrintQueue::submitPdf(const QString &printer, const QString &file, const QString &title, QString *reason)
{
    // The service recognises the document's type by its content.
    const int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, printer.toUtf8().constData(),
        QFile::encodeName(file).constData(), title.toUtf8().constData(), 0, nullptr);
    if (job > 0)
        return true;
    *reason = QString::fromUtf8(cupsLastErrorString());
    return false;
}
