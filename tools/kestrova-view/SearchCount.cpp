#include "SearchCount.h"

#include "pdf/Exception.h"

#include <QElapsedTimer>

namespace {

// How long one batch may hold the window, in milliseconds.
constexpr int BatchTime = 15;

} // namespace

TSearchCount::TSearchCount(TDocumentSearch& Search, QObject* Parent) : QObject(Parent), FSearch(Search) {
    FTimer.setInterval(0);
    connect(&FTimer, &QTimer::timeout, this, [this] { CountBatch(); });
}

void TSearchCount::Start() {
    Cancel();
    FNextPage = 1;
    FMatches = 0;
    FBefore.clear();
    FPageCount = FSearch.Text().isEmpty() ? 0 : FSearch.PageCount();
    if (FPageCount > 0)
        FTimer.start();
}

void TSearchCount::Cancel() {
    FTimer.stop();
}

void TSearchCount::CountBatch() {
    QElapsedTimer elapsed;
    elapsed.start();
    try {
        while (FNextPage <= FPageCount && elapsed.elapsed() < BatchTime) {
            FBefore.append(FMatches);
            FMatches += int(FSearch.PageMatches(FNextPage).size());
            ++FNextPage;
        }
    } catch (const Exception& error) {
        // A page that cannot be read counts no match; the search itself reports it when it gets there.
        qWarning("Cannot count the matches of page %d: %s", FNextPage, error.what());
        ++FNextPage;
    }
    if (FNextPage > FPageCount)
        FTimer.stop();
    if (OnProgress)
        OnProgress();
}
