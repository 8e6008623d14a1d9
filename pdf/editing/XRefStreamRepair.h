// The engine's incremental save of a document whose last cross-reference section is a stream appends a
// cross-reference stream of its own that readers such as qpdf cannot open: its dictionary lacks /Type /XRef,
// its object has no "endobj", and it lists every new object but itself. This unit completes that last
// object in the saved bytes. Everything before the object stays as the engine wrote it, so every offset in
// the file, and the startxref that names the object, still hold.
#pragma once

#include <QByteArray>

namespace PDFium {

// Completes the cross-reference stream at the end of Document when the engine wrote one; other documents
// are left as they are. Raises EPdfError where the end of the file has the engine's form but not the shape
// this repair knows, rather than let an unreadable file pass as saved.
void CompleteAppendedXRefStream(QByteArray& Document);

} // namespace PDFium
