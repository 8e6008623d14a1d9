// TPdf's document navigation: named destinations and the outline, read from the engine on every request.
#include "pdf/Pdf.h"

#include "pdf/binding/EngineText.h"
#include "pdf/engine/FPdfDoc.h"
#include "pdf/text/PdfTextRoutines.h"

#include <QSet>
#include <optional>
#include <utility>

namespace PDFium {

namespace {

// The characters of PDFDocEncoding whose codes differ from their Unicode values. Every other code from 0x01
// to 0xFF is its own Unicode value, bar 0x7F, 0x9F and 0xAD, which stand for no character.
constexpr std::pair<char16_t, uchar> DocEncodingDifferences[] = {
    {0x02D8, 0x18}, {0x02C7, 0x19}, {0x02C6, 0x1A}, {0x02D9, 0x1B}, {0x02DD, 0x1C}, {0x02DB, 0x1D},
    {0x02DA, 0x1E}, {0x02DC, 0x1F}, {0x2022, 0x80}, {0x2020, 0x81}, {0x2021, 0x82}, {0x2026, 0x83},
    {0x2014, 0x84}, {0x2013, 0x85}, {0x0192, 0x86}, {0x2044, 0x87}, {0x2039, 0x88}, {0x203A, 0x89},
    {0x2212, 0x8A}, {0x2030, 0x8B}, {0x201E, 0x8C}, {0x201C, 0x8D}, {0x201D, 0x8E}, {0x2018, 0x8F},
    {0x2019, 0x90}, {0x201A, 0x91}, {0x2122, 0x92}, {0xFB01, 0x93}, {0xFB02, 0x94}, {0x0141, 0x95},
    {0x0152, 0x96}, {0x0160, 0x97}, {0x0178, 0x98}, {0x017D, 0x99}, {0x0131, 0x9A}, {0x0142, 0x9B},
    {0x0153, 0x9C}, {0x0161, 0x9D}, {0x017E, 0x9E}, {0x20AC, 0xA0}};

std::optional<uchar> DocEncodingCode(char16_t character) {
    if ((character >= 0x01 && character < 0x18) || (character >= 0x20 && character < 0x7F) ||
        (character >= 0xA1 && character <= 0xFF && character != 0xAD))
        return uchar(character);
    for (const auto& [unicode, code] : DocEncodingDifferences)
        if (unicode == character)
            return code;
    return std::nullopt;
}

// A destination's name as the engine looks it up: it decodes the bytes as a PDF text string and compares
// them with the names as it decoded them when listing them by index, and it compares a name of the old
// catalog dictionary byte for byte with its PDFDocEncoding bytes. PDFDocEncoding wherever it holds the
// name, else UTF-8 after its byte order mark (UTF-16 would put zero bytes into the engine's C string).
QByteArray EncodeDestinationName(const QString& name) {
    QByteArray bytes;
    for (const QChar character : name) {
        const std::optional<uchar> code = DocEncodingCode(character.unicode());
        if (!code)
            return "\xEF\xBB\xBF" + name.toUtf8();
        bytes += char(*code);
    }
    return bytes;
}

} // namespace

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
    const QByteArray name = EncodeDestinationName(Name);
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
