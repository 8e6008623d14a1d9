// The words of the edit command's placements: a keyword, its fixed arguments, then key=value settings.
#include "ArgumentWords.h"
#include "PageEdits.h"

namespace {

const QStringList PlacementKeywords{"text", "image", "rect", "polyline"};

bool IsNumber(const QString& word) {
    bool ok = false;
    word.toDouble(&ok);
    return ok;
}

void ApplySetting(Placement& placement, const QString& word) {
    if (placement.Kind == PlacementKind::Polyline && word == QLatin1String("close")) {
        placement.Close = true;
        return;
    }
    const QString key = word.section('=', 0, 0);
    const QString value = word.section('=', 1);
    const bool isText = placement.Kind == PlacementKind::Text;
    const bool isImage = placement.Kind == PlacementKind::Image;
    const bool isPath = !isText && !isImage;
    if (isText && key == QLatin1String("font"))
        placement.Font = value;
    else if (isText && key == QLatin1String("size"))
        placement.FontSize = float(PositiveNumber(value, "size"));
    else if (isText && key == QLatin1String("color"))
        placement.Color = ColorValue(value);
    else if (!isImage && key == QLatin1String("alpha"))
        placement.Alpha = quint8(qBound(0.0, Number(value, "alpha"), 255.0));
    else if (isImage && key == QLatin1String("width"))
        placement.Size.setWidth(PositiveNumber(value, "width"));
    else if (isImage && key == QLatin1String("height"))
        placement.Size.setHeight(PositiveNumber(value, "height"));
    else if (isPath && key == QLatin1String("fill"))
        placement.Fill = ColorValue(value);
    else if (isPath && key == QLatin1String("stroke"))
        placement.Stroke = ColorValue(value);
    else if (isPath && key == QLatin1String("line"))
        placement.LineWidth = float(Number(value, "line"));
    else
        throw UsageError("unknown setting " + word.toStdString());
}

Placement ReadPlacement(const QStringList& words, qsizetype& position) {
    const QString keyword = words[position++];
    Placement placement;
    const QStringList head = Take(words, position, 3, keyword);
    bool ok = false;
    placement.PageNumber = head[0].toInt(&ok);
    if (!ok || placement.PageNumber < 1)
        throw UsageError("PAGE must be a page number from 1");
    placement.Points.append({Number(head[1], "X"), Number(head[2], "Y")});
    if (keyword == QLatin1String("text")) {
        placement.Kind = PlacementKind::Text;
        placement.Text = Take(words, position, 1, keyword)[0];
    } else if (keyword == QLatin1String("image")) {
        placement.Kind = PlacementKind::Image;
        placement.File = Take(words, position, 1, keyword)[0];
    } else if (keyword == QLatin1String("rect")) {
        placement.Kind = PlacementKind::Rectangle;
        const QStringList size = Take(words, position, 2, keyword);
        placement.Size = {Number(size[0], "WIDTH"), Number(size[1], "HEIGHT")};
    } else {
        placement.Kind = PlacementKind::Polyline;
        while (position + 1 < words.size() && IsNumber(words[position]) && IsNumber(words[position + 1])) {
            placement.Points.append({Number(words[position], "X"), Number(words[position + 1], "Y")});
            position += 2;
        }
        if (placement.Points.size() < 2)
            throw UsageError("polyline needs at least two points");
    }
    while (position < words.size() && !PlacementKeywords.contains(words[position]))
        ApplySetting(placement, words[position++]);
    return placement;
}

} // namespace

QList<Placement> ParsePlacements(const QStringList& Words) {
    return ReadRecords<Placement>(Words, PlacementKeywords, ReadPlacement, "text, image, rect or polyline",
                                  "edit needs at least one placement");
}

PDFium::TPdfVersion ParsePdfVersion(const QString& Text) {
    static const QStringList versions{"1.0", "1.1", "1.2", "1.3", "1.4", "1.5", "1.6", "1.7"};
    const qsizetype index = versions.indexOf(Text);
    if (index < 0)
        throw UsageError("--version must be one of 1.0 to 1.7");
    return static_cast<PDFium::TPdfVersion>(PDFium::pv10 + index);
}
