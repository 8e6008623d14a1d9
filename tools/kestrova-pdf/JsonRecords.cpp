#include "JsonRecords.h"

#include <QStringList>

using namespace PDFium;

namespace {

// The name at the value's ordinal, or the ordinal itself where the list has no name for it.
template <typename Enum> QString NameAt(Enum value, const QStringList& names) {
    const int ordinal = static_cast<int>(value);
    return ordinal >= 0 && ordinal < names.size() ? names[ordinal] : QString::number(ordinal);
}

// The names of the flags in a set whose flags run from ordinal 0 to Last.
template <typename Enum> QJsonArray FlagNames(PDFium::TSet<Enum> flags, Enum last) {
    QJsonArray names;
    for (int ordinal = 0; ordinal <= static_cast<int>(last); ++ordinal)
        if (flags.Contains(static_cast<Enum>(ordinal)))
            names.append(EnumName(static_cast<Enum>(ordinal)));
    return names;
}

QString HandleText(const void* handle) {
    return handle ? QStringLiteral("0x%1").arg(quintptr(handle), 0, 16) : QString();
}

} // namespace

QJsonObject ToJson(const TPdfPoint& Point) {
    return {{"X", Point.X}, {"Y", Point.Y}};
}

QJsonObject ToJson(const TPdfRectangle& Rectangle) {
    return {{"Left", Rectangle.Left},
            {"Top", Rectangle.Top},
            {"Right", Rectangle.Right},
            {"Bottom", Rectangle.Bottom}};
}

QJsonValue ToJson(TPdfAction Action) {
    static const QStringList names{"acUnsupported", "acGoto",   "acGotoRemote",
                                   "acUri",         "acLaunch", "acEmbeddedGoto"};
    const int ordinal = static_cast<int>(Action);
    if (ordinal >= 0 && ordinal < names.size())
        return names[ordinal];
    return ordinal;
}

QJsonObject ToJson(const TLinkAnnotation& Link) {
    QJsonArray points;
    for (const TQuadrilateralPoint& quad : Link.Points) {
        QJsonArray corners;
        for (const TPdfPoint& corner : quad)
            corners.append(ToJson(corner));
        points.append(corners);
    }
    return {{"Handle", HandleText(Link.Handle)},
            {"Rectangle", ToJson(Link.Rectangle)},
            {"PageNumber", Link.PageNumber},
            {"Action", ToJson(Link.Action)},
            {"ActionPageNumber", Link.ActionPageNumber},
            {"ActionPath", Link.ActionPath},
            {"Points", points}};
}

QJsonObject ToJson(const TWebLink& Link) {
    QJsonArray rectangles;
    for (const TPdfRectangle& rectangle : Link.Rectangles)
        rectangles.append(ToJson(rectangle));
    return {{"Url", Link.Url}, {"Rectangles", rectangles}};
}

QJsonObject ToJson(const TDestination& Destination) {
    return {{"Handle", HandleText(Destination.Handle)},
            {"Name", Destination.Name},
            {"PageNumber", Destination.PageNumber},
            {"HasX", Destination.HasX},
            {"X", Destination.X},
            {"HasY", Destination.HasY},
            {"Y", Destination.Y},
            {"HasZoom", Destination.HasZoom},
            {"Zoom", Destination.Zoom}};
}

QJsonObject ToJson(const TBookmark& Bookmark) {
    return {{"Handle", HandleText(Bookmark.Handle)},
            {"Title", Bookmark.Title},
            {"PageNumber", Bookmark.PageNumber},
            {"Action", ToJson(Bookmark.Action)},
            {"ActionPageNumber", Bookmark.ActionPageNumber}};
}

QJsonObject ToJson(const TPdfAnnotation& Annotation) {
    QJsonArray points;
    for (const TPdfPoint& corner : Annotation.AttachmentPoints)
        points.append(ToJson(corner));
    return {{"Subtype", EnumName(Annotation.Subtype)},
            {"Flags", FlagNames(Annotation.Flags, afToggleNoView)},
            {"HasColor", Annotation.HasColor},
            {"Color", ColorText(Annotation.Color)},
            {"ColorAlpha", Annotation.ColorAlpha},
            {"HasInteriorColor", Annotation.HasInteriorColor},
            {"InteriorColor", ColorText(Annotation.InteriorColor)},
            {"InteriorColorAlpha", Annotation.InteriorColorAlpha},
            {"HasAttachmentPoints", Annotation.HasAttachmentPoints},
            {"AttachmentPoints", points},
            {"Rectangle", ToJson(Annotation.Rectangle)},
            {"ContentsText", Annotation.ContentsText},
            {"AuthorText", Annotation.AuthorText}};
}

