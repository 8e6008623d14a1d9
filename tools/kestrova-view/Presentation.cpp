#include "Presentation.h"

#include <QAbstractScrollArea>

TPresentation::TPresentation(QMainWindow& Window, QAbstractScrollArea& Area, TPageColumn& Column,
                             QList<QWidget*> Chrome)
    : FWindow(Window), FArea(Area), FColumn(Column), FChrome(std::move(Chrome)) {}

void TPresentation::Enter() {
    if (FActive || FColumn.CurrentPage() == 0)
        return;
    FActive = true;
    FWindowState = FWindow.windowState();
    FHidden.clear();
    for (QWidget* widget : FChrome)
        if (widget->isVisible()) {
            FHidden.append(widget);
            widget->hide();
        }
    FContinuous = FColumn.Continuous();
    FZoom = FColumn.Zoom();
    FPalette = FArea.viewport()->palette();
    FFrame = FArea.frameShape();
    QPalette black = FPalette;
    black.setColor(QPalette::Dark, Qt::black);
    FArea.viewport()->setPalette(black);
    FArea.setFrameShape(QFrame::NoFrame);
    FArea.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FArea.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FWindow.setWindowState(FWindowState | Qt::WindowFullScreen);
    FColumn.SetContinuous(false);
    FColumn.SetZoom({TZoomMode::FitPage});
    if (OnChange)
        OnChange();
}

void TPresentation::Leave() {
    if (!FActive)
        return;
    FActive = false;
    FWindow.setWindowState(FWindowState);
    for (QWidget* widget : FHidden)
        if (widget)
            widget->show();
    FArea.viewport()->setPalette(FPalette);
    FArea.setFrameShape(QFrame::Shape(FFrame));
    FArea.setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    FArea.setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    const int page = FColumn.CurrentPage();
    FColumn.SetContinuous(FContinuous);
    FColumn.SetZoom(FZoom);
    FColumn.ShowPage(page);
    if (OnChange)
        OnChange();
}

bool TPresentation::TakeKey(int Key, Qt::KeyboardModifiers Modifiers) {
    if (!FActive)
        return false;
    switch (Key) {
    case Qt::Key_Space:
        Step(Modifiers & Qt::ShiftModifier ? -1 : 1);
        return true;
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_PageDown:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Step(1);
        return true;
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_PageUp:
    case Qt::Key_Backspace:
        Step(-1);
        return true;
    case Qt::Key_Home:
        FColumn.ShowPage(1);
        return true;
    case Qt::Key_End:
        FColumn.ShowPage(FColumn.PageCount());
        return true;
    case Qt::Key_Escape:
        Leave();
        return true;
    default:
        return false;
    }
}

void TPresentation::Step(int Direction) {
    if (FActive)
        FColumn.ShowPage(FColumn.CurrentPage() + Direction);
}
