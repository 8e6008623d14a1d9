// How the PDF component reports failure: one exception class, EPdfError, raised with a fixed English message
// through Check, or through CheckPdf, where the engine's own text for its last error takes precedence.
#pragma once

#include "pdf/Exception.h"

namespace PDFium {

class EPdfError : public Exception {
public:
    using Exception::Exception;
};

// A document that was not opened because it needs a password, or another one than the one given.
class EPdfPasswordError : public EPdfError {
public:
    using EPdfError::EPdfError;
};

// Raises EPdfError with Message when Value is false.
void Check(bool Value, const QString& Message);

// The engine's text for its last error code, empty when it reports none.
QString LastPdfError();

// Raises EPdfError when Value is false: with the engine's error text when it has one, otherwise ErrorMessage;
// EPdfPasswordError when the engine wants a password.
// The engine sets its error code only when it fails to open a document and never clears it, so only the
// opening of a document may consult it; any other failure would report a stale code from an earlier open
// (a page beyond the end as "Password required or incorrect password"), and checks with Check instead.
void CheckPdf(bool Value, const QString& ErrorMessage);

} // namespace PDFium
