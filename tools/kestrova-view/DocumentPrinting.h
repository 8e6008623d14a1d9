// Printing the document that kestrova-view shows, through Kestrova's own print path, with a progress dialog
// that keeps the window from input meanwhile. The document stays open on the page it was on.
#pragma once

#include "PrintDialog.h"

class QWidget;
namespace PDFium {
class TPdf;
}

// Prints the open document Pdf as Request asks, the job titled with its title or else its file name; returns
// how many pages went to the printer. Raises the print path's errors.
int PrintShownDocument(PDFium::TPdf& Pdf, const TPrintRequest& Request, QWidget* Parent);
