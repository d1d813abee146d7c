#pragma once

#include <QAccessibleWidget>

class CellLabelView;

// What assistive technology sees of one cell: a table cell named after its
// place, digit and kind, read-only when the digit was given. Left to
// itself Qt would report a plain widget as a filler, which screen readers
// pass over.
class CellAccessible : public QAccessibleWidget
{
public:
    explicit CellAccessible(CellLabelView *view);

    QAccessible::State state() const override;

    // Makes every cell created from now on use this interface. Qt picks
    // the interface when it is first asked for one, which a cell's own
    // constructor already does, so this must come first there.
    static void installFactory();

private:
    static QAccessibleInterface *create(const QString &className, QObject *object);

    CellLabelView *view() const;
};
