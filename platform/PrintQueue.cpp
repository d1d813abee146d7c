#include "PrintQueue.h"

#include "RuntimeLibrary.h"

#include <QFile>
#include <cups/cups.h>
#include <mutex>

namespace {

// libcups, loaded when printing is first asked for rather than at start: it
// brings TLS, Kerberos and service discovery with it, a few megabytes that a
// game nobody prints from should not carry.
struct Cups
{
    decltype(&cupsGetDests2) getDests2 = nullptr;
    decltype(&cupsGetOption) getOption = nullptr;
    decltype(&cupsFreeDests) freeDests = nullptr;
    decltype(&cupsPrintFile2) printFile2 = nullptr;
    decltype(&cupsLastErrorString) lastErrorString = nullptr;
    QString error;
};

const Cups &cups()
{
    static Cups api;
    static std::once_flag loaded;
    std::call_once(loaded, [] {
        static RuntimeLibrary library(QStringLiteral("cups"), 2);
        if (library.load()
            && library.resolve({ { api.getDests2, "cupsGetDests2" }, { api.getOption, "cupsGetOption" },
                { api.freeDests, "cupsFreeDests" }, { api.printFile2, "cupsPrintFile2" },
                { api.lastErrorString, "cupsLastErrorString" } }))
            return;
        api.error = library.errorString();
    });
    return api;
}

} // namespace

QList<PrintQueue::Printer> PrintQueue::printers()
{
    const Cups &cups = ::cups();
    // No print service on this system: no printer.
    if (!cups.getDests2)
        return {};
    cups_dest_t *dests = nullptr;
    const int count = cups.getDests2(CUPS_HTTP_DEFAULT, &dests);
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
            = QString::fromUtf8(cups.getOption("printer-make-and-model", dest.num_options, dest.options));
        printer.port = QString::fromUtf8(cups.getOption("device-uri", dest.num_options, dest.options));
        printer.isDefault = dest.is_default != 0;
        list << printer;
    }
    cups.freeDests(count, dests);
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
    const Cups &cups = ::cups();
    if (!cups.printFile2) {
        *reason = cups.error;
        return false;
    }
    // The service recognises the document's type by its content.
    const int job = cups.printFile2(CUPS_HTTP_DEFAULT, printer.toUtf8().constData(),
        QFile::encodeName(file).constData(), title.toUtf8().constData(), 0, nullptr);
    if (job > 0)
        return true;
    *reason = QString::fromUtf8(cups.lastErrorString());
    return false;
}
