#include "app/printing/PlacedPdf.h"

#include "app/printing/PagePlacement.h"
#include "pdf/Pdf.h"

#include <QBuffer>

QTransform PageToSheet(const PDFium::TPdfRectangle& Bounds, int QuarterTurns, const QRectF& Target) {
    const double width = Bounds.Right - Bounds.Left;
    const double height = Bounds.Top - Bounds.Bottom;
    const int turns = ((QuarterTurns % 4) + 4) % 4;
    // The visible area moved to the origin, turned clockwise within the quadrant, then stretched onto Target.
    // QTransform maps row vectors, so each step is multiplied on the right.
    QTransform turn;
    switch (turns) {
    case 1:
        turn = QTransform(0, -1, 1, 0, 0, width);
        break;
    case 2:
        turn = QTransform(-1, 0, 0, -1, width, height);
        break;
    case 3:
        turn = QTransform(0, 1, -1, 0, height, 0);
        break;
    default:
        break;
    }
    const bool sideways = turns % 2 == 1;
    const double turnedWidth = sideways ? height : width;
    const double turnedHeight = sideways ? width : height;
    return QTransform::fromTranslate(-Bounds.Left, -Bounds.Bottom) * turn *
           QTransform::fromScale(Target.width() / turnedWidth, Target.height() / turnedHeight) *
           QTransform::fromTranslate(Target.left(), Target.top());
}

QByteArray PlacePdfPages(PDFium::TPdf& Pdf, const QList<int>& Pages, const TPwgPageSetup& Setup,
                         const TPrintOptions& Options) {
    // The pages are placed in a copy, saved with what was typed into its form.
    QBuffer copy;
    copy.open(QIODevice::WriteOnly);
    Pdf.SaveAs(copy, PDFium::saNoIncremental, PDFium::pvUnknown);
    PDFium::TPdf sheets;
    sheets.SetFormFill(false);
    sheets.LoadDocument(copy.buffer());

    const double point = 72.0 / Setup.Resolution; // one device pixel, in points
    const double sheetWidth = Setup.SheetWidth * point;
    const double sheetHeight = Setup.SheetHeight * point;
    sheets.PlacePagesOnSheets(Pages, [&] {
        const TPagePlacement place =
            PlacePage(Setup.PrintableWidth(), Setup.PrintableHeight(), Setup.Resolution, sheets.PageWidth(),
                      sheets.PageHeight(), Options.Scaling, Options.Orientation, Setup.Margins());
        // Device pixels count down from the printable area's top-left corner; PDF's points up from the
        // sheet's lower-left one.
        const QRectF target((Setup.Left + place.X) * point,
                            sheetHeight - (Setup.Top + place.Y + place.Height) * point, place.Width * point,
                            place.Height * point);
        const QRect area = Setup.Printable();
        const QRectF printable(area.left() * point, sheetHeight - (area.bottom() + 1) * point,
                               area.width() * point, area.height() * point);
        const QRectF shown = target.intersected(printable);
        return PDFium::TSheetPlacement{
            PageToSheet(sheets.PageBounds(), sheets.PageRotation() + place.Rotation, target),
            {shown.left(), shown.bottom(), shown.right(), shown.top()},
            sheetWidth,
            sheetHeight};
    });
    // Pages not printed go, from the last, so that the numbers of those before stay.
    sheets.SetPageNumber(0);
    for (int pageNumber = sheets.PageCount(); pageNumber >= 1; --pageNumber)
        if (!Pages.contains(pageNumber))
            sheets.DeletePage(pageNumber);
    // A document without pages prints one empty sheet, as a job of page images holds the page it began with.
    if (sheets.PageCount() == 0)
        sheets.AddPage(1, sheetWidth, sheetHeight);

    QBuffer placed;
    placed.open(QIODevice::WriteOnly);
    sheets.SaveAs(placed, PDFium::saNoIncremental, PDFium::pvUnknown);
    return placed.buffer();
}
