#include "pdf/editing/XRefStreamRepair.h"

#include "pdf/PdfError.h"

#include <QRegularExpression>
#include <limits>

namespace PDFium {

namespace {

// What the engine writes around its cross-reference stream, byte for byte.
constexpr char EngineTail[] = "\r\nendstream\r\nstartxref\r\n";
constexpr char EntryLayout[] = "/W[0 4 1]/Index[";
constexpr char LengthKey[] = "]/Length ";
constexpr char StreamStart[] = ">>stream\r\n";
// Each entry: the object's offset in four bytes, most significant first, and its generation in one.
constexpr int EntrySize = 5;

void CheckShape(bool known) {
    Check(known, QStringLiteral("Cannot save incrementally: the engine wrote a cross-reference stream that "
                                "readers cannot open"));
}

QByteArray Entry(qint64 offset) {
    QByteArray entry(EntrySize, '\0');
    for (int byte = 0; byte < 4; ++byte)
        entry[byte] = char((offset >> (8 * (3 - byte))) & 0xFF);
    return entry;
}

} // namespace

void CompleteAppendedXRefStream(QByteArray& Document) {
    static const QRegularExpression tail(
        QStringLiteral("\\r\\nendstream\\r\\nstartxref\\r\\n(\\d+)\\r\\n%%EOF\\r\\n$"));
    const qsizetype searchFrom = std::max<qsizetype>(0, Document.size() - 64);
    const QRegularExpressionMatch end = tail.match(QString::fromLatin1(Document.mid(searchFrom)));
    if (!end.hasMatch())
        return;
    const qsizetype tailStart = searchFrom + end.capturedStart();
    bool ok = false;
    const qint64 start = end.captured(1).toLongLong(&ok);
    CheckShape(ok && start >= 0 && start < tailStart && start <= std::numeric_limits<quint32>::max());

    static const QRegularExpression objectStart(QStringLiteral("^(\\d+) 0 obj <<"));
    const QRegularExpressionMatch head = objectStart.match(QString::fromLatin1(Document.mid(start, 32)));
    CheckShape(head.hasMatch());
    const QByteArray number = head.captured(1).toLatin1();
    const qsizetype dictionary = start + head.capturedLength();
    const qsizetype layout = Document.indexOf(EntryLayout, dictionary);
    const qsizetype lengthKey = layout < 0 ? -1 : Document.indexOf(LengthKey, layout);
    const qsizetype streamStart = lengthKey < 0 ? -1 : Document.indexOf(StreamStart, lengthKey);
    CheckShape(streamStart > 0 && streamStart < tailStart);
    const qsizetype lengthStart = lengthKey + qsizetype(sizeof(LengthKey) - 1);
    const qint64 length = Document.mid(lengthStart, streamStart - lengthStart).toLongLong(&ok);
    const qsizetype data = streamStart + qsizetype(sizeof(StreamStart) - 1);
    CheckShape(ok && data + length == tailStart && length % EntrySize == 0);

    QByteArray completed = Document.left(start);
    completed += number + " 0 obj <</Type/XRef" + Document.mid(dictionary, lengthKey - dictionary);
    completed += ' ' + number + " 1" + LengthKey + QByteArray::number(length + EntrySize) + StreamStart;
    completed += Document.mid(data, length) + Entry(start);
    completed += QByteArray(EngineTail).replace("endstream\r\n", "endstream\r\nendobj\r\n");
    completed += QByteArray::number(start) + "\r\n%%EOF\r\n";
    Document = completed;
}

} // namespace PDFium
