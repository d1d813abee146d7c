#pragma once

#include <QList>
#include <QString>
#include <optional>

// The printers of the system's print service (CUPS) and the handing over of
// a finished document to one of them. Qt's own printing sends the document
// the same way but drops the service's answer, so a refused job would go
// unreported.
class PrintQueue
{
public:
    struct Printer
    {
        QString name;
        // Make and model, as the driver names them.
        QString driver;
        // Where the printer is reached (its device address).
        QString port;
        bool isDefault = false;
    };

    // The printers in the order the service lists them.
    static QList<Printer> printers();

    // The printer that prints when the player does not choose: the default,
    // else the only or the first listed one; none when there is no printer.
    static std::optional<Printer> choose(const QList<Printer> &printers);

    // Queues the PDF file `file` on `printer` as a job named `title`. False
    // when the service refuses it, with the service's reason in *reason.
    static bool submitPdf(const QString &printer, const QString &file, const QString &title, QString *reason);
};
