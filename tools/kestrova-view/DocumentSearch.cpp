#include "DocumentSearch.h"

using namespace PDFium;

void TDocumentSearch::SetText(const QString& Text) {
    FText = Text;
    ShowPageMatches();
}

TTextRanges TDocumentSearch::PageMatches() {
    TTextRanges matches;
    if (FText.isEmpty() || !FView.Active())
        return matches;
    for (int index = FView.FindFirst(FText, {}, 0, true); index >= 0; index = FView.FindNext())
        matches.append(FView.FoundRange());
    return matches;
}

void TDocumentSearch::ShowPageMatches() {
    FView.SetSelection(PageMatches());
}

bool TDocumentSearch::Next() {
    const int current = FView.SelectionCurrent();
    if (current + 1 < FView.Selection().size()) {
        FView.SetSelection(FView.Selection(), current + 1);
        return true;
    }
    if (!MoveToPage(1))
        return false;
    FView.SetSelection(FView.Selection(), 0);
    return true;
}

bool TDocumentSearch::Previous() {
    const TTextRanges matches = FView.Selection();
    const int current = FView.SelectionCurrent();
    if (current > 0 || (current < 0 && !matches.isEmpty())) {
        FView.SetSelection(matches, current > 0 ? current - 1 : int(matches.size()) - 1);
        return true;
    }
    if (!MoveToPage(-1))
        return false;
    FView.SetSelection(FView.Selection(), int(FView.Selection().size()) - 1);
    return true;
}

// Looks for the next page in Direction that holds a match, round the end and back to this page, with the
// component's own current page, so that the view loads only the page it stops at. Shows that page.
bool TDocumentSearch::MoveToPage(int Direction) {
    TPdf* pdf = FView.Pdf();
    if (FText.isEmpty() || !pdf || !pdf->Active())
        return false;
    const int count = pdf->PageCount();
    for (int step = 1; step <= count; ++step) {
        const int page = ((FView.PageNumber() - 1 + Direction * step) % count + count) % count + 1;
        pdf->SetPageNumber(page);
        if (pdf->FindFirst(FText, {}, 0, true) < 0)
            continue;
        FView.SetPageNumber(page);
        ShowPageMatches();
        return !FView.Selection().isEmpty();
    }
    return false;
}
