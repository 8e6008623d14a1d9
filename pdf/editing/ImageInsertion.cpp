#include "pdf/editing/ImageInsertion.h"

#include "pdf/PdfError.h"
#include "pdf/binding/EngineHandles.h"
#include "pdf/engine/FPdfEdit.h"

#include <QIODevice>
#include <QPainter>
#include <cstring>
#include <limits>
#include <vector>

namespace PDFium {

namespace {

// The largest stream the engine's file access can describe: its length field is 32 bits wide on Windows,
// and the same bound holds everywhere so that a document does not depend on where it was made.
constexpr qint64 MaxEngineStreamSize = std::numeric_limits<quint32>::max();

// The engine's read access record followed by the stream it reads, so that GetBlock finds the stream
// behind the record that the engine passes back.
struct TPdfFileAccess {
    FPDF_FILEACCESS FileAccess;
    QIODevice* Stream;
};

// The engine's read callback: exactly size bytes from position, counted from the start of the stream. A
// stream that cannot deliver them answers 0, the engine's failure value; nothing is thrown through the
// engine's frames.
int GetBlock(void* param, unsigned long position, unsigned char* pBuf, unsigned long size) {
    try {
        QIODevice* stream = static_cast<TPdfFileAccess*>(param)->Stream;
        const auto wanted = static_cast<qint64>(size);
        if (!stream->seek(static_cast<qint64>(position)))
            return 0;
        return stream->read(reinterpret_cast<char*>(pBuf), wanted) == wanted ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

// Sets the placement matrix, inserts the object into the page, which then owns it, and regenerates the
// page content.
void PlaceImageObject(FPDF_PAGE Page, OwnedPageObject image, double X, double Y, double Width,
                      double Height) {
    Check(FPDFImageObj_SetMatrix(image.get(), Width, 0, 0, Height, X, Y) != 0,
          QStringLiteral("Cannot set matrix"));
    FPDFPage_InsertObject(Page, image.release());
    Check(FPDFPage_GenerateContent(Page) != 0, QStringLiteral("Cannot create page content"));
}

OwnedPageObject NewImageObject(FPDF_DOCUMENT Document) {
    OwnedPageObject image(FPDFPageObj_NewImageObj(Document));
    Check(image != nullptr, QStringLiteral("Cannot create image object"));
    return image;
}

} // namespace

QImage PictureToBitmap(const TPicture& Picture) {
    QImage bitmap(Picture.Width(), Picture.Height(), QImage::Format_RGB32);
    if (bitmap.isNull())
        return bitmap;
    bitmap.fill(Qt::white);
    QPainter painter(&bitmap);
    painter.drawImage(0, 0, Picture.Image());
    return bitmap;
}

void AddBitmap(FPDF_DOCUMENT Document, FPDF_PAGE Page, const QImage& Bitmap, double X, double Y, double Width,
               double Height) {
    // A picture without pixels has no depth at all; the engine refuses to make its bitmap.
    Check(Bitmap.isNull() || Bitmap.depth() == 32, QStringLiteral("Unsupported pixel format"));
    // Every 32-bit layout becomes the engine's blue, green, red and an unused fourth byte.
    const QImage pixels = Bitmap.convertToFormat(QImage::Format_RGB32);
    const int scanLineSize = pixels.width() * 4;
    std::vector<uchar> buffer(static_cast<size_t>(scanLineSize) * pixels.height());
    for (int row = 0; row < pixels.height(); ++row)
        std::memcpy(buffer.data() + static_cast<size_t>(row) * scanLineSize, pixels.constScanLine(row),
                    scanLineSize);

    OwnedPageObject image = NewImageObject(Document);
    // Declared after the buffer, so the engine bitmap that uses it in place goes first.
    const OwnedBitmap engineBitmap(
        FPDFBitmap_CreateEx(pixels.width(), pixels.height(), FPDFBitmap_BGRx, buffer.data(), scanLineSize));
    Check(engineBitmap != nullptr, QStringLiteral("Cannot create bitmap"));
    FPDF_PAGE pages[] = {Page};
    Check(FPDFImageObj_SetBitmap(pages, 1, image.get(), engineBitmap.get()) != 0,
          QStringLiteral("Cannot assign bitmap"));
    PlaceImageObject(Page, std::move(image), X, Y, Width, Height);
}

bool AddJpegImage(FPDF_DOCUMENT Document, FPDF_PAGE Page, QIODevice& Stream, double X, double Y, double Width,
                  double Height) {
    const qint64 size = Stream.size();
    Check(size <= MaxEngineStreamSize,
          QStringLiteral("Cannot load JPEG image: the stream holds %1 bytes, more than the engine can read "
                         "(%2 bytes at most)")
              .arg(size)
              .arg(MaxEngineStreamSize));
    OwnedPageObject image = NewImageObject(Document);
    TPdfFileAccess access{};
    access.FileAccess.m_FileLen = static_cast<unsigned long>(size);
    access.FileAccess.m_GetBlock = &GetBlock;
    access.FileAccess.m_Param = &access;
    access.Stream = &Stream;
    FPDF_PAGE pages[] = {Page};
    // The engine answers success even for data that is no JPEG at all, and leaves the object without an
    // image; only an image object that holds data has been accepted.
    if (!FPDFImageObj_LoadJpegFileInline(pages, 1, image.get(), &access.FileAccess) ||
        FPDFImageObj_GetImageDataRaw(image.get(), nullptr, 0) == 0)
        return false;
    PlaceImageObject(Page, std::move(image), X, Y, Width, Height);
    return true;
}

} // namespace PDFium
