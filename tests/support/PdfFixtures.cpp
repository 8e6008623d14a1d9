#include "support/PdfFixtures.h"

#include <QDir>
#include <QFile>

namespace {

QByteArray PdfString(const QString& text) {
    QByteArray escaped;
    for (char c : text.toLatin1()) {
        if (c == '(' || c == ')' || c == '\\')
            escaped += '\\';
        escaped += c;
    }
    return '(' + escaped + ')';
}

QByteArray Number(double value) {
    return QByteArray::number(value, 'f', 2);
}

QByteArray PageReference(int pageNumber) {
    return QByteArray::number(4 + 2 * (pageNumber - 1)) + " 0 R";
}

QByteArray NumberArray(const QList<double>& values) {
    QByteArray array = "[";
    for (double value : values)
        array += ' ' + Number(value);
    return array + " ]";
}

QByteArray LinkAnnotation(const FixtureLink& link) {
    const QRectF& area = link.Area;
    QByteArray annotation = "<< /Type /Annot /Subtype /Link /Rect " +
                            NumberArray({area.left(), area.top(), area.right(), area.bottom()});
    if (link.TargetPage != 0)
        annotation += " /Dest [" + PageReference(link.TargetPage) + " /Fit]";
    if (link.Uri)
        annotation += " /A << /S /URI /URI <" + link.Uri->toHex() + "> >>";
    if (!link.QuadPoints.isEmpty())
        annotation += " /QuadPoints " + NumberArray(link.QuadPoints);
    return annotation + " >>";
}

QByteArray Annotations(const FixturePage& page) {
    if (page.Links.isEmpty() && page.Annotations.isEmpty())
        return {};
    QByteArray annotations = " /Annots [";
    for (const FixtureLink& link : page.Links)
        annotations += ' ' + LinkAnnotation(link);
    for (const QByteArray& annotation : page.Annotations)
        annotations += ' ' + annotation;
    return annotations + " ]";
}

QByteArray NamedDestinations(const QList<FixtureDestination>& destinations) {
    if (destinations.isEmpty())
        return {};
    QByteArray dictionary = " /Dests <<";
    for (const FixtureDestination& destination : destinations)
        dictionary +=
            " /" + destination.Name + " [" + PageReference(destination.Page) + ' ' + destination.View + ']';
    return dictionary + " >>";
}

QByteArray NameTree(const QList<FixtureDestination>& destinations) {
    if (destinations.isEmpty())
        return {};
    QByteArray names;
    for (const FixtureDestination& destination : destinations)
        names += " <" + destination.Name.toHex() + "> [" + PageReference(destination.Page) + ' ' +
                 destination.View + ']';
    return " /Names << /Dests << /Names [" + names + " ] >> >>";
}

QByteArray FontEncoding(const QList<std::pair<char, QByteArray>>& glyphs) {
    if (glyphs.isEmpty())
        return {};
    QByteArray differences;
    for (const auto& [code, glyph] : glyphs)
        differences += ' ' + QByteArray::number(uchar(code)) + " /" + glyph;
    return " /Encoding << /Differences [" + differences + " ] >>";
}

// The outline's root as object First - 1 and its Depth entries, each the only child of the one before, as
// the objects from First on.
QList<QByteArray> Outline(int depth, int first) {
    const auto reference = [](int object) {
        return QByteArray::number(object) + " 0 R";
    };
    QList<QByteArray> objects{"<< /Type /Outlines /First " + reference(first) + " /Last " + reference(first) +
                              " /Count " + QByteArray::number(depth) + " >>"};
    for (int level = 1; level <= depth; ++level) {
        const int object = first + level - 1;
        QByteArray entry =
            "<< /Title (Level " + QByteArray::number(level) + ") /Parent " + reference(object - 1);
        if (level < depth)
            entry += " /First " + reference(object + 1) + " /Last " + reference(object + 1) + " /Count " +
                     QByteArray::number(depth - level);
        objects.append(entry + " >>");
    }
    return objects;
}

} // namespace

QByteArray MakePdf(const FixtureDocument& document) {
    QList<QByteArray> objects; // object n is objects[n - 1]
    const int pageCount = int(document.Pages.size());
    // 1 catalog, 2 pages, 3 font, then per page its page object and its content stream, then the outline
    // and the info.
    const int outlineRoot = 4 + 2 * pageCount;
    const QByteArray outlines =
        document.OutlineDepth > 0 ? " /Outlines " + QByteArray::number(outlineRoot) + " 0 R" : QByteArray();
    objects.append("<< /Type /Catalog /Pages 2 0 R" + outlines + NamedDestinations(document.Destinations) +
                   NameTree(document.NameTreeDestinations) +
                   (document.Catalog.isEmpty() ? QByteArray() : ' ' + document.Catalog) + " >>");
    QByteArray kids;
    for (int i = 0; i < pageCount; ++i)
        kids += QByteArray::number(4 + 2 * i) + " 0 R ";
    objects.append("<< /Type /Pages /Kids [" + kids + "] /Count " + QByteArray::number(pageCount) + " >>");
    objects.append("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica" + FontEncoding(document.FontGlyphs) +
                   " >>");
    for (int i = 0; i < pageCount; ++i) {
        const FixturePage& page = document.Pages[i];
        const QPointF& origin = page.Origin;
        QByteArray content;
        if (!page.Text.isEmpty())
            content = "BT /F1 24 Tf " + Number(origin.x() + 72) + ' ' +
                      Number(origin.y() + page.Size.height() - 96) + " Td " + PdfString(page.Text) + " Tj ET";
        if (!page.Content.isEmpty())
            content += '\n' + page.Content;
        objects.append("<< /Type /Page /Parent 2 0 R /MediaBox [" + Number(origin.x()) + ' ' +
                       Number(origin.y()) + ' ' + Number(origin.x() + page.Size.width()) + ' ' +
                       Number(origin.y() + page.Size.height()) + "] /Rotate " +
                       QByteArray::number(page.Rotation) +
                       " /Resources << /Font << /F1 3 0 R >> >> /Contents " + QByteArray::number(5 + 2 * i) +
                       " 0 R" + Annotations(page) + " >>");
        objects.append("<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content +
                       "\nendstream");
    }
    if (document.OutlineDepth > 0)
        objects += Outline(document.OutlineDepth, outlineRoot + 1);
    const bool hasInfo = !document.Title.isEmpty();
    if (hasInfo)
        objects.append("<< /Title " + PdfString(document.Title) + " >>");
    const qsizetype info = objects.size();
    // Replaced from the last, so that @object1 is not taken for the start of @object10.
    const qsizetype first = objects.size() + 1;
    objects += document.Objects;
    for (QByteArray& object : objects)
        for (qsizetype i = document.Objects.size() - 1; i >= 0; --i)
            object.replace("@object" + QByteArray::number(i), QByteArray::number(first + i) + " 0 R");

    QByteArray pdf = "%PDF-" + document.Version.toLatin1() + "\n%\xE2\xE3\xCF\xD3\n";
    QList<qsizetype> offsets;
    for (int n = 1; n <= objects.size(); ++n) {
        offsets.append(pdf.size());
        pdf += QByteArray::number(n) + " 0 obj\n" + objects[n - 1] + "\nendobj\n";
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R";
    if (hasInfo)
        pdf += " /Info " + QByteArray::number(info) + " 0 R";
    pdf += " >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

QString WritePdf(const QString& folder, const QString& name, const FixtureDocument& document) {
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(MakePdf(document));
    return path;
}
