// The annotation and form inspections of kestrova-pdf: every annotation of a page with all of its record, and
// every form field of the document.
#pragma once

#include "pdf/Pdf.h"

#include <QJsonObject>

QJsonObject InspectAnnotations(PDFium::TPdf& Pdf);
QJsonObject InspectFormFields(PDFium::TPdf& Pdf);
