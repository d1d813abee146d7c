#pragma once

#include <QString>

class QPageSize;
class QWidget;

// The printed page: a window's client area drawn onto one page of a PDF
// file, at its natural size where the paper allows, centred.
class PrintPage
{
public:
    // Draws the children of `area` (not its background) onto one page of
    // `file`; a page size that is not valid leaves the printer's default.
    // The document takes the window's title. On failure `error` tells why.
    static bool render(QWidget &area, const QString &file, const QPageSize &pageSize, QString *error);
};
