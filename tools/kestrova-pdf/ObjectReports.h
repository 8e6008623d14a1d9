// The page-object inspections of kestrova-pdf: what the current page is made of, and its images written out
// as PNG files. Each answers one JSON object.
#pragma once

#include "pdf/Pdf.h"

#include <QJsonObject>

// Index, kind, bounds and transparency of every object of the current page.
QJsonObject InspectObjects(PDFium::TPdf& Pdf);

// Every image of the current page as its bitmap, written into Folder as page-P-image-N.png, with the size
// and byte count of the image's data.
QJsonObject ExtractImages(PDFium::TPdf& Pdf, const QString& Folder);
