#include "PageColumn.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

using namespace PDFium;

namespace {

// Views kept beyond those in sight, with their rendered pages, for the pages just scrolled past.
constexpr int SpareViews = 3;

// Pixels that one step of a scroll bar's arrow, or of the arrow keys, moves.
constexpr int ScrollStep = 20;

} // namespace

TPageColumn::TPageColumn(TPdf& Pdf, QAbstractScrollArea& Area)
    : QWidget(Area.viewport()), FPdf(Pdf), FArea(Area) {
    setObjectName(QStringLiteral("pcPages"));
    FArea.installEventFilter(this);
    FArea.viewport()->installEventFilter(this);
    for (QScrollBar* bar : {FArea.horizontalScrollBar(), FArea.verticalScrollBar()}) {
        bar->setSingleStep(ScrollStep);
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            if (FScrolling)
                return;
            Reported([this] { PlaceViews(); });
            FollowScroll();
        });
    }
}

void TPageColumn::Reload() {
    QList<QSizeF> sizes;
    if (FPdf.Active())
        for (int page = 1; page <= FPdf.PageCount(); ++page)
            sizes.append(FPdf.PageSize(page).expandedTo({0, 0}));
    FLayout.SetPageSizes(sizes);
    FCurrent = sizes.isEmpty() ? 0 : 1;
    Layout();
    ScrollTo(0, 0);
    if (OnChange)
        OnChange();
}

void TPageColumn::SetContinuous(bool Value) {
    if (Value == FContinuous)
        return;
    FContinuous = Value;
    Layout();
    if (FCurrent > 0)
        ShowPage(FCurrent);
}

void TPageColumn::SetZoom(TPageZoom Value, QPoint Anchor) {
    FZoom = Value;
    Arrange(Anchor.isNull() ? FArea.viewport()->rect().center() : Anchor);
}

void TPageColumn::SetRotation(TRotation Value) {
    FRotation = Value;
    Arrange(FArea.viewport()->rect().center());
}

void TPageColumn::Layout() {
    // Fitted pages leave room for the vertical scroll bar that the column, or a page's height, brings.
    QSize area = FArea.maximumViewportSize();
    if (FContinuous || FZoom.Mode == TZoomMode::FitWidth)
        area.rwidth() -= FArea.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    FLayout.Arrange(FRotation, FZoom, area, FContinuous ? 0 : FCurrent);
    SetScrollRanges();
}

void TPageColumn::SetScrollRanges() {
    const QSize column = FLayout.Size();
    const QSize viewport = FArea.viewport()->size();
    QScrollBar* horizontal = FArea.horizontalScrollBar();
    horizontal->setPageStep(viewport.width());
    horizontal->setRange(0, std::max(0, column.width() - viewport.width()));
    QScrollBar* vertical = FArea.verticalScrollBar();
    vertical->setPageStep(viewport.height());
    vertical->setRange(0, std::max(0, column.height() - viewport.height()));
}

QPoint TPageColumn::Origin() const {
    const QSize column = FLayout.Size();
    const QSize viewport = FArea.viewport()->size();
    return {std::max(0, (viewport.width() - column.width()) / 2) - FArea.horizontalScrollBar()->value(),
            std::max(0, (viewport.height() - column.height()) / 2) - FArea.verticalScrollBar()->value()};
}

// Lays the pages out anew and scrolls so that the point of the page at Anchor, in viewport pixels, stays
// there.
void TPageColumn::Arrange(QPoint Anchor) {
    if (FCurrent == 0)
        return Layout();
    const QPoint point = VisibleRect().topLeft() + Anchor;
    const int page = FContinuous ? FLayout.PageAt(point.y()) : FCurrent;
    const QRect before = FLayout.Slot(page);
    const double x = double(point.x() - before.left()) / before.width();
    const double y = double(point.y() - before.top()) / before.height();
    Layout();
    const QRect after = FLayout.Slot(page);
    ScrollTo(after.left() + qRound(x * after.width()) - Anchor.x(),
             after.top() + qRound(y * after.height()) - Anchor.y());
    if (OnChange)
        OnChange();
}

void TPageColumn::ShowPage(int PageNumber) {
    if (FLayout.PageCount() == 0)
        return;
    FCurrent = std::clamp(PageNumber, 1, FLayout.PageCount());
    if (!FContinuous)
        Layout();
    ScrollTo(FArea.horizontalScrollBar()->value(), FLayout.Slot(FCurrent).top() - TPageLayout::Gap);
    if (OnChange)
        OnChange();
}

void TPageColumn::ShowArea(int PageNumber, const QRect& Area) {
    if (PageNumber != FCurrent && !FContinuous)
        ShowPage(PageNumber);
    FCurrent = PageNumber;
    // The area with a margin, moved into sight by the least scrolling, its top-left first where it is larger.
    const QRect target = Area.translated(FLayout.Slot(PageNumber).topLeft())
                             .adjusted(-2 * TPageLayout::Gap, -2 * TPageLayout::Gap, 2 * TPageLayout::Gap,
                                       2 * TPageLayout::Gap);
    const QRect visible = VisibleRect();
    auto into = [](int start, int end, int shownStart, int shownEnd) {
        if (end > shownEnd)
            shownStart += end - shownEnd;
        return std::min(shownStart, start);
    };
    ScrollTo(into(target.left(), target.right(), visible.left(), visible.right()),
             into(target.top(), target.bottom(), visible.top(), visible.bottom()));
    if (OnChange)
        OnChange();
}

