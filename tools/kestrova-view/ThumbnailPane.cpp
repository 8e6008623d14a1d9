#include "ThumbnailPane.h"

#include <QScrollBar>
#include <QTimer>

using namespace PDFium;

namespace {
// A page of the usual proportions, for the room a thumbnail takes before it is rendered.
constexpr double PlaceholderRatio = 792.0 / 612.0;
} // namespace

TThumbnailPane::TThumbnailPane(QWidget* Parent) : QListWidget(Parent), FPdf(new TPdf(this)) {
    FPdf->SetFormFill(false);
    setViewMode(QListView::IconMode);
    setFlow(QListView::TopToBottom);
    setWrapping(false);
    setMovement(QListView::Static);
    setUniformItemSizes(true);
    setIconSize(QSize(ThumbnailWidth, qRound(ThumbnailWidth * PlaceholderRatio)));
    // Every page takes its room before its picture is there, so that only the pages in sight are rendered.
    setGridSize(iconSize() + QSize(16, fontMetrics().height() + 16));
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { RenderVisible(); });
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (OnPageChosen)
            OnPageChosen(row(item) + 1);
    });
}

void TThumbnailPane::ShowDocument(const TPdf& Pdf) {
    clear();
    FRendered.clear();
    FPdf->SetActive(false);
    if (!Pdf.Active())
        return;
    FPdf->SetFileName(Pdf.FileName());
    FPdf->SetPassword(Pdf.Password());
    FPdf->SetPageNumber(1);
    FPdf->SetActive(true);
    for (int page = 1; page <= FPdf->PageCount(); ++page) {
        auto* item = new QListWidgetItem(QString::number(page));
        item->setSizeHint(gridSize());
        addItem(item);
    }
    // The pane has its size once the event loop has laid it out.
    QTimer::singleShot(0, this, [this] { RenderVisible(); });
}

void TThumbnailPane::ShowPage(int PageNumber) {
    const QSignalBlocker blocker(this);
    setCurrentRow(PageNumber - 1);
    if (currentItem())
        scrollToItem(currentItem());
    RenderVisible();
}

void TThumbnailPane::resizeEvent(QResizeEvent* Event) {
    QListWidget::resizeEvent(Event);
    RenderVisible();
}

void TThumbnailPane::showEvent(QShowEvent* Event) {
    QListWidget::showEvent(Event);
    RenderVisible();
}

void TThumbnailPane::RenderVisible() {
    // A hidden pane has nothing in sight.
    if (!FPdf->Active() || count() == 0 || !isVisible())
        return;
    executeDelayedItemsLayout();
    const QRect area = viewport()->rect();
    QList<int> visible;
    for (int row = std::max(indexAt(area.topLeft()).row(), 0); row < count(); ++row) {
        if (!visualItemRect(item(row)).intersects(area))
            break;
        visible.append(row);
    }
    // Input and timers come from the event loop, which must not see an error: a page that cannot be
    // rendered keeps its empty place.
    try {
        for (const int row : visible)
            if (!FRendered.contains(row))
                Render(row);
    } catch (const Exception& error) {
        qWarning("Cannot render a thumbnail: %s", error.what());
    }
    for (int i = 0; FRendered.size() > Budget && i < FRendered.size();) {
        if (visible.contains(FRendered[i])) {
            ++i;
            continue;
        }
        item(FRendered.takeAt(i))->setIcon({});
    }
}

void TThumbnailPane::Render(int Row) {
    FPdf->SetPageNumber(Row + 1);
    const int height = qRound(ThumbnailWidth * FPdf->PageHeight() / FPdf->PageWidth());
    item(Row)->setIcon(QPixmap::fromImage(FPdf->RenderPage(0, 0, ThumbnailWidth, std::max(height, 1), ro0,
                                                           TRenderOptions{reAnnotations}, clWhite)));
    FRendered.append(Row);
}
