// The thumbnails pane of kestrova-view: a small picture of every page in a column, rendered only as it comes
// into sight, with a bounded number kept, so that a long document costs no more than its visible part. The
// pictures come from a copy of the document that the pane opens for itself without its form, so that they
// never disturb the form being filled. A click reports the page; the page shown is marked.
#pragma once

#include "pdf/Pdf.h"

#include <QListWidget>
#include <functional>

class TThumbnailPane : public QListWidget {
    Q_OBJECT

public:
    // The width of a thumbnail in pixels, and how many rendered thumbnails are kept at most.
    static constexpr int ThumbnailWidth = 120;
    static constexpr int Budget = 60;

    explicit TThumbnailPane(QWidget* Parent = nullptr);

    // Shows the pages of Pdf's open document, opening its file again; none without a document.
    void ShowDocument(const PDFium::TPdf& Pdf);
    void ShowPage(int PageNumber);
    // The rows (from 0) whose thumbnails are rendered now.
    QList<int> RenderedRows() const { return FRendered; }

    std::function<void(int PageNumber)> OnPageChosen;

protected:
    void resizeEvent(QResizeEvent* Event) override;
    void showEvent(QShowEvent* Event) override;

private:
    void RenderVisible();
    void Render(int Row);

    PDFium::TPdf* FPdf;
    // Rendered rows, the oldest first.
    QList<int> FRendered;
};
