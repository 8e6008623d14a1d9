#include "PngFile.h"

#include "pdf/PdfError.h"
#include "pdf/WriteWhole.h"
#include "pdf/editing/FileSave.h"

#include <QBuffer>

void WritePng(const QImage& Image, const QString& FileName) {
    PDFium::TFileSave file(FileName);
    // Encoded whole before the first byte is written, so that a file that refuses bytes says why in its own
    // words.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    PDFium::Check(Image.save(&buffer, "PNG"), QStringLiteral("Cannot encode the picture as PNG"));
    const bool written = WriteWhole(file.Device(), png.constData(), png.size());
    PDFium::Check(written, file.WriteError());
    file.Commit();
}
