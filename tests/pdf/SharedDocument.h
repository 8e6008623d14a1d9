// Opens one of the shared test documents in a component, with a chosen page current.
#pragma once

#include "pdf/Pdf.h"
#include "support/TestData.h"

inline void OpenShared(PDFium::TPdf& pdf, const char* relative, int pageNumber = 1) {
    pdf.SetFileName(testDataPath(relative));
    pdf.SetPageNumber(pageNumber);
    pdf.SetActive(true);
}
