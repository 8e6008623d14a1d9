// TPdf's document navigation: named destinations and the outline, read from the engine on every request.
#include "pdf/Pdf.h"

#include "pdf/binding/EngineText.h"
#include "pdf/engine/FPdfDoc.h"
#include "pdf/text/PdfTextRoutines.h"

#include <QSet>

namespace PDFium {

int TPdf::DestinationCount() const {
    CheckActive();
    return static_cast<int>(FPDF_CountNamedDests(FDocument));
}

TDestination TPdf::Destination(int Index) const {
    Check(Index >= 0 && Index < DestinationCount(), QStringLiteral("Incorrect index"));
    FPDF_DEST destination = nullptr;
    const QString name = FetchUtf16Text([&](void* buffer, unsigned long size) -> unsigned long {
        long length = static_cast<long>(size);
        destination = FPDF_GetNamedDest(FDocument, Index, buffer, &length);
        return destination && length > 0 ? static_cast<unsigned long>(length) : 0;
    });
    return RetrieveDestination(destination, name);
}

TDestination TPdf::DestinationByName(const QString& Name) const {
    // Without a document the engine would be asked about no document at all.
    CheckActive();
    const QByteArray name = Name.toLocal8Bit();
    return RetrieveDestination(FPDF_GetNamedDestByName(FDocument, name.constData()), Name);
}

TDestination TPdf::RetrieveDestination(FPDF_DEST Destination, const QString& Name) const {
    TDestination result;
    result.Handle = Destination;
    if (!Destination)
        return result;
    result.Name = Name;
    result.PageNumber = DestinationPageNumber(FDocument, Destination);
    FPDF_BOOL hasX = 0;
    FPDF_BOOL hasY = 0;
    FPDF_BOOL hasZoom = 0;
    FS_FLOAT x = 0;
    FS_FLOAT y = 0;
    FS_FLOAT zoom = 0;
    if (FPDFDest_GetLocationInPage(Destination, &hasX, &hasY, &hasZoom, &x, &y, &zoom)) {
        result.HasX = hasX != 0;
        result.HasY = hasY != 0;
        result.HasZoom = hasZoom != 0;
        result.X = result.HasX ? x : 0;
        result.Y = result.HasY ? y : 0;
        result.Zoom = result.HasZoom ? zoom : 0;
    }
    return result;
}

TBookmark TPdf::SetBookmarkData(FPDF_BOOKMARK Bookmark) const {
    TBookmark result;
    result.Handle = Bookmark;
    if (!Bookmark)
        return result;
    result.Title = FetchUtf16Text(
        [&](void* buffer, unsigned long size) { return FPDFBookmark_GetTitle(Bookmark, buffer, size); });
    result.PageNumber = DestinationPageNumber(FDocument, FPDFBookmark_GetDest(FDocument, Bookmark));
    if (FPDF_ACTION action = FPDFBookmark_GetAction(Bookmark)) {
        result.Action = static_cast<TPdfAction>(FPDFAction_GetType(action));
        result.ActionPageNumber = DestinationPageNumber(FDocument, FPDFAction_GetDest(FDocument, action));
    }
    return result;
}

TBookmarks TPdf::GetNestedBookmarks(FPDF_BOOKMARK Parent) const {
    CheckActive();
    // A malformed outline may lead its sibling chain back to an earlier entry: the walk ends there.
    TBookmarks result;
    QSet<FPDF_BOOKMARK> visited;
    for (FPDF_BOOKMARK entry = FPDFBookmark_GetFirstChild(FDocument, Parent);
         entry && !visited.contains(entry); entry = FPDFBookmark_GetNextSibling(FDocument, entry)) {
        visited.insert(entry);
        result.append(SetBookmarkData(entry));
    }
    return result;
}

TBookmarks TPdf::Bookmarks() const {
    return GetNestedBookmarks(nullptr);
}

TBookmarks TPdf::BookmarkChildren(const TBookmark& Bookmark) const {
    if (!Bookmark.Handle)
        return {};
    return GetNestedBookmarks(Bookmark.Handle);
}

bool TPdf::HasBookmarkChildren(const TBookmark& Bookmark) const {
    CheckActive();
    return Bookmark.Handle && FPDFBookmark_GetFirstChild(FDocument, Bookmark.Handle);
}

TBookmark TPdf::Bookmark(const QString& Title) const {
    CheckActive();
    return SetBookmarkData(FPDFBookmark_Find(FDocument, reinterpret_cast<FPDF_WIDESTRING>(Title.utf16())));
}

} // namespace PDFium
