// Presentation mode of kestrova-view, as the desktop viewers have it: the window full screen with nothing
// but the pages, one at a time, each fitted whole on black. As in evince and okular, Right, Down, Page Down,
// Space, Return and a click move on; Left, Up, Page Up, Backspace, Shift+Space and a right click move back;
// Home and End go to either end, and Escape leaves it, with the window as it was.
#pragma once

#include "PageColumn.h"

#include <QList>
#include <QMainWindow>
#include <QPalette>
#include <QPointer>

class QAbstractScrollArea;

class TPresentation {
public:
    // Chrome: the parts of Window that the presentation hides, the menu bar, tool bar, status bar and side
    // pane.
    TPresentation(QMainWindow& Window, QAbstractScrollArea& Area, TPageColumn& Column,
                  QList<QWidget*> Chrome);

    bool Active() const { return FActive; }
    void Enter();
    void Leave();
    // Carries out a key of the presentation; false for a key it leaves to others.
    bool TakeKey(int Key, Qt::KeyboardModifiers Modifiers);
    // The next page (Direction 1) or the one before (-1), as a click or a right click shows it.
    void Step(int Direction);

    // Raised after the presentation has been entered or left.
    std::function<void()> OnChange;

private:
    QMainWindow& FWindow;
    QAbstractScrollArea& FArea;
    TPageColumn& FColumn;
    QList<QWidget*> FChrome;
    bool FActive = false;
    // What the presentation changes, to be put back.
    Qt::WindowStates FWindowState;
    QList<QPointer<QWidget>> FHidden;
    bool FContinuous = true;
    TPageZoom FZoom;
    QPalette FPalette;
    int FFrame = 0;
};
