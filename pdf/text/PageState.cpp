#include "pdf/text/PageState.h"

#include "pdf/PdfError.h"
#include "pdf/engine/FPdfText.h"
#include "pdf/text/PdfTextRoutines.h"

namespace PDFium {

int EngineIndex(int PageNumber) {
    return PageNumber > 0 ? PageNumber - 1 : -1;
}

TPageState::~TPageState() {
    Unload();
}

void TPageState::Load(FPDF_DOCUMENT Document, int PageNumber, FPDF_FORMHANDLE Form) {
    Unload();
    FPDF_PAGE page = FPDF_LoadPage(Document, EngineIndex(PageNumber));
    Check(page != nullptr, QStringLiteral("Cannot open page ") + QString::number(PageNumber));
    Take(Document, page);
    if (Form) {
        FForm = Form;
        FORM_OnAfterLoadPage(FPage, FForm);
        FORM_DoPageAAction(FPage, FForm, FPDFPAGE_AACTION_OPEN);
    }
}

void TPageState::Take(FPDF_DOCUMENT Document, FPDF_PAGE Page) {
    Unload();
    FDocument = Document;
    FPage = Page;
}

void TPageState::Unload() {
    UnloadTextPage();
    if (!FPage)
        return;
    if (FForm) {
        FORM_DoPageAAction(FPage, FForm, FPDFPAGE_AACTION_CLOSE);
        FORM_OnBeforeClosePage(FPage, FForm);
        FForm = nullptr;
    }
    FPDF_ClosePage(FPage);
    FPage = nullptr;
    FDocument = nullptr;
    FLinkAnnotations.clear();
}

void TPageState::UnloadTextPage() {
    UnloadFind();
    if (FTextPage) {
        FPDFText_ClosePage(FTextPage);
        FTextPage = nullptr;
        FWebLinks.clear();
    }
}

void TPageState::UnloadFind() {
    if (FFind) {
        FPDFText_FindClose(FFind);
        FFind = nullptr;
    }
}

void TPageState::CheckLoaded() const {
    Check(FPage != nullptr, QStringLiteral("Cannot perform this operation on an inactive page"));
}

FPDF_TEXTPAGE TPageState::LoadTextPage() {
    CheckLoaded();
    if (!FTextPage)
        FTextPage = OpenTextPage(FPage);
    return FTextPage;
}

int TPageState::FindFirst(const QString& Text, TSearchOptions Options, int StartIndex, bool DirectionUp) {
    UnloadFind();
    if (Text.isEmpty()) {
        CheckLoaded();
        return -1;
    }
    FFind = FPDFText_FindStart(LoadTextPage(), reinterpret_cast<FPDF_WIDESTRING>(Text.utf16()),
                               EncodeSearchOptions(Options), StartIndex);
    Check(FFind != nullptr, QStringLiteral("Cannot start find"));
    return DirectionUp ? FindNext() : FindPrevious();
}

int TPageState::FindNext() {
    return StepFind(FPDFText_FindNext);
}

int TPageState::FindPrevious() {
    return StepFind(FPDFText_FindPrev);
}

// One step of the search in the direction that Step takes: the index at which the match begins, or -1.
int TPageState::StepFind(FPDF_BOOL (*Step)(FPDF_SCHHANDLE)) {
    CheckLoaded();
    CheckFind();
    return Step(FFind) ? FPDFText_GetSchResultIndex(FFind) : -1;
}

int TPageState::FoundCount() const {
    CheckFind();
    return FPDFText_GetSchCount(FFind);
}

void TPageState::CheckFind() const {
    Check(FFind != nullptr, QStringLiteral("Uninitialized search"));
}

const TLinkAnnotations& TPageState::LinkAnnotations() {
    if (FLinkAnnotations.isEmpty()) {
        CheckLoaded();
        FLinkAnnotations = GetLinkAnnotations(FDocument, FPage);
    }
    return FLinkAnnotations;
}

TLinkAnnotation TPageState::LinkAnnotation(int Index) {
    const TLinkAnnotations& links = LinkAnnotations();
    Check(Index >= 0 && Index < links.size(), QStringLiteral("Incorrect index"));
    return links[Index];
}

const TWebLinks& TPageState::WebLinks() {
    if (FWebLinks.isEmpty())
        FWebLinks = GetWebLinks(LoadTextPage());
    return FWebLinks;
}

TWebLink TPageState::WebLink(int Index) {
    const TWebLinks& links = WebLinks();
    Check(Index >= 0 && Index < links.size(), QStringLiteral("Incorrect index"));
    return links[Index];
}

} // namespace PDFium
