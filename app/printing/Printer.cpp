#include "app/printing/Printer.h"

#include "app/printing/EPrinter.h"
#include "app/printing/OpenPrintStream.h"
#include "app/printing/PrintStream.h"

#include <QImage>
#include <QLocale>

int FindPrinter(const QStringList& Printers, const QString& Name) {
    const QLocale locale;
    const QString wanted = locale.toLower(Name);
    for (qsizetype i = 0; i < Printers.size(); ++i) {
        if (Printers[i].size() == Name.size() && locale.toLower(Printers[i]) == wanted)
            return int(i);
    }
    return -1;
}

int FindJobPrinter(const QStringList& Printers, const QString& Name) {
    const int found = FindPrinter(Printers, Name);
    const qsizetype slash = Name.indexOf(u'/');
    return found >= 0 || slash < 0 ? found : FindPrinter(Printers, Name.first(slash));
}

TPrinter::TPrinter() : FPrinters(ReadPrinterList()) {}

TPrinter::~TPrinter() {
    Abort();
}

int TPrinter::PrinterIndex() const {
    return FPrinterIndex >= 0 ? FPrinterIndex : defaultIndex();
}

int TPrinter::defaultIndex() const {
    if (FPrinters.DefaultIndex >= 0)
        return FPrinters.DefaultIndex;
    throw EPrinter(FPrinters.Missing.isEmpty()
                       ? QStringLiteral("There is no default printer currently selected")
                       : FPrinters.Missing);
}

void TPrinter::SetPrinterIndex(int Index) {
    if (FPrinting)
        throw EPrinter(QStringLiteral("Printing in progress"));
    if (Index < -1 || Index >= FPrinters.Names.size())
        throw EPrinter(QStringLiteral("Printer index out of range"));
    const int chosen = Index == -1 ? defaultIndex() : Index;
    // The same printer again keeps its stream, with what it has read of the printer.
    if (chosen != FPrinterIndex)
        FStream.reset();
    FPrinterIndex = chosen;
}

void TPrinter::SetOptions(const TOptionValues& LinkOptions) {
    if (FPrinting)
        throw EPrinter(QStringLiteral("Printing in progress"));
    if (LinkOptions != FLinkOptions)
        FStream.reset();
    FLinkOptions = LinkOptions;
}

const TPrintOptions& TPrinter::Options() {
    return stream().Options();
}

int TPrinter::CopiesToSend() {
    return stream().CopiesToSend();
}

bool TPrinter::ReverseOrder() {
    return stream().ReverseOrder();
}

TPrintStream& TPrinter::stream() {
    if (!FStream)
        FStream = OpenPrintStream(FPrinters.Names.value(PrinterIndex()), FLinkOptions);
    return *FStream;
}

void TPrinter::notPrinting() const {
    const QString refusal = FStream ? FStream->Refusal() : QString();
    throw EPrinter(refusal.isEmpty() ? QStringLiteral("Printer is not currently printing") : refusal);
}

bool TPrinter::TakesDocument() {
    return stream().TakesDocument();
}

void TPrinter::PrintDocument(PDFium::TPdf& Pdf, const QList<int>& Pages) {
    if (FPrinting)
        throw EPrinter(QStringLiteral("Printing in progress"));
    stream().PrintDocument(Pdf, Pages, FTitle);
}

void TPrinter::BeginDoc() {
    if (FPrinting)
        throw EPrinter(QStringLiteral("Printing in progress"));
    FPrinting = stream().Begin(FTitle);
}

void TPrinter::NewPage() {
    if (!FPrinting)
        notPrinting();
    FStream->NewPage();
}

void TPrinter::EndDoc() {
    if (!FPrinting)
        notPrinting();
    FPrinting = false;
    FStream->End();
}

void TPrinter::Abort() {
    if (!FPrinting)
        return;
    FPrinting = false;
    FStream->Abort();
}

void TPrinter::Draw(const QImage& Bitmap) {
    if (FPrinting)
        FStream->Draw(Bitmap);
}

bool TPrinter::DrawTaking(QImage& Bitmap) {
    return FPrinting && FStream->DrawTaking(Bitmap);
}

int TPrinter::PageWidth() {
    return stream().PageWidth();
}

int TPrinter::PageHeight() {
    return stream().PageHeight();
}

int TPrinter::Resolution() {
    return stream().Resolution();
}

QMargins TPrinter::Margins() {
    return stream().Margins();
}

void PrintBitmap(TPrinter& Printer, const QImage& Bitmap) {
    Printer.Draw(Bitmap);
}
