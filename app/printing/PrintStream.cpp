#include "app/printing/PrintStream.h"

#include "app/printing/EPrinter.h"

void TPrintStream::PrintDocument(PDFium::TPdf&, const QList<int>&, const QString&) {
    throw EPrinter(QStringLiteral("The printer takes the pages as images, not the document"));
}
