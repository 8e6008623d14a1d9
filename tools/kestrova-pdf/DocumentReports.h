// The inspections of kestrova-pdf: each reads what TPdf sees in an open document and answers it as one JSON
// object. Failures are the component's EPdfError, or an Exception where the tool itself cannot go on.
#pragma once

#include "pdf/Pdf.h"

#include <QJsonObject>

// Opens File with Password; with PageNumber not 0 that page becomes the current one ("Incorrect page number"
// beyond the document's end).
void OpenInspected(PDFium::TPdf& Pdf, const QString& File, const QString& Password, int PageNumber);

QJsonObject InspectInfo(PDFium::TPdf& Pdf);
QJsonObject InspectText(PDFium::TPdf& Pdf);
// Every match from the start of the page forwards, or with Backward from its end backwards.
QJsonObject InspectFind(PDFium::TPdf& Pdf, const QString& Text, PDFium::TSearchOptions Options,
                        bool Backward);
QJsonObject InspectLinks(PDFium::TPdf& Pdf);
QJsonObject InspectOutline(const PDFium::TPdf& Pdf);
// Renders the current page at Dpi on white and writes it to Output as PNG.
QJsonObject RenderToPng(PDFium::TPdf& Pdf, double Dpi, const QString& Output);
