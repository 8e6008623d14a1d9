// The search options' engine flags, and TPdf's search on its current page (see TPageState).
#include "pdf/Pdf.h"

#include "pdf/engine/FPdfText.h"
#include "pdf/text/PageState.h"

namespace PDFium {

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

FPDF_SCHHANDLE TPdf::Find() const {
    return FPageState->Find();
}

int TPdf::FindFirst(const QString& Text, TSearchOptions Options, int StartIndex, bool DirectionUp) {
    CheckActive();
    return FPageState->FindFirst(Text, Options, StartIndex, DirectionUp);
}

int TPdf::FindNext() {
    CheckActive();
    return FPageState->FindNext();
}

int TPdf::FindPrevious() {
    CheckActive();
    return FPageState->FindPrevious();
}

int TPdf::FoundCount() const {
    CheckActive();
    return FPageState->FoundCount();
}

} // namespace PDFium
