// What TPdf asks of a page view bound to it. The component drives its views through this alone, so that it
// needs nothing of the widget: a view releases its page before the document closes, takes up its stored
// Active when the component is loaded, is left bound to nothing when the component goes, and repaints the
// engine page that the form-fill environment names.
#pragma once

#include "pdf/engine/FPdfView.h"

namespace PDFium {

class TPdfBoundView {
public:
    // Applies the Active that the view stores; the component has been loaded.
    virtual void ApplyActive() = 0;
    // Releases the view's page and clears its Active; the document is about to close.
    virtual void Deactivate() = 0;
    // The component is being destroyed; the view stays, bound to none.
    virtual void Unbind() = 0;
    // Repaints the view when it shows Page; true when it does.
    virtual bool InvalidatePage(FPDF_PAGE Page) = 0;

protected:
    ~TPdfBoundView() = default;
};

} // namespace PDFium
