#include "AnnotationEdits.h"

#include "ArgumentWords.h"
#include "JsonRecords.h"

using namespace PDFium;

namespace {

const QStringList EditKeywords{"add", "set", "delete"};

// The enumeration value whose name, without its two-letter prefix and in lower case, is Word.
template <typename Enum> std::optional<Enum> ValueNamed(const QString& word, int last) {
    for (int ordinal = 0; ordinal <= last; ++ordinal)
        if (EnumName(static_cast<Enum>(ordinal)).mid(2).toLower() == word)
            return static_cast<Enum>(ordinal);
    return std::nullopt;
}

TPdfAnnotationFlags FlagsValue(const QString& text) {
    TPdfAnnotationFlags flags;
    for (const QString& word : text.split(',', Qt::SkipEmptyParts)) {
        const auto flag = ValueNamed<TPdfAnnotationFlag>(word.toLower(), afToggleNoView);
        if (!flag)
            throw UsageError("unknown annotation flag " + word.toStdString());
        flags.Include(*flag);
    }
    return flags;
}

QList<double> Numbers(const QString& text, qsizetype count, const char* what) {
    const QStringList words = text.split(',');
    if (words.size() != count)
        throw UsageError(std::string(what) + " needs " + std::to_string(count) + " numbers");
    QList<double> numbers;
    for (const QString& word : words)
        numbers.append(Number(word, what));
    return numbers;
}

// LEFT,BOTTOM,RIGHT,TOP.
TPdfRectangle RectangleValue(const QList<double>& n) {
    return {n[0], n[3], n[2], n[1]};
}

TQuadrilateralPoint PointsValue(const QList<double>& n) {
    return {{{n[0], n[1]}, {n[2], n[3]}, {n[4], n[5]}, {n[6], n[7]}}};
}

quint8 AlphaValue(const QString& text) {
    return quint8(qBound(0.0, Number(text, "alpha"), 255.0));
}

void ApplySetting(AnnotationEdit& edit, const QString& word) {
    const QString key = word.section('=', 0, 0);
    const QString value = word.section('=', 1);
    if (key == QLatin1String("color"))
        edit.Color = ColorValue(value);
    else if (key == QLatin1String("alpha"))
        edit.Alpha = AlphaValue(value);
    else if (key == QLatin1String("interior"))
        edit.InteriorColor = ColorValue(value);
    else if (key == QLatin1String("interior-alpha"))
        edit.InteriorAlpha = AlphaValue(value);
    else if (key == QLatin1String("contents"))
        edit.Contents = value;
    else if (key == QLatin1String("author"))
        edit.Author = value;
    else if (key == QLatin1String("flags"))
        edit.Flags = FlagsValue(value);
    else if (key == QLatin1String("points"))
        edit.Points = PointsValue(Numbers(value, 8, "points"));
    else if (key == QLatin1String("rect"))
        edit.Rectangle = RectangleValue(Numbers(value, 4, "rect"));
    else
        throw UsageError("unknown setting " + word.toStdString());
}

AnnotationEdit ReadEdit(const QStringList& words, qsizetype& position) {
    const QString keyword = words[position++];
    AnnotationEdit edit;
    edit.PageNumber = PageArgument(Take(words, position, 1, keyword)[0]);
    if (keyword == QLatin1String("add")) {
        const QStringList head = Take(words, position, 5, keyword);
        const auto subtype = ValueNamed<TPdfAnnotationSubtype>(head[0].toLower(), anRedact);
        if (!subtype)
            throw UsageError("unknown annotation subtype " + head[0].toStdString());
        edit.Subtype = *subtype;
        if (edit.Subtype == anInk)
            throw UsageError("annotate cannot draw the strokes that an ink annotation needs");
        edit.Rectangle = RectangleValue({Number(head[1], "LEFT"), Number(head[2], "BOTTOM"),
                                         Number(head[3], "RIGHT"), Number(head[4], "TOP")});
    } else {
        edit.Kind = keyword == QLatin1String("set") ? AnnotationEditKind::Set : AnnotationEditKind::Delete;
        bool ok = false;
        edit.Index = Take(words, position, 1, keyword)[0].toInt(&ok);
        if (!ok)
            throw UsageError("INDEX must be a number");
    }
    while (position < words.size() && !EditKeywords.contains(words[position])) {
        if (edit.Kind == AnnotationEditKind::Delete)
            throw UsageError("delete takes no settings");
        ApplySetting(edit, words[position++]);
    }
    return edit;
}

bool IsTextMarkup(TPdfAnnotationSubtype subtype) {
    return subtype == anHighlight || subtype == anUnderline || subtype == anSquiggly ||
           subtype == anStrikeout;
}

// The record to add: printed, red, text markup over its rectangle.
TPdfAnnotation NewRecord(const AnnotationEdit& edit) {
    TPdfAnnotation record;
    record.Subtype = edit.Subtype;
    record.Flags = {afPrint};
    record.HasColor = true;
    record.Color = 0x0000FF;
    record.ColorAlpha = 255;
    record.Rectangle = *edit.Rectangle;
    if (IsTextMarkup(edit.Subtype)) {
        const TPdfRectangle& r = record.Rectangle;
        record.HasAttachmentPoints = true;
        record.AttachmentPoints = {
            {{r.Left, r.Top}, {r.Right, r.Top}, {r.Left, r.Bottom}, {r.Right, r.Bottom}}};
    }
    return record;
}

// A colour given in part keeps the rest of what the annotation had, or black and opaque.
void ChangeColor(bool& has, TColor& color, quint8& alpha, std::optional<TColor> newColor,
                 std::optional<quint8> newAlpha) {
    if (!newColor && !newAlpha)
        return;
    color = newColor.value_or(has ? color : clBlack);
    alpha = newAlpha.value_or(has ? alpha : 255);
    has = true;
}

void ApplyChanges(TPdfAnnotation& record, const AnnotationEdit& edit) {
    if (edit.Rectangle)
        record.Rectangle = *edit.Rectangle;
    ChangeColor(record.HasColor, record.Color, record.ColorAlpha, edit.Color, edit.Alpha);
    ChangeColor(record.HasInteriorColor, record.InteriorColor, record.InteriorColorAlpha, edit.InteriorColor,
                edit.InteriorAlpha);
    if (edit.Contents)
        record.ContentsText = *edit.Contents;
    if (edit.Author)
        record.AuthorText = *edit.Author;
    if (edit.Flags)
        record.Flags = *edit.Flags;
    if (edit.Points) {
        record.HasAttachmentPoints = true;
        record.AttachmentPoints = *edit.Points;
    }
}

// The edit's rectangle and points moved from the visible page's lower-left corner, where they are given, into
// the page's own space, where the visible page may start anywhere.
AnnotationEdit OnPage(AnnotationEdit edit, const TPdfRectangle& visible) {
    if (edit.Rectangle) {
        TPdfRectangle& r = *edit.Rectangle;
        r = {r.Left + visible.Left, r.Top + visible.Bottom, r.Right + visible.Left,
             r.Bottom + visible.Bottom};
    }
    if (edit.Points)
        for (TPdfPoint& point : *edit.Points)
            point = {point.X + visible.Left, point.Y + visible.Bottom};
    return edit;
}

QString KindName(AnnotationEditKind kind) {
    return EditKeywords[static_cast<int>(kind)];
}

} // namespace

