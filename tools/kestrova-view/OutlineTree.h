// The document's outline in kestrova-view: a tree of the bookmarks whose branches are read from the document
// when they are first opened, so that a circular outline never runs away, and that reports the bookmark a
// person picks.
#pragma once

#include "pdf/Pdf.h"

#include <QTreeWidget>

class TOutlineTree : public QTreeWidget {
    Q_OBJECT

public:
    explicit TOutlineTree(QWidget* Parent = nullptr);

    // Shows the outline of Pdf's open document; none without a document.
    void ShowOutline(const PDFium::TPdf& Pdf);
    // Marks the entry read so far whose page is the nearest at or before PageNumber, the last such entry
    // where several share it; none before the first entry's page.
    void ShowPage(int PageNumber);

    std::function<void(const PDFium::TBookmark&)> OnBookmarkChosen;

private:
    void AddBookmarks(QTreeWidgetItem* Parent, const PDFium::TBookmarks& Bookmarks);
    void OpenBranch(QTreeWidgetItem* Item);
    void Choose(QTreeWidgetItem* Item);
    PDFium::TBookmark BookmarkOf(const QTreeWidgetItem* Item) const;

    const PDFium::TPdf* FPdf = nullptr;
    QList<PDFium::TBookmark> FBookmarks;
};
