// The print stream of Qt's print support: pages drawn through a QPainter on a QPrinter, which hands the print
// system a PDF. It serves printers that take no PWG raster, and Windows. Of the print options it takes those
// that Kestrova does itself: copies (the pages sent again), page ranges, scaling and turns.
#pragma once

#include "app/printing/PrintStream.h"

#include <QPainter>
#include <QPrinter>

class QPrinterInfo;

class TQtPrintStream : public TPrintStream {
public:
    // Pages go to Info's printer on its default paper at its own default resolution. Raises EPrinter for a
    // malformed option and for one of the printer's own (sides, paper, tray, colour).
    explicit TQtPrintStream(const QPrinterInfo& Info, const TOptionValues& LinkOptions = {});
    ~TQtPrintStream() override;

    int PageWidth() override { return FPrinter.width(); }
    int PageHeight() override { return FPrinter.height(); }
    int Resolution() override { return FPrinter.resolution(); }
    QMargins Margins() override { return FPrinter.pageLayout().marginsPixels(FPrinter.resolution()); }

    bool Begin(const QString& Title) override;
    void Draw(const QImage& Bitmap) override;
    void NewPage() override;
    void End() override;
    void Abort() override;
    QString Refusal() const override { return {}; }

private:
    bool started();

    QPrinter FPrinter;
    QPainter FCanvas;
};
