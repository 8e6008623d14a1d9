#include "DocumentReports.h"

#include "JsonRecords.h"
#include "PngFile.h"

#include <QImage>
#include <QSet>

using namespace PDFium;

namespace {

QJsonObject PageInfo(TPdf& pdf) {
    return {{"PageNumber", pdf.PageNumber()},
            {"PageWidth", pdf.PageWidth()},
            {"PageHeight", pdf.PageHeight()},
            {"PageRotation", EnumName(pdf.PageRotation())},
            {"PageLabel", pdf.PageLabel(pdf.PageNumber())}};
}

QJsonObject CharacterInfo(TPdf& pdf, int index) {
    return {{"Index", index},
            {"Character", int(pdf.Character(index).unicode())},
            {"FontSize", pdf.FontSize(index)},
            {"CharacterOrigin", ToJson(pdf.CharacterOrigin(index))},
            {"CharacterRectangle", ToJson(pdf.CharacterRectangle(index))}};
}

// How many levels of the outline are listed. Real outlines stay far below it; a deeper one, which a hostile
// file may nest thousands of levels down, would otherwise exhaust the stack here and in the JSON writer,
// and its indentation would make the output grow with the square of its depth.
constexpr int OutlineDepthLimit = 32;

// The outline below the entries, at Depth levels from the top. An entry met before on the way is listed
// without its children again, so a malformed outline whose entries lead back to their ancestors still ends;
// an entry at the depth limit is listed without its children, marked with ChildrenOmitted.
QJsonArray BookmarkTree(const TPdf& pdf, const TBookmarks& bookmarks, QSet<FPDF_BOOKMARK>& visited,
                        int depth) {
    QJsonArray tree;
    for (const TBookmark& bookmark : bookmarks) {
        QJsonObject entry = ToJson(bookmark);
        QJsonArray children;
        if (depth == OutlineDepthLimit) {
            if (pdf.HasBookmarkChildren(bookmark))
                entry.insert("ChildrenOmitted", true);
        } else if (!visited.contains(bookmark.Handle)) {
            visited.insert(bookmark.Handle);
            children = BookmarkTree(pdf, pdf.BookmarkChildren(bookmark), visited, depth + 1);
        }
        entry.insert("Children", children);
        tree.append(entry);
    }
    return tree;
}

} // namespace

void OpenInspected(TPdf& Pdf, const QString& File, const QString& Password, int PageNumber) {
    Pdf.SetFileName(File);
    Pdf.SetPassword(Password);
    Pdf.SetActive(true);
    if (PageNumber == 0)
        return;
    Check(PageNumber <= Pdf.PageCount(), QStringLiteral("Incorrect page number"));
    Pdf.SetPageNumber(PageNumber);
}

QJsonObject InspectInfo(TPdf& Pdf) {
    QJsonArray pages;
    // A page that cannot be read is reported with its error in its place, and the others still are.
    for (int page = 1; page <= Pdf.PageCount(); ++page) {
        try {
            Pdf.SetPageNumber(page);
            pages.append(PageInfo(Pdf));
        } catch (const EPdfError& error) {
            pages.append(QJsonObject{{"PageNumber", page}, {"Error", error.Message()}});
        }
    }
    return {{"PageCount", Pdf.PageCount()},
            {"PdfVersion", EnumName(Pdf.PdfVersion())},
            {"Permissions", qint64(Pdf.Permissions())},
            {"Title", Pdf.Title()},
            {"Author", Pdf.Author()},
            {"Subject", Pdf.Subject()},
            {"Keywords", Pdf.Keywords()},
            {"Creator", Pdf.Creator()},
            {"Producer", Pdf.Producer()},
            {"CreationDate", Pdf.CreationDate()},
            {"ModifiedDate", Pdf.ModifiedDate()},
            {"PageMode", EnumName(Pdf.PageMode())},
            {"IsTagged", Pdf.IsTagged()},
            {"PrintScaling", Pdf.PrintScaling()},
            {"PrintCopies", Pdf.PrintCopies()},
            {"PrintPaperHandling", EnumName(Pdf.PrintPaperHandling())},
            {"FormType", EnumName(Pdf.FormType())},
            {"Pages", pages}};
}

QJsonObject InspectText(TPdf& Pdf) {
    const int count = Pdf.CharacterCount();
    QJsonArray characters;
    for (int index = 0; index < count; ++index)
        characters.append(CharacterInfo(Pdf, index));
    return {{"PageNumber", Pdf.PageNumber()},
            {"CharacterCount", count},
            {"Text", Pdf.Text(0, count)},
            {"Characters", characters}};
}

QJsonObject InspectFind(TPdf& Pdf, const QString& Text, TSearchOptions Options, bool Backward) {
    // Every match begins at its own character, so there are never more matches than characters; the bound
    // keeps an engine that stops advancing from running forever.
    const int characters = Pdf.CharacterCount();
    QJsonArray matches;
    for (int index = Pdf.FindFirst(Text, Options, Backward ? -1 : 0, !Backward);
         index >= 0 && matches.size() <= characters; index = Backward ? Pdf.FindPrevious() : Pdf.FindNext())
        matches.append(index);
    QJsonArray options;
    for (const auto& [option, name] :
         {std::pair{seCaseSensitive, "seCaseSensitive"}, std::pair{seWholeWord, "seWholeWord"},
          std::pair{seConsecutive, "seConsecutive"}})
        if (Options.Contains(option))
            options.append(name);
    return {{"PageNumber", Pdf.PageNumber()},
            {"Text", Text},
            {"Options", options},
            {"Backward", Backward},
            {"Matches", matches}};
}

QJsonObject InspectLinks(TPdf& Pdf) {
    QJsonArray annotations;
    for (int index = 0; index < Pdf.LinkAnnotationCount(); ++index)
        annotations.append(ToJson(Pdf.LinkAnnotation(index)));
    QJsonArray webLinks;
    for (int index = 0; index < Pdf.WebLinkCount(); ++index)
        webLinks.append(ToJson(Pdf.WebLink(index)));
    return {{"PageNumber", Pdf.PageNumber()},
            {"LinkAnnotationCount", annotations.size()},
            {"LinkAnnotations", annotations},
            {"WebLinkCount", webLinks.size()},
            {"WebLinks", webLinks}};
}

QJsonObject InspectOutline(const TPdf& Pdf) {
    QSet<FPDF_BOOKMARK> visited;
    const QJsonArray bookmarks = BookmarkTree(Pdf, Pdf.Bookmarks(), visited, 1);
    QJsonArray destinations;
    for (int index = 0; index < Pdf.DestinationCount(); ++index)
        destinations.append(ToJson(Pdf.Destination(index)));
    return {
        {"Bookmarks", bookmarks}, {"DestinationCount", destinations.size()}, {"Destinations", destinations}};
}

QJsonObject RenderToPng(TPdf& Pdf, double Dpi, const QString& Output) {
    const int width = qRound(Pdf.PageWidth() * Dpi / 72);
    const int height = qRound(Pdf.PageHeight() * Dpi / 72);
    // Annotations are drawn, as every reader draws them.
    const QImage image = Pdf.RenderPage(0, 0, width, height, ro0, {reAnnotations}, clWhite);
    WritePng(image, Output);
    return {{"PageNumber", Pdf.PageNumber()}, {"Width", width}, {"Height", height}, {"File", Output}};
}
