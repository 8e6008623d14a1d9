#include "ViewHistory.h"

namespace {

// Moves from one stack to the other: the page on top of From, with Current remembered on To.
int Step(QList<int>& From, QList<int>& To, int Current) {
    if (From.isEmpty())
        return 0;
    To.append(Current);
    return From.takeLast();
}

} // namespace

void TViewHistory::Leave(int From) {
    if (FBack.isEmpty() || FBack.last() != From)
        FBack.append(From);
    FForward.clear();
}

int TViewHistory::Back(int Current) {
    return Step(FBack, FForward, Current);
}

int TViewHistory::Forward(int Current) {
    return Step(FForward, FBack, Current);
}

void TViewHistory::Clear() {
    FBack.clear();
    FForward.clear();
}
