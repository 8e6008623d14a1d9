// The form fields of a whole document as a reader of the form sees them: every widget annotation of every
// page with the full name of its field, its kind, value, flags, check state and, for choice fields, the
// options offered. Needs the document's form-fill environment for flags and options, and for the name and
// value of a field whose parent is no annotation.
#pragma once

#include "pdf/Pdf.h"

#include <QList>
#include <QStringList>

namespace PDFium {

enum TPdfFormFieldKind {
    fkUnknown,
    fkPushButton,
    fkCheckBox,
    fkRadioButton,
    fkComboBox,
    fkListBox,
    fkText,
    fkSignature
};

struct TPdfFormFieldEntry {
    int PageNumber = 0;
    int Index = 0; // the annotation index on its page
    QString Name;  // the field's full name, parts joined by dots; empty where the engine gives none
    TPdfFormFieldKind Kind = fkUnknown;
    // TPdf::FormField of the widget; where the widget's parent field is no annotation, the engine's form
    // reads it instead (empty without that reading).
    QString Value;
    int EngineFlags = 0; // the field's whole flag word
    // Check boxes and radio buttons: the appearance state the widget shows ("Off" or its on state), and
    // whether that is its on state; "Off" where the state names no appearance of the widget, which is then
    // drawn empty.
    QString State;
    bool Checked = false;
    QStringList Options; // choice fields: the labels offered
    // Choice fields: the value that choosing each option gives the field, as the engine gives it; empty
    // where the engine would not say.
    QStringList ExportValues;
    QStringList Selected; // choice fields: the labels selected, in the order offered
};

// A page that could not be read, and why.
struct TPdfPageError {
    int PageNumber = 0;
    QString Message;
};

// Every widget of the document, page by page; leaves the component on the page it was on, and the document
// as it was (the export values of choice fields are read from a copy). A page that cannot
// be opened raises its EPdfError, or with Unreadable given is listed there and passed over.
QList<TPdfFormFieldEntry> ListFormFields(TPdf& Pdf, QList<TPdfPageError>* Unreadable = nullptr);

} // namespace PDFium
