// Counts the matches of a search over the whole document while the window stays usable: a few pages at a
// time on a timer, so that the engine is only ever called from the window's thread; it reports its progress
// after every batch and can be cancelled.
#pragma once

#include "DocumentSearch.h"

#include <QObject>
#include <QTimer>
#include <functional>

class TSearchCount : public QObject {
    Q_OBJECT

public:
    explicit TSearchCount(TDocumentSearch& Search, QObject* Parent = nullptr);

    // Counts the matches of the search's text anew, from the first page; with no text, stops.
    void Start();
    void Cancel();
    bool Running() const { return FTimer.isActive(); }
    bool Finished() const { return FPageCount > 0 && FNextPage > FPageCount; }
    // The pages counted so far, of how many, and the matches on them.
    int PagesDone() const { return FNextPage - 1; }
    int PageCount() const { return FPageCount; }
    int Matches() const { return FMatches; }
    // The matches on the pages before a page, once those have been counted.
    int MatchesBefore(int PageNumber) const { return FBefore.value(PageNumber - 1, -1); }

    // Raised after every batch of pages and when the count ends.
    std::function<void()> OnProgress;

private:
    void CountBatch();

    TDocumentSearch& FSearch;
    QTimer FTimer;
    int FPageCount = 0;
    int FNextPage = 1;
    int FMatches = 0;
    // The running count before each page counted.
    QList<int> FBefore;
};
