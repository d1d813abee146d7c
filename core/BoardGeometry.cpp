#include "BoardGeometry.h"

#include "Twips.h"

#include <algorithm>

namespace {

template <std::size_t N> int indexOf(const std::array<int, N> &places, int place)
{
    const auto found = std::find(places.begin(), places.end(), place);
    return found == places.end() ? -1 : int(found - places.begin());
}

} // namespace

int BoardGeometry::column(int left)
{
    return indexOf(kColumnLeft, left);
}

int BoardGeometry::row(int top)
{
    return indexOf(kRowTop, top);
}

QRect BoardGeometry::cellRect(int index)
{
    return twipsRect(left(index), top(index), kCellSize, kCellSize);
}

QRect BoardGeometry::cellRect(int index, const QPoint &origin)
{
    // Moved whole, in pixels: each twips value rounds on its own, so the
    // same board at another place in twips could come out a pixel off.
    return cellRect(index).translated(origin - cellRect(0).topLeft());
}

QRect BoardGeometry::outline(const QPoint &origin)
{
    const QRect first = cellRect(0, origin);
    const QRect last = cellRect(80, origin);
    return QRect(first.topLeft() - QPoint(1, 1), last.bottomRight() + QPoint(1, 1));
}
