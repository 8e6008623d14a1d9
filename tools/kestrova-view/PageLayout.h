// Where kestrova-view places the pages of a document: one under the other in a column, each sized by the
// zoom, centred, with a gap around them; or a single page alone. Plain arithmetic on the pages' sizes in
// points, so that the scroll area only has to move to a slot.
#pragma once

#include "PageZoom.h"

#include <QList>
#include <QRect>
#include <QSizeF>

class TPageLayout {
public:
    // Pixels between two pages and around the column.
    static constexpr int Gap = 8;

    void SetPageSizes(const QList<QSizeF>& Sizes) { FPageSizes = Sizes; }
    int PageCount() const { return int(FPageSizes.size()); }
    QSizeF PageSize(int PageNumber) const { return FPageSizes.value(PageNumber - 1); }

    // Lays out every page, or only OnlyPage when it is not 0, for Zoom in a visible area of Area pixels that
    // has no room for a vertical scroll bar.
    void Arrange(PDFium::TRotation Rotation, TPageZoom Zoom, QSize Area, int OnlyPage = 0);
    // The column's size, the pages with their gaps.
    QSize Size() const { return FSize; }
    // The rectangle of a page in the column; empty for a page that is not laid out.
    QRect Slot(int PageNumber) const;
    // The first and last page laid out, 0 when there is none.
    int FirstPage() const;
    int LastPage() const;
    // The laid-out page whose slot, with the gap below it, holds the line Y; the nearest at either end.
    int PageAt(int Y) const;
    // The page that fills most of the lines from Top to Bottom, the earlier one on a tie.
    int MostShownPage(int Top, int Bottom) const;

private:
    QList<QSizeF> FPageSizes;
    QList<QRect> FSlots; // of the pages laid out, from FFirstPage on
    int FFirstPage = 0;
    QSize FSize;
};
