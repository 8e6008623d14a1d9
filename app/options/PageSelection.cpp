#include "app/options/PageSelection.h"

#include "app/printing/EPrinter.h"

#include <QStringList>

#include <algorithm>

QList<int> PagesToPrint(const QList<std::pair<int, int>>& PageRanges, int PageCount) {
    QList<int> pages;
    if (PageRanges.isEmpty()) {
        for (int page = 1; page <= PageCount; ++page)
            pages.append(page);
        return pages;
    }
    QStringList named;
    for (const auto& [first, last] : PageRanges) {
        named.append(first == last ? QString::number(first) : QStringLiteral("%1-%2").arg(first).arg(last));
        for (int page = first; page <= std::min(last, PageCount); ++page)
            pages.append(page);
    }
    if (pages.isEmpty() && PageCount > 0)
        throw EPrinter(QStringLiteral("The page ranges %1 name no page of the document, which has %2 pages")
                           .arg(named.join(u','))
                           .arg(PageCount));
    return pages;
}

qsizetype SidesPerCopy(const QList<int>& Pages, bool BlankBack) {
    return Pages.size() + (BlankBack ? 1 : 0);
}

int SideOfCopy(const QList<int>& Pages, bool BlankBack, bool Reverse, qsizetype Index) {
    const qsizetype side = Reverse ? SidesPerCopy(Pages, BlankBack) - 1 - Index : Index;
    return side < Pages.size() ? Pages[side] : 0;
}
