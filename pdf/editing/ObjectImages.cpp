#include "pdf/editing/ObjectImages.h"

#include "pdf/PdfError.h"
#include "pdf/engine/FPdfEdit.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace PDFium {

namespace {

const QString CannotRetrieveImageData = QStringLiteral("Cannot retrieve image data");

QImage::Format FormatOfDepth(int bitsPerPixel) {
    switch (bitsPerPixel) {
    case 8:
        return QImage::Format_Grayscale8;
    case 16:
        return QImage::Format_RGB16;
    case 24:
        return QImage::Format_BGR888;
    case 32:
        return QImage::Format_RGB32;
    default:
        return QImage::Format_Invalid;
    }
}

} // namespace

TPdfImage GetImage(FPDF_PAGEOBJECT ObjectHandle) {
    TPdfImage result;
    unsigned int size = 0;
    Check(FPDFPageObj_GetImage(ObjectHandle, &result.Height, &result.Width, &size, nullptr) != 0,
          CannotRetrieveImageData);
    result.Data.resize(static_cast<qsizetype>(size));
    Check(FPDFPageObj_GetImage(ObjectHandle, &result.Height, &result.Width, &size,
                               size == 0 ? nullptr : result.Data.data()) != 0,
          CannotRetrieveImageData);
    return result;
}

QImage GetBitmap(FPDF_PAGEOBJECT ObjectHandle) {
    int dibHeight = 0;
    int dibWidth = 0;
    int dibBpp = 0;
    int dibScanLineSize = 0;
    Check(FPDFPageObj_GetDIB(ObjectHandle, &dibHeight, &dibWidth, &dibBpp, &dibScanLineSize, nullptr) != 0,
          CannotRetrieveImageData);
    Check(dibHeight >= 0 && dibWidth >= 0 && dibScanLineSize >= 0, CannotRetrieveImageData);
    const size_t bufferSize = static_cast<size_t>(dibHeight) * static_cast<size_t>(dibScanLineSize);
    // The engine fills every byte: no need to clear them first.
    const auto buffer = std::make_unique_for_overwrite<uchar[]>(bufferSize);
    Check(FPDFPageObj_GetDIB(ObjectHandle, &dibHeight, &dibWidth, &dibBpp, &dibScanLineSize,
                             bufferSize == 0 ? nullptr : buffer.get()) != 0,
          CannotRetrieveImageData);

    const QImage::Format format = FormatOfDepth(dibBpp);
    if (format == QImage::Format_Invalid)
        return {};
    QImage bitmap(dibWidth, dibHeight, format);
    Check(!bitmap.isNull() || dibWidth == 0 || dibHeight == 0, QStringLiteral("Cannot create bitmap"));
    // The engine's rows may be longer or shorter than the bitmap's: each copy stops at the shorter of the
    // two, and at the rows the buffer was made for.
    const size_t rowBytes = std::min<size_t>(dibScanLineSize, bitmap.bytesPerLine());
    const int rows = static_cast<int>(
        std::min<size_t>(bitmap.height(), bufferSize / static_cast<size_t>(std::max(dibScanLineSize, 1))));
    for (int row = 0; row < rows; ++row)
        std::memcpy(bitmap.scanLine(row), buffer.get() + static_cast<size_t>(row) * dibScanLineSize,
                    rowBytes);
    return bitmap;
}

} // namespace PDFium
