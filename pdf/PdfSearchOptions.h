// The options of a text search on the current page and their translation into the engine's flag word.
#pragma once

#include "pdf/PdfTypes.h"

namespace PDFium {

enum TSearchOption { seCaseSensitive, seWholeWord, seConsecutive };
using TSearchOptions = TSet<TSearchOption>;

// The engine's flag word: match case 1, whole word 2, consecutive 4; the empty set gives 0.
unsigned long EncodeSearchOptions(TSearchOptions Options);

} // namespace PDFium
