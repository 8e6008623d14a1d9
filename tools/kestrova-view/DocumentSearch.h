// Search through a whole document for kestrova-view: every match on the page that the view shows is painted
// as its selection, and next and previous step through the matches, from page to page, round the end.
#pragma once

#include "pdf/view/PdfView.h"

class TDocumentSearch {
public:
    explicit TDocumentSearch(PDFium::TPdfView& View) : FView(View) {}

    // Starts a search for Text; an empty text ends it.
    void SetText(const QString& Text);
    QString Text() const { return FText; }
    // Paints the matches of the page now shown, none of them current; run after every page change.
    void ShowPageMatches();
    // Moves to the next or previous match, onto another page where this one has no more. False when the
    // document holds no match.
    bool Next();
    bool Previous();

private:
    PDFium::TTextRanges PageMatches();
    bool MoveToPage(int Direction);

    PDFium::TPdfView& FView;
    QString FText;
};
