#include "PageEdits.h"

#include "JsonRecords.h"
#include "TextFont.h"

#include <QFile>
#include <QImageReader>
#include <QJsonArray>

using namespace PDFium;

namespace {

// The size asked for; where only the width or the height is given, the other keeps the picture's
// proportions, and where neither is, one point a pixel.
QSizeF PlacedSize(const QSizeF& asked, const QSize& pixels) {
    if (asked.width() > 0 && asked.height() > 0)
        return asked;
    if (asked.width() > 0)
        return {asked.width(), asked.width() * pixels.height() / pixels.width()};
    if (asked.height() > 0)
        return {asked.height() * pixels.width() / pixels.height(), asked.height()};
    return pixels;
}

void PlaceImage(TPdf& pdf, const Placement& placement) {
    const QPointF at = placement.Points.first();
    QImageReader reader(placement.File);
    const QSizeF size = PlacedSize(placement.Size, reader.size());
    if (reader.format() != "jpeg") {
        pdf.AddPicture(TPicture(placement.File), at.x(), at.y(), size.width(), size.height());
        return;
    }
    // JPEG data goes into the document as it stands, without decoding.
    QFile file(placement.File);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Cannot read ") + placement.File + QStringLiteral(": ") +
                        file.errorString());
    if (!pdf.AddJpegImage(file, at.x(), at.y(), size.width(), size.height()))
        throw Exception(QStringLiteral("The engine does not accept the JPEG image ") + placement.File);
}

void PlacePath(TPdf& pdf, const Placement& placement) {
    const QPointF start = placement.Points.first();
    const bool stroke = placement.Stroke.has_value() || !placement.Fill.has_value();
    const TPdfFillMode fillMode = placement.Fill ? fmWinding : fmNone;
    const TColor fill = placement.Fill.value_or(clBlack);
    const TColor strokeColor = placement.Stroke.value_or(clBlack);
    if (placement.Kind == PlacementKind::Rectangle) {
        pdf.CreatePath(float(start.x()), float(start.y()), float(placement.Size.width()),
                       float(placement.Size.height()), fillMode, fill, placement.Alpha, stroke, strokeColor,
                       placement.Alpha, placement.LineWidth, lcDefault, ljDefault, bmDefault);
    } else {
        pdf.CreatePath(float(start.x()), float(start.y()), fillMode, fill, placement.Alpha, stroke,
                       strokeColor, placement.Alpha, placement.LineWidth, lcDefault, ljDefault, bmDefault);
        for (const QPointF& point : placement.Points.mid(1))
            pdf.LineTo(float(point.x()), float(point.y()));
        if (placement.Close)
            pdf.ClosePath();
    }
    pdf.AddPath();
}

// The placement moved from the visible page's lower-left corner, where its coordinates start, into the
// page's own space, where the visible page may start anywhere.
Placement OnPage(Placement placement, const TPdfRectangle& visible) {
    for (QPointF& point : placement.Points)
        point += QPointF(visible.Left, visible.Bottom);
    return placement;
}

QString KindName(PlacementKind kind) {
    static const QStringList names{"text", "image", "rect", "polyline"};
    return names[static_cast<int>(kind)];
}

} // namespace

QJsonObject ApplyEdits(TPdf& Pdf, const EditRequest& Request) {
    QJsonArray placed;
    for (const Placement& requested : Request.Placements) {
        Check(requested.PageNumber <= Pdf.PageCount(), QStringLiteral("Incorrect page number"));
        Pdf.SetPageNumber(requested.PageNumber);
        const Placement placement = OnPage(requested, Pdf.PageBounds());
        const QPointF at = placement.Points.first();
        switch (placement.Kind) {
        case PlacementKind::Text:
            Pdf.AddText(placement.Text, FontForText(placement.Text, placement.Font), placement.FontSize,
                        at.x(), at.y(), placement.Color, placement.Alpha);
            break;
        case PlacementKind::Image:
            PlaceImage(Pdf, placement);
            break;
        case PlacementKind::Rectangle:
        case PlacementKind::Polyline:
            PlacePath(Pdf, placement);
            break;
        }
        const int objectIndex = Pdf.ObjectCount() - 1;
        placed.append(QJsonObject{{"Kind", KindName(placement.Kind)},
                                  {"PageNumber", placement.PageNumber},
                                  {"ObjectIndex", objectIndex},
                                  {"ObjectBounds", ToJson(Pdf.ObjectBounds(objectIndex))}});
    }
    QJsonObject report = SaveEdited(Pdf, Request);
    report.insert("Placements", placed);
    return report;
}

QJsonObject SaveEdited(TPdf& Pdf, const EditRequest& Request) {
    if (!Pdf.SaveAs(Request.Output, Request.Option, Request.Version))
        throw Exception(QStringLiteral("Cannot save ") + Request.Output);
    return {{"File", Request.Output},
            {"SaveOption", EnumName(Request.Option)},
            {"PdfVersion", EnumName(Request.Version)}};
}
