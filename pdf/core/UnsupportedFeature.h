// The engine's notices about PDF features it does not support. There is one registration for the whole
// process: the last component with a handler that opened a document receives every later notice.
#pragma once

namespace PDFium {

class TPdf;

// Registers Pdf as the receiver of notices; raises EPdfError when the engine refuses.
void SetUnsupportedFeatureHandler(TPdf* Pdf);

// Withdraws Pdf as the receiver, if it is the one registered: called when it is destroyed.
void WithdrawUnsupportedFeatureHandler(TPdf* Pdf);

} // namespace PDFium
