// A page of a TPdf as the document's form-fill environment knows it: made current and announced to the
// environment for the scope's life, withdrawn (any focus taken away first) on every way out. Clicks on a
// widget and the commit of the focused field's editing go through it.
#pragma once

#include "pdf/Pdf.h"

namespace PDFium {

// The appearance state ("AS") that Widget, a check box or radio button, shows: "Off" where the state names
// none of its appearances, which draws it empty as the engine reads it (Form, where given, says so).
QString ShownState(FPDF_FORMHANDLE Form, FPDF_ANNOTATION Widget);

class FormPage {
public:
    FormPage(TPdf& Pdf, int PageNumber);
    ~FormPage();
    FormPage(const FormPage&) = delete;
    FormPage& operator=(const FormPage&) = delete;

    // Gives the focus to annotation Index, the widget itself, wherever other widgets lie over it; raises
    // EPdfError where the engine refuses it.
    void Focus(int Index) const;
    // Presses annotation Index, a check box or radio button: a click in its middle, or where another widget
    // lies on top there, the space bar once it has the focus.
    void Press(int Index) const;
    // Ends the editing of the focused field, which commits its value.
    void Commit() const;
    // The appearance state that annotation Index, a check box or radio button, shows (ShownState).
    QString State(int Index) const;
    // The value that annotation Index, a check box or radio button, stands for by the engine's reading; empty
    // where the engine does not say. The engine answers for a page announced to the environment only.
    QString ExportValue(int Index) const;
    FPDF_FORMHANDLE Form() const { return FForm; }
    FPDF_PAGE Page() const { return FPage; }

private:
    FPDF_FORMHANDLE FForm;
    FPDF_PAGE FPage = nullptr;
};

} // namespace PDFium
