// One engine page of an open document with what is built on it on demand: its text page, the one search
// running on that text page, and the page's link annotations and web links. TPdf keeps one for its current
// page and every TPdfView one for the page it shows, so that how they are loaded, kept and released, and
// what an empty search answers, is written once. The holder checks its own document first; the checks here
// are the page's and the search's.
#pragma once

#include "pdf/PdfLinkTypes.h"
#include "pdf/PdfSearchOptions.h"
#include "pdf/engine/FPdfFormFill.h"

#include <QString>

namespace PDFium {

// The engine's index of a page number, which counts from 1: -1, which names no page, for every number below
// 1, so that the smallest integer cannot overflow.
int EngineIndex(int PageNumber);

class TPageState {
public:
    TPageState() = default;
    ~TPageState();
    TPageState(const TPageState&) = delete;
    TPageState& operator=(const TPageState&) = delete;

    FPDF_PAGE Page() const { return FPage; }
    FPDF_TEXTPAGE TextPage() const { return FTextPage; }
    FPDF_SCHHANDLE Find() const { return FFind; }

    // Opens page PageNumber (counted from 1) of Document in place of the one before; raises "Cannot open page
    // n". With a form handle the form-fill environment sees the page open now, and close before it is
    // released.
    void Load(FPDF_DOCUMENT Document, int PageNumber, FPDF_FORMHANDLE Form = nullptr);
    // Takes a page of Document that the holder made, in place of the one before.
    void Take(FPDF_DOCUMENT Document, FPDF_PAGE Page);
    // Releases the search, the text page with its web links, then the page with its link annotations.
    void Unload();

    // Raises "Cannot perform this operation on an inactive page" when no page is loaded.
    void CheckLoaded() const;
    // The text page, built on first use and kept with the page.
    FPDF_TEXTPAGE LoadTextPage();

    // A new search on the text page, replacing the one before: the index at which the first match begins,
    // or -1. The engine's search never returns for an empty pattern, so an empty text matches nothing and
    // leaves no search running, without asking the engine.
    int FindFirst(const QString& Text, TSearchOptions Options, int StartIndex, bool DirectionUp);
    int FindNext();
    int FindPrevious();
    // The number of characters of the latest match; raises "Uninitialized search" when no search runs.
    int FoundCount() const;
    // Raises "Uninitialized search" when no search runs.
    void CheckFind() const;

    // The page's links, each kind collected in one pass and kept as long as the page (link annotations) or
    // its text page (web links). An index out of range raises "Incorrect index".
    const TLinkAnnotations& LinkAnnotations();
    TLinkAnnotation LinkAnnotation(int Index);
    const TWebLinks& WebLinks();
    TWebLink WebLink(int Index);

private:
    void UnloadFind();
    void UnloadTextPage();
    int StepFind(FPDF_BOOL (*Step)(FPDF_SCHHANDLE));

    FPDF_DOCUMENT FDocument = nullptr;
    FPDF_FORMHANDLE FForm = nullptr;
    FPDF_PAGE FPage = nullptr;
    FPDF_TEXTPAGE FTextPage = nullptr;
    FPDF_SCHHANDLE FFind = nullptr;
    TLinkAnnotations FLinkAnnotations;
    TWebLinks FWebLinks;
};

} // namespace PDFium
