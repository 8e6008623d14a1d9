#include "ObjectReports.h"

#include "JsonRecords.h"
#include "PngFile.h"

#include <QDir>
#include <QJsonArray>

using namespace PDFium;

QJsonObject InspectObjects(TPdf& Pdf) {
    QJsonArray objects;
    for (int index = 0; index < Pdf.ObjectCount(); ++index)
        objects.append(QJsonObject{{"Index", index},
                                   {"ObjectType", EnumName(Pdf.ObjectType(index))},
                                   {"ObjectBounds", ToJson(Pdf.ObjectBounds(index))},
                                   {"ObjectTransparent", Pdf.ObjectTransparent(index)}});
    return {{"PageNumber", Pdf.PageNumber()},
            {"Transparent", Pdf.Transparent()},
            {"ObjectCount", objects.size()},
            {"Objects", objects}};
}

namespace {

// Image Index written into Folder as a PNG: its own bitmap, or where the engine cannot hand that over, the
// image as the page draws it.
QJsonObject ExtractImage(TPdf& pdf, int index, const QString& folder) {
    const TPdfImage image = pdf.Image(index);
    QImage bitmap;
    bool rendered = false;
    try {
        bitmap = pdf.Bitmap(index);
    } catch (const EPdfError&) {
        bitmap = pdf.RenderedBitmap(index);
        rendered = true;
    }
    const QString file =
        QDir(folder).filePath(QStringLiteral("page-%1-image-%2.png").arg(pdf.PageNumber()).arg(index));
    WritePng(bitmap, file);
    QJsonObject entry{{"Index", index},
                      {"Width", image.Width},
                      {"Height", image.Height},
                      {"ByteCount", image.Data.size()},
                      {"BitmapWidth", bitmap.width()},
                      {"BitmapHeight", bitmap.height()},
                      {"BitsPerPixel", bitmap.depth()},
                      {"File", file}};
    if (rendered)
        entry.insert("Rendered", true);
    return entry;
}

} // namespace

QJsonObject ExtractImages(TPdf& Pdf, const QString& Folder) {
    Check(QDir().mkpath(Folder), QStringLiteral("Cannot create folder ") + Folder);
    QJsonArray images;
    // An image that cannot be read is reported with its error in its place, and the others still are.
    for (int index = 0; index < Pdf.ImageCount(); ++index) {
        try {
            images.append(ExtractImage(Pdf, index, Folder));
        } catch (const EPdfError& error) {
            images.append(QJsonObject{{"Index", index}, {"Error", error.Message()}});
        }
    }
    return {{"PageNumber", Pdf.PageNumber()}, {"ImageCount", images.size()}, {"Images", images}};
}
