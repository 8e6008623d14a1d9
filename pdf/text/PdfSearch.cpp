// TPdf's search on the current page's text page: one engine search at a time, stepped forwards or backwards.
#include "pdf/Pdf.h"

#include "pdf/engine/FPdfText.h"

namespace PDFium {

namespace {
// One step of the search in the direction that Step takes: the index at which the match begins, or -1.
int StepFind(FPDF_SCHHANDLE find, FPDF_BOOL (*step)(FPDF_SCHHANDLE)) {
    if (!step(find))
        return -1;
    return FPDFText_GetSchResultIndex(find);
}
} // namespace

unsigned long EncodeSearchOptions(TSearchOptions Options) {
    unsigned long flags = 0;
    if (Options.Contains(seCaseSensitive))
        flags |= FPDF_MATCHCASE;
    if (Options.Contains(seWholeWord))
        flags |= FPDF_MATCHWHOLEWORD;
    if (Options.Contains(seConsecutive))
        flags |= FPDF_CONSECUTIVE;
    return flags;
}

void TPdf::ReloadFind(const QString& Text, TSearchOptions Options, int StartIndex) {
    UnloadFind();
    LoadTextPage();
    FFind = FPDFText_FindStart(FTextPage, reinterpret_cast<FPDF_WIDESTRING>(Text.utf16()),
                               EncodeSearchOptions(Options), StartIndex);
    Check(FFind != nullptr, QStringLiteral("Cannot start find"));
}

int TPdf::FindFirst(const QString& Text, TSearchOptions Options, int StartIndex, bool DirectionUp) {
    // The engine's search never returns for an empty pattern, so an empty text matches nothing and leaves
    // no search running, without asking the engine.
    if (Text.isEmpty()) {
        UnloadFind();
        CheckPageActive();
        return -1;
    }
    ReloadFind(Text, Options, StartIndex);
    return DirectionUp ? FindNext() : FindPrevious();
}

int TPdf::FindNext() {
    CheckFindActive();
    return StepFind(FFind, FPDFText_FindNext);
}

int TPdf::FindPrevious() {
    CheckFindActive();
    return StepFind(FFind, FPDFText_FindPrev);
}

} // namespace PDFium
