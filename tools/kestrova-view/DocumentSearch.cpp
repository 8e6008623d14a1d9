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

void TDocumentSearch::SetHit(int PageNumber, int Index) {
    FHitPage = PageNumber;
    FHitIndex = Index >= 0 && Index < PageMatches(PageNumber).size() ? Index : -1;
}

void TDocumentSearch::StartOn(int PageNumber) {
    if (PageNumber == FHitPage)
        return;
    FHitPage = PageNumber;
    FHitIndex = -1;
}

TDocumentSearch::TSeek TDocumentSearch::Begin(int CurrentPage, int Direction) {
    StartOn(CurrentPage);
    FDirection = Direction;
    FSought = 0;
    const int count = int(PageMatches(FHitPage).size());
    if (Direction > 0 && FHitIndex + 1 < count) {
        ++FHitIndex;
        return TSeek::Found;
    }
    if (Direction < 0 && (FHitIndex > 0 || (FHitIndex < 0 && count > 0))) {
        FHitIndex = FHitIndex > 0 ? FHitIndex - 1 : count - 1;
        return TSeek::Found;
    }
    return FText.isEmpty() || PageCount() == 0 ? TSeek::NotFound : TSeek::Pending;
}

int TDocumentSearch::SeekPage() const {
    const int count = PageCount();
    return count > 0 ? ((FHitPage - 1 + FDirection * (FSought + 1)) % count + count) % count + 1 : 0;
}

// Reads the next page in the search's direction; the search ends back on the page it began on.
TDocumentSearch::TSeek TDocumentSearch::Step() {
    if (FText.isEmpty() || FSought >= PageCount())
        return TSeek::NotFound;
    const int page = SeekPage();
    ++FSought;
    const int count = int(PageMatches(page).size());
    if (count == 0)
        return FSought < PageCount() ? TSeek::Pending : TSeek::NotFound;
    FHitPage = page;
    FHitIndex = FDirection > 0 ? 0 : count - 1;
    return TSeek::Found;
}