QList<AnnotationEdit> ParseAnnotationEdits(const QStringList& Words) {
    return ReadRecords<AnnotationEdit>(Words, EditKeywords, ReadEdit, "add, set or delete",
                                       "annotate needs at least one edit");
}

QJsonObject ApplyAnnotationEdits(TPdf& Pdf, const QList<AnnotationEdit>& Edits, const EditRequest& Save) {
    QJsonArray applied;
    for (const AnnotationEdit& given : Edits) {
        Check(given.PageNumber <= Pdf.PageCount(), QStringLiteral("Incorrect page number"));
        Pdf.SetPageNumber(given.PageNumber);
        const AnnotationEdit edit = OnPage(given, Pdf.PageBounds());
        QJsonObject report{{"Edit", KindName(edit.Kind)}, {"PageNumber", edit.PageNumber}};
        int index = edit.Index;
        switch (edit.Kind) {
        case AnnotationEditKind::Add: {
            TPdfAnnotation record = NewRecord(edit);
            ApplyChanges(record, edit);
            Pdf.CreateAnnotation(record);
            index = Pdf.AnnotationCount() - 1;
            break;
        }
        case AnnotationEditKind::Set: {
            TPdfAnnotation record = Pdf.Annotation(index);
            ApplyChanges(record, edit);
            Pdf.SetAnnotation(index, record);
            break;
        }
        case AnnotationEditKind::Delete:
            Pdf.DeleteAnnotation(index);
            break;
        }
        report.insert("Index", index);
        if (edit.Kind != AnnotationEditKind::Delete)
            report.insert("Annotation", ToJson(Pdf.Annotation(index)));
        applied.append(report);
    }
    QJsonObject report = SaveEdited(Pdf, Save);
    report.insert("Edits", applied);
    return report;
}

TFormValues ParseFormValues(const QStringList& Words) {
    TFormValues values;
    for (const QString& word : Words) {
        const qsizetype equals = word.indexOf('=');
        if (equals <= 0)
            throw UsageError("expected NAME=VALUE, not " + word.toStdString());
        values.append({word.left(equals), word.mid(equals + 1)});
    }
    if (values.isEmpty())
        throw UsageError("fill needs at least one NAME=VALUE");
    return values;
}

QJsonObject FillForm(TPdf& Pdf, const TFormValues& Values, const EditRequest& Save) {
    FillFormFields(Pdf, Values);
    QJsonObject report = SaveEdited(Pdf, Save);
    QJsonArray fields;
    QList<TPdfPageError> unreadable;
    for (const TPdfFormFieldEntry& field : ListFormFields(Pdf, &unreadable))
        for (const auto& [name, value] : Values)
            if (field.Name == name)
                fields.append(ToJson(field));
    report.insert("Fields", fields);
    return report;
}
