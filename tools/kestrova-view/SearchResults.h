// The Results tab of kestrova-view: a line for each match of the whole document as the count reads the pages,
// the page's label and the match among the words around it; a line clicked or entered goes to its match.
#pragma once

#include "pdf/view/PdfView.h"

#include <QListWidget>
#include <functional>

class TSearchResults : public QListWidget {
public:
    explicit TSearchResults(QWidget* Parent = nullptr);

    // Adds the lines of a page's matches, read through Pdf's current page.
    void AddPage(PDFium::TPdf& Pdf, int PageNumber, const PDFium::TTextRanges& Matches);

    // Raised with the page of a line chosen and the place of its match among that page's matches.
    std::function<void(int PageNumber, int Index)> OnResultChosen;
};
