#include "PageLayout.h"

#include <algorithm>

void TPageLayout::Arrange(PDFium::TRotation Rotation, TPageZoom Zoom, QSize Area, int OnlyPage) {
    FSlots.clear();
    FFirstPage = OnlyPage > 0 ? OnlyPage : 1;
    const int last = OnlyPage > 0 ? std::min(OnlyPage, PageCount()) : PageCount();
    const QSize room = Area - QSize(2 * Gap, 2 * Gap);
    QList<QSize> sizes;
    int width = 0;
    for (int page = FFirstPage; page <= last; ++page) {
        sizes.append(ViewSize(PageSize(page), Rotation, Zoom, room));
        width = std::max(width, sizes.last().width());
    }
    int top = Gap;
    for (const QSize& size : sizes) {
        FSlots.append(QRect(QPoint(Gap + (width - size.width()) / 2, top), size));
        top += size.height() + Gap;
    }
    FSize = FSlots.isEmpty() ? QSize() : QSize(width + 2 * Gap, top);
}

QRect TPageLayout::Slot(int PageNumber) const {
    return FSlots.value(PageNumber - FFirstPage);
}

int TPageLayout::FirstPage() const {
    return FSlots.isEmpty() ? 0 : FFirstPage;
}

int TPageLayout::LastPage() const {
    return FSlots.isEmpty() ? 0 : FFirstPage + int(FSlots.size()) - 1;
}

int TPageLayout::PageAt(int Y) const {
    if (FSlots.isEmpty())
        return 0;
    // The first slot whose gap below ends below Y.
    const auto slot = std::upper_bound(FSlots.begin(), FSlots.end(), Y,
                                       [](int y, const QRect& r) { return y < r.bottom() + 1 + Gap; });
    return FFirstPage + int(std::min(slot - FSlots.begin(), FSlots.size() - 1));
}

int TPageLayout::MostShownPage(int Top, int Bottom) const {
    int best = PageAt(Top);
    int shown = -1;
    for (int page = best; page >= 1 && page <= LastPage() && Slot(page).top() <= Bottom; ++page) {
        const QRect slot = Slot(page);
        const int lines = std::min(Bottom, slot.bottom()) - std::max(Top, slot.top());
        if (lines > shown) {
            shown = lines;
            best = page;
        }
    }
    return best;
}
