#include "SearchCount.h"

#include "pdf/Exception.h"

using namespace PDFium;

TSearchCount::TSearchCount(TDocumentSearch& Search, QObject* Parent) : QObject(Parent), FSearch(Search) {
    FSlices.OnSlice = [this] {
        if (OnProgress)
            OnProgress();
    };
}

void TSearchCount::Start() {
    Cancel();
    FNextPage = 1;
    FMatches = 0;
    FBefore.clear();
    FPageCount = FSearch.Text().isEmpty() ? 0 : FSearch.PageCount();
    if (FPageCount > 0)
        FSlices.Start([this] { return CountPage(); });
}

void TSearchCount::Cancel() {
    FSlices.Stop();
}

// Counts the next page; false once the last has been counted.
bool TSearchCount::CountPage() {
    const int page = FNextPage++;
    FBefore.append(FMatches);
    try {
        const TTextRanges matches = FSearch.PageMatches(page);
        FMatches += int(matches.size());
        if (!matches.isEmpty() && OnPageCounted)
            OnPageCounted(page, matches);
    } catch (const Exception& error) {
        // A page that cannot be read counts no match; the search itself reports it when it gets there.
        qWarning("Cannot count the matches of page %d: %s", page, error.what());
    }
    return FNextPage <= FPageCount;
}
