// Counts the matches of a search over the whole document while the window stays usable: a few pages at a
// time, in time slices, so that the engine is only ever called from the window's thread; it reports its
// progress after every slice and can be cancelled.
#pragma once

#include "DocumentSearch.h"
#include "TimeSlices.h"

#include <QObject>
#include <functional>

class TSearchCount : public QObject {
    Q_OBJECT

public:
    explicit TSearchCount(TDocumentSearch& Search, QObject* Parent = nullptr);

    // Counts the matches of the search's text anew, from the first page; with no text, stops.
    void Start();
    void Cancel();
    bool Running() const { return FSlices.Running(); }
    bool Finished() const { return FPageCount > 0 && FNextPage > FPageCount; }
    // The pages counted so far, of how many, and the matches on them.
    int PagesDone() const { return FNextPage - 1; }
    int PageCount() const { return FPageCount; }
    int Matches() const { return FMatches; }
    // The matches on the pages before a page, once those have been counted.
    int MatchesBefore(int PageNumber) const { return FBefore.value(PageNumber - 1, -1); }

    // Raised after every slice of pages and when the count ends.
    std::function<void()> OnProgress;
    // Raised for each page counted that holds matches.
    std::function<void(int PageNumber, const PDFium::TTextRanges& Matches)> OnPageCounted;

private:
    bool CountPage();

    TDocumentSearch& FSearch;
    TTimeSlices FSlices;
    int FPageCount = 0;
    int FNextPage = 1;
    int FMatches = 0;
    // The running count before each page counted.
    QList<int> FBefore;
};
