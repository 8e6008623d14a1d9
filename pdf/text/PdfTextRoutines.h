// The unit routines behind TPdf's text, link and navigation members: each works on engine handles alone, so
// the component's members only guard, load and cache around them.
#pragma once

#include "pdf/PdfLinkTypes.h"

namespace PDFium {

// The text page of Page, built with the arithmetic exceptions masked; raises "Cannot open text page".
FPDF_TEXTPAGE OpenTextPage(FPDF_PAGE Page);

// The text of Count characters from StartIndex, cut at the end of the page; empty when nothing is left.
QString GetText(FPDF_TEXTPAGE TextPage, int StartIndex, int Count);

// Every link annotation of the page, in the engine's order.
TLinkAnnotations GetLinkAnnotations(FPDF_DOCUMENT Document, FPDF_PAGE Page);

// Every web link the engine recognises in the text page; the engine's link list is closed on every path.
TWebLinks GetWebLinks(FPDF_TEXTPAGE TextPage);

// The 1-based page of a destination; 0 without a destination or when the engine cannot resolve its page.
int DestinationPageNumber(FPDF_DOCUMENT Document, FPDF_DEST Destination);

// The bytes of an action's URI or file path as text: UTF-8 where they are valid UTF-8, else Latin-1.
QString DecodeActionPath(const QByteArray& Bytes);

} // namespace PDFium
