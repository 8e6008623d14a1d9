#include "ObjectReports.h"

#include "JsonRecords.h"

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

QJsonObject ExtractImages(TPdf& Pdf, const QString& Folder) {
    Check(QDir().mkpath(Folder), QStringLiteral("Cannot create folder ") + Folder);
    QJsonArray images;
    for (int index = 0; index < Pdf.ImageCount(); ++index) {
        const TPdfImage image = Pdf.Image(index);
        const QImage bitmap = Pdf.Bitmap(index);
        const QString file =
            QDir(Folder).filePath(QStringLiteral("page-%1-image-%2.png").arg(Pdf.PageNumber()).arg(index));
        if (!bitmap.save(file, "PNG"))
            throw Exception(QStringLiteral("Cannot write ") + file);
        images.append(QJsonObject{{"Index", index},
                                  {"Width", image.Width},
                                  {"Height", image.Height},
                                  {"ByteCount", image.Data.size()},
                                  {"BitmapWidth", bitmap.width()},
                                  {"BitmapHeight", bitmap.height()},
                                  {"BitsPerPixel", bitmap.depth()},
                                  {"File", file}});
    }
    return {{"PageNumber", Pdf.PageNumber()}, {"ImageCount", images.size()}, {"Images", images}};
}