QJsonObject ToJson(const TPdfFormFieldEntry& Field) {
    QJsonObject json{{"PageNumber", Field.PageNumber},
                     {"Index", Field.Index},
                     {"Name", Field.Name},
                     {"Type", EnumName(Field.Kind)},
                     {"Value", Field.Value},
                     {"Flags", FlagNames(DecodeFormFieldFlags(Field.EngineFlags), ffChoiceEdit)},
                     {"EngineFlags", Field.EngineFlags}};
    if (Field.Kind == fkCheckBox || Field.Kind == fkRadioButton) {
        json.insert("Checked", Field.Checked);
        json.insert("State", Field.State);
    }
    if (Field.Kind == fkComboBox || Field.Kind == fkListBox) {
        json.insert("Options", QJsonArray::fromStringList(Field.Options));
        json.insert("ExportValues", QJsonArray::fromStringList(Field.ExportValues));
        json.insert("Selected", QJsonArray::fromStringList(Field.Selected));
    }
    return json;
}

QString ColorText(TColor Color) {
    const TColor rgb = (Color & 0xFF) << 16 | (Color & 0xFF00) | (Color >> 16 & 0xFF);
    return QStringLiteral("%1").arg(rgb, 6, 16, QLatin1Char('0')).toUpper();
}

QString EnumName(TRotation Value) {
    return NameAt(Value, {"ro0", "ro90", "ro180", "ro270"});
}

QString EnumName(TPdfVersion Value) {
    return NameAt(Value, {"pvUnknown", "pv10", "pv11", "pv12", "pv13", "pv14", "pv15", "pv16", "pv17"});
}

QString EnumName(TPageMode Value) {
    return NameAt(Value, {"pmNone", "pmOutline", "pmThumbs", "pmFullScreen", "pmOptionalContentGroup",
                          "pmAttachments", "pmUnknown"});
}

QString EnumName(TPrintPaperHandling Value) {
    return NameAt(Value, {"phUndefined", "phSimplex", "phDuplexFlipShortEdge", "phDuplexFlipLongEdge"});
}

QString EnumName(TPdfFormType Value) {
    return NameAt(Value, {"ftUnknown", "ftNone", "ftAcroForm", "ftXfaFull", "ftXfaForeground"});
}

QString EnumName(TObjectType Value) {
    return NameAt(Value, {"otUnknown", "otText", "otPath", "otImage", "otShading", "otForm"});
}

QString EnumName(TSaveOption Value) {
    return NameAt(Value, {"saNone", "saIncremental", "saNoIncremental", "saRemoveSecurity"});
}

QString EnumName(TPdfAnnotationSubtype Value) {
    return NameAt(Value, {"anUnknown",   "anText",      "anLink",           "anFreeText", "anLine",
                          "anSquare",    "anCircle",    "anPolygon",        "anPolyLine", "anHighlight",
                          "anUnderline", "anSquiggly",  "anStrikeout",      "anStamp",    "anCaret",
                          "anInk",       "anPopup",     "anFileAttachment", "anSound",    "anMovie",
                          "anWidget",    "anScreen",    "anPrinterMark",    "anTrapNet",  "anWaterMark",
                          "anThreed",    "anRichMedia", "anXfaWidget",      "anRedact"});
}

QString EnumName(TPdfAnnotationFlag Value) {
    return NameAt(Value, {"afInvisible", "afHidden", "afPrint", "afNoZoom", "afNoRotate", "afNoView",
                          "afReadOnly", "afLocked", "afToggleNoView"});
}

QString EnumName(TPdfFormFieldFlag Value) {
    return NameAt(Value,
                  {"ffReadOnly", "ffRequired", "ffNoExport", "ffMultiline", "ffChoiceCombo", "ffChoiceEdit"});
}

QString EnumName(TPdfFormFieldKind Value) {
    return NameAt(Value, {"fkUnknown", "fkPushButton", "fkCheckBox", "fkRadioButton", "fkComboBox",
                          "fkListBox", "fkText", "fkSignature"});
}
