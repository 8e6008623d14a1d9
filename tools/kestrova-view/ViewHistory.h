// The way back and forth through the pages a person jumped between in kestrova-view: a jump (a link, an
// outline entry, the page box, a search hit, the first or last page) remembers the page it left; going back
// returns there and can be undone by going forward, until the next jump.
#pragma once

#include <QList>

class TViewHistory {
public:
    // A jump away from page From.
    void Leave(int From);
    // The page to go back or forward to from Current, which the other direction then remembers; 0 where
    // there is none.
    int Back(int Current);
    int Forward(int Current);
    bool CanGoBack() const { return !FBack.isEmpty(); }
    bool CanGoForward() const { return !FForward.isEmpty(); }
    void Clear();

private:
    QList<int> FBack;
    QList<int> FForward;
};