void TPageColumn::ScrollPage(int Direction) {
    if (FCurrent == 0)
        return;
    if (!FContinuous)
        return ShowPage(FCurrent + Direction);
    QScrollBar* bar = FArea.verticalScrollBar();
    const int top = bar->value();
    const int step = FArea.viewport()->height();
    // The top of the next page below, or above, the screen's top line stops the step.
    int target = top + Direction * step;
    for (int page = FLayout.FirstPage(); page <= FLayout.LastPage(); ++page) {
        const int pageTop = FLayout.Slot(page).top() - TPageLayout::Gap;
        if (Direction > 0 && pageTop > top)
            target = std::min(target, pageTop);
        if (Direction < 0 && pageTop < top)
            target = std::max(target, pageTop);
    }
    bar->setValue(target);
}

double TPageColumn::ShownFactor() const {
    return FCurrent > 0 ? ::ShownFactor(FLayout.PageSize(FCurrent), FRotation, FLayout.Slot(FCurrent).size())
                        : FZoom.Factor;
}

TPdfView& TPageColumn::CurrentView() {
    if (TPdfView* view = ShownView(FCurrent))
        return *view;
    return FViews.empty() ? NewView() : *FViews.front().View;
}

TPdfView* TPageColumn::ShownView(int PageNumber) const {
    for (TPdfView* view : ShownViews())
        if (view->PageNumber() == PageNumber)
            return view;
    return nullptr;
}

QList<TPdfView*> TPageColumn::ShownViews() const {
    QList<TPdfView*> views;
    for (const TPooledView& pooled : FViews)
        if (pooled.View->isVisibleTo(this) && pooled.View->Active())
            views.append(pooled.View);
    return views;
}

QRect TPageColumn::VisibleRect() const {
    return QRect(-Origin(), FArea.viewport()->size());
}

void TPageColumn::ScrollTo(int X, int Y) {
    FScrolling = true;
    FArea.horizontalScrollBar()->setValue(X);
    FArea.verticalScrollBar()->setValue(Y);
    FScrolling = false;
    PlaceViews();
}

// Gives every page in sight a view with its page loaded, at its slot, and hides the others, keeping a few.
void TPageColumn::PlaceViews() {
    QList<int> shown;
    if (FCurrent > 0 && FPdf.Active()) {
        const QRect visible = VisibleRect();
        for (int page = FLayout.PageAt(visible.top()); page > 0 && page <= FLayout.LastPage(); ++page) {
            if (FLayout.Slot(page).top() > visible.bottom())
                break;
            if (FLayout.Slot(page).intersects(visible))
                shown.append(page);
        }
        if (!shown.contains(FCurrent))
            shown.append(FCurrent);
    }
    ++FClock;
    for (int page : shown) {
        TPooledView& pooled = ViewFor(page, shown);
        TPdfView& view = *pooled.View;
        view.setGeometry(FLayout.Slot(page).translated(Origin()));
        view.SetRotation(FRotation);
        bool shownAnew = view.isHidden();
        if (!view.Active() || view.PageNumber() != page) {
            view.SetPageNumber(page);
            view.SetActive(true);
            shownAnew = true;
        }
        view.show();
        pooled.Shown = FClock;
        if (shownAnew && OnPageShown)
            OnPageShown(view);
    }
    // The keyboard stays with the current page; a hidden view would hand it on to a widget that the scroll
    // area then scrolls to.
    for (const TPooledView& pooled : FViews) {
        if (pooled.Shown == FClock)
            continue;
        if (pooled.View->hasFocus()) {
            if (TPdfView* current = ShownView(FCurrent))
                current->setFocus();
            else
                setFocus();
        }
        pooled.View->hide();
    }
    // The views out of sight longest go beyond the spare ones.
    std::stable_sort(FViews.begin(), FViews.end(),
                     [](const TPooledView& a, const TPooledView& b) { return a.Shown > b.Shown; });
    while (FViews.size() > size_t(std::max<qsizetype>(shown.size(), 1) + SpareViews)) {
        delete FViews.back().View;
        FViews.pop_back();
    }
}

// The view that already shows the page, or the one out of sight longest, or a new one.
TPageColumn::TPooledView& TPageColumn::ViewFor(int PageNumber, const QList<int>& Shown) {
    TPooledView* free = nullptr;
    for (TPooledView& pooled : FViews) {
        const TPdfView& view = *pooled.View;
        if (view.Active() && view.PageNumber() == PageNumber)
            return pooled;
        const bool taken = view.Active() && Shown.contains(view.PageNumber());
        if (!taken && (!free || pooled.Shown < free->Shown))
            free = &pooled;
    }
    if (free)
        return *free;
    NewView();
    return FViews.back();
}

TPdfView& TPageColumn::NewView() {
    auto* view = new TPdfView(this);
    view->setObjectName(QStringLiteral("pvPage"));
    view->SetPdf(&FPdf);
    view->OnPageChange = [view](QObject*) {
        view->update();
    };
    FViews.push_back({view, 0});
    if (OnPageViewCreated)
        OnPageViewCreated(*view);
    return *view;
}

void TPageColumn::FollowScroll() {
    const QRect visible = VisibleRect();
    const int page = FLayout.MostShownPage(visible.top(), visible.bottom());
    if (page == 0 || page == FCurrent)
        return;
    FCurrent = page;
    if (OnChange)
        OnChange();
}

bool TPageColumn::eventFilter(QObject* Watched, QEvent* Event) {
    if (Event->type() == QEvent::Resize) {
        if (Watched == &FArea) {
            Reported([this] { Arrange(FArea.viewport()->rect().center()); });
        } else {
            setGeometry(FArea.viewport()->rect());
            SetScrollRanges();
            Reported([this] { PlaceViews(); });
        }
    }
    return QWidget::eventFilter(Watched, Event);
}

void TPageColumn::Reported(const std::function<void()>& Action) {
    try {
        Action();
    } catch (const Exception& error) {
        if (OnError)
            OnError(error.Message());
    }
}
