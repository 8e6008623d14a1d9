// Search through a whole document for kestrova-view: the matches of a page are read through the component's
// own current page, so that no view has to load it; next and previous step through them from page to page,
// round the end, a page at a time, so that the window can read the pages between two matches in slices; and
// every page view in sight paints its page's matches, the current one stronger.
#pragma once

#include "pdf/view/PdfView.h"

#include <QHash>

class TDocumentSearch {
public:
    explicit TDocumentSearch(PDFium::TPdf& Pdf) : FPdf(Pdf) {}

    // Starts a search for Text; an empty text ends it.
    void SetText(const QString& Text);
    QString Text() const { return FText; }
    // The pages searched: those of the component's open document.
    int PageCount() const;
    // The matches of a page, in the order of the text.
    PDFium::TTextRanges PageMatches(int PageNumber);
    // Paints on View the matches of its page.
    void Paint(PDFium::TPdfView& View);
    enum class TSeek { Found, NotFound, Pending };
    // Moves to the next (Direction 1) or previous (-1) match, from the current one or, where the current page
    // holds none, from the start or end of that page: Found where this page holds it; otherwise Pending, and
    // Step reads the pages after it, round the end, until one holds a match (Found) or every page has been
    // read (NotFound).
    TSeek Begin(int CurrentPage, int Direction);
    TSeek Step();
    // The page Step reads next, and how many pages it has read since Begin.
    int SeekPage() const;
    int PagesSought() const { return FSought; }
    // The page of the current match and its place among that page's matches; 0 and -1 when there is none.
    int HitPage() const { return FHitPage; }
    int HitIndex() const { return FHitIndex; }
    PDFium::TTextRange Hit() const;
    // Makes a match of a page the current one.
    void SetHit(int PageNumber, int Index);

private:
    void StartOn(int PageNumber);

    PDFium::TPdf& FPdf;
    QString FText;
    // The matches of the pages read so far for this text.
    QHash<int, PDFium::TTextRanges> FMatches;
    int FHitPage = 0;
    int FHitIndex = -1;
    // The direction of the pages Step reads, and how many it has read.
    int FDirection = 1;
    int FSought = 0;
};
