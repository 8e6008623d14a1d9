// The page area of kestrova-view: the pages of the component's document as one column in a scroll area, or a
// single page alone. The column is laid out virtually: the scroll bars run over its whole height, however
// tall, and the widget itself only covers the area's viewport, so that no page lies beyond the height a
// widget may have. Only the pages in sight have a page view; the views are a small pool, each bound to the
// same TPdf so that forms work on every page, moved to the pages that scroll into sight and dropped beyond a
// few spare ones, so that what a long document holds in memory does not grow with it. The current page is
// the one that fills most of the visible area, or the one last shown by number.
#pragma once

#include "PageLayout.h"
#include "pdf/view/PdfView.h"

#include <QWidget>
#include <functional>
#include <vector>

class QAbstractScrollArea;

class TPageColumn : public QWidget {
    Q_OBJECT

public:
    // Covers Area's viewport and shows the pages of Pdf's open document, scrolled by Area's scroll bars.
    TPageColumn(PDFium::TPdf& Pdf, QAbstractScrollArea& Area);

    // Takes up the document that the component has open now, at its first page; none when it has none.
    void Reload();
    bool Continuous() const { return FContinuous; }
    void SetContinuous(bool Value);
    TPageZoom Zoom() const { return FZoom; }
    // Sizes the pages anew, keeping the page point at Anchor, in viewport pixels, where it is on the screen;
    // the middle of the viewport when Anchor is null.
    void SetZoom(TPageZoom Value, QPoint Anchor = {});
    PDFium::TRotation Rotation() const { return FRotation; }
    void SetRotation(PDFium::TRotation Value);

    // 0 without a document.
    int CurrentPage() const { return FCurrent; }
    int PageCount() const { return FLayout.PageCount(); }
    // Makes a page current and scrolls its top into sight.
    void ShowPage(int PageNumber);
    // Makes a page current and scrolls so that Area, in the pixels of its page view, is in sight.
    void ShowArea(int PageNumber, const QRect& Area);
    // Page Down (Direction 1) or Page Up (-1): a screen on, though never past the top of a page, so that no
    // part of a page is skipped; the next page in the single page mode.
    void ScrollPage(int Direction);
    // The whole column's size, and a page's rectangle in it; the column scrolls through the viewport.
    QSize ColumnSize() const { return FLayout.Size(); }
    QRect PageSlot(int PageNumber) const { return FLayout.Slot(PageNumber); }
    // The zoom factor at which the current page is shown.
    double ShownFactor() const;

    // The view of the current page; without a document, a view with no page.
    PDFium::TPdfView& CurrentView();
    // The view that shows a page, or null when that page is not in sight.
    PDFium::TPdfView* ShownView(int PageNumber) const;
    QList<PDFium::TPdfView*> ShownViews() const;

    // Raised for every page view made, so that its owner can watch its events.
    std::function<void(PDFium::TPdfView&)> OnPageViewCreated;
    // Raised when a view comes into sight with its page, or loads another.
    std::function<void(PDFium::TPdfView&)> OnPageShown;
    // Raised when the current page or the pages' sizes change.
    std::function<void()> OnChange;
    // Reports an error met while scrolling, where no caller can take it.
    std::function<void(const QString& Message)> OnError;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    struct TPooledView {
        PDFium::TPdfView* View;
        // When the view last showed its page, so that the one out of sight longest is reused first.
        quint64 Shown;
    };

    void Layout();
    void Arrange(QPoint Anchor);
    void PlaceViews();
    void FollowScroll();
    void ScrollTo(int X, int Y);
    void SetScrollRanges();
    // Where the column's point (0, 0) lies in the viewport: centred where the column is smaller, moved by the
    // scroll bars where it is larger.
    QPoint Origin() const;
    QRect VisibleRect() const;
    TPooledView& ViewFor(int PageNumber, const QList<int>& Shown);
    PDFium::TPdfView& NewView();
    void Reported(const std::function<void()>& Action);

    PDFium::TPdf& FPdf;
    QAbstractScrollArea& FArea;
    TPageLayout FLayout;
    TPageZoom FZoom;
    PDFium::TRotation FRotation = PDFium::ro0;
    bool FContinuous = true;
    int FCurrent = 0;
    // Set while the column moves the scroll bars itself, so that the current page stays the one it chose.
    bool FScrolling = false;
    std::vector<TPooledView> FViews;
    quint64 FClock = 0;
};
