// How a PDF page is laid onto the printable area: stretched to its full width, at the top-left corner, its
// height in proportion, squeezed to the printable height when taller; never rotated.
#pragma once

struct TPageFit {
    double Scale; // printer pixels per PDF point, rounded to 4 decimals
    int Width;    // the printable width
    int Height;   // the page height times Scale, rounded, at most the printable height
};

// PrinterWidth, PrinterHeight: the printable area in device pixels; PageWidth, PageHeight: the page in
// points. A page without a positive width or height gets Scale 0 and Height 0, which no render accepts.
TPageFit FitPage(int PrinterWidth, int PrinterHeight, double PageWidth, double PageHeight);
