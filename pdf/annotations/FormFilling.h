// Filling a form as a person would: every value goes in through the document's form-fill environment, by
// clicks and typing on the field's widget, so that the engine writes the value and draws the field's
// appearance anew, and every reader shows it. Text fields take any text, check boxes "Off" or their on
// state, radio groups the export value or on state of one of their buttons (never "Off"), choice fields one
// of their options, by its label or its export value.
#pragma once

#include "pdf/Pdf.h"

#include <QList>
#include <utility>

namespace PDFium {

using TFormValues = QList<std::pair<QString, QString>>;

// Fills each named field with its value. A list box that allows several options selects every value given
// for its name, and no others; any other field named twice keeps the last value. Every name and value is
// checked before the first change: an unknown name, a read-only field, a field of no fillable kind or a value
// a choice field does not offer raises EPdfError and changes nothing. A value the engine does not take (a
// radio button or check box without that state, a text longer than the field allows) raises EPdfError after
// the change; the caller then does not save.
void FillFormFields(TPdf& Pdf, const TFormValues& Values);

} // namespace PDFium
