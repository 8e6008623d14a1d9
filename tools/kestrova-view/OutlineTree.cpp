#include "OutlineTree.h"

#include "TargetPage.h"

#include <QGuiApplication>
#include <QTreeWidgetItemIterator>

using namespace PDFium;

namespace {
// Where an item keeps its bookmark's position in the list of bookmarks read so far, and whether its branch
// still waits to be read.
constexpr int BookmarkRole = Qt::UserRole;
constexpr int UnreadRole = Qt::UserRole + 1;
} // namespace

TOutlineTree::TOutlineTree(QWidget* Parent) : QTreeWidget(Parent) {
    setHeaderHidden(true);
    connect(this, &QTreeWidget::itemExpanded, this, &TOutlineTree::OpenBranch);
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { Choose(item); });
    // Activation by the keyboard; a mouse's activation follows its click, which has chosen already.
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        if (QGuiApplication::mouseButtons() == Qt::NoButton)
            Choose(item);
    });
}

void TOutlineTree::ShowOutline(const TPdf& Pdf) {
    clear();
    FBookmarks.clear();
    FPdf = Pdf.Active() ? &Pdf : nullptr;
    if (FPdf)
        AddBookmarks(invisibleRootItem(), FPdf->Bookmarks());
}

void TOutlineTree::AddBookmarks(QTreeWidgetItem* Parent, const TBookmarks& Bookmarks) {
    for (const TBookmark& bookmark : Bookmarks) {
        auto* item = new QTreeWidgetItem(Parent, QStringList{bookmark.Title});
        item->setData(0, BookmarkRole, int(FBookmarks.size()));
        FBookmarks.append(bookmark);
        if (FPdf->HasBookmarkChildren(bookmark)) {
            item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
            item->setData(0, UnreadRole, true);
        }
    }
}

void TOutlineTree::OpenBranch(QTreeWidgetItem* Item) {
    if (!FPdf || !Item->data(0, UnreadRole).toBool())
        return;
    Item->setData(0, UnreadRole, false);
    AddBookmarks(Item, FPdf->BookmarkChildren(BookmarkOf(Item)));
}

void TOutlineTree::Choose(QTreeWidgetItem* Item) {
    if (FPdf && OnBookmarkChosen)
        OnBookmarkChosen(BookmarkOf(Item));
}

TBookmark TOutlineTree::BookmarkOf(const QTreeWidgetItem* Item) const {
    return FBookmarks.value(Item->data(0, BookmarkRole).toInt());
}

void TOutlineTree::ShowPage(int PageNumber) {
    QTreeWidgetItem* nearest = nullptr;
    int nearestPage = 0;
    for (QTreeWidgetItemIterator item(this); *item; ++item) {
        const int page = TargetPage(BookmarkOf(*item));
        if (page > 0 && page <= PageNumber && page >= nearestPage) {
            nearest = *item;
            nearestPage = page;
        }
    }
    setCurrentItem(nearest);
    if (nearest)
        scrollToItem(nearest);
}
