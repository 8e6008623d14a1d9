#include "DocumentSearch.h"

using namespace PDFium;

void TDocumentSearch::SetText(const QString& Text) {
    FText = Text;
    FMatches.clear();
    FHitPage = 0;
    FHitIndex = -1;
}

int TDocumentSearch::PageCount() const {
    return FPdf.Active() ? FPdf.PageCount() : 0;
}

TTextRanges TDocumentSearch::PageMatches(int PageNumber) {
    if (FText.isEmpty() || PageNumber < 1 || PageNumber > PageCount())
        return {};
    if (const auto known = FMatches.constFind(PageNumber); known != FMatches.cend())
        return *known;
    TTextRanges matches;
    FPdf.SetPageNumber(PageNumber);
    for (int index = FPdf.FindFirst(FText, {}, 0, true); index >= 0; index = FPdf.FindNext())
        matches.append({index, FPdf.FoundCount()});
    FMatches.insert(PageNumber, matches);
    return matches;
}

void TDocumentSearch::Paint(TPdfView& View) {
    const int page = View.PageNumber();
    View.SetSelection(PageMatches(page), page == FHitPage ? FHitIndex : -1);
}

TTextRange TDocumentSearch::Hit() const {
    return FMatches.value(FHitPage).value(FHitIndex);
}

void TDocumentSearch::StartOn(int PageNumber) {
    if (PageNumber == FHitPage)
        return;
    FHitPage = PageNumber;
    FHitIndex = -1;
}

bool TDocumentSearch::Next(int CurrentPage) {
    StartOn(CurrentPage);
    if (FHitIndex + 1 < PageMatches(FHitPage).size()) {
        ++FHitIndex;
        return true;
    }
    if (!MoveToPage(1))
        return false;
    FHitIndex = 0;
    return true;
}

bool TDocumentSearch::Previous(int CurrentPage) {
    StartOn(CurrentPage);
    const qsizetype count = PageMatches(FHitPage).size();
    if (FHitIndex > 0 || (FHitIndex < 0 && count > 0)) {
        FHitIndex = FHitIndex > 0 ? FHitIndex - 1 : int(count) - 1;
        return true;
    }
    if (!MoveToPage(-1))
        return false;
    FHitIndex = int(PageMatches(FHitPage).size()) - 1;
    return true;
}

// Makes the next page in Direction that holds a match, round the end and back to this page, the page of
// the hit.
bool TDocumentSearch::MoveToPage(int Direction) {
    const int count = PageCount();
    if (FText.isEmpty() || count == 0)
        return false;
    for (int step = 1; step <= count; ++step) {
        const int page = ((FHitPage - 1 + Direction * step) % count + count) % count + 1;
        if (!PageMatches(page).isEmpty()) {
            FHitPage = page;
            return true;
        }
    }
    return false;
}
