#pragma once

#include "PrintQueue.h"

#include <QString>
#include <optional>

class QWidget;

// One press of Print: the page rendered into a PDF file and handed to the
// print service, whose refusal reaches the player, as Qt's own printing
// would not let it.
class PrintJob
{
public:
    // Prints `area` (PrintPage) on `printer`, the job named after the
    // window. On failure `error` holds what the player is told.
    static bool print(QWidget &area, const std::optional<PrintQueue::Printer> &printer, QString *error);

    // Prints into this PDF file instead of on a printer; an empty name goes
    // back to the printer. Lets tests print without a printer.
    static void setPdfOutput(const QString &fileName);
};
