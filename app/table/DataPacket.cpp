#include "app/table/DataPacket.h"

#include <QHash>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace DataPacket {

namespace {

// Row states of a packet that still carries a change log.
constexpr int rsOriginal = 0x1; // the values a later row changed or deleted
constexpr int rsDeleted = 0x2;
constexpr int rsModified = 0x8; // carries only the changed fields; the rest come from its original

struct TPacketRow {
    int State = 0;
    QHash<QString, QString> Values;
};

// One change: the row that holds it, the row it changed (0 for none; both counted from 1) and its state.
struct TChange {
    int Row = 0;
    int Original = 0;
    int State = 0;
};

struct TParsed {
    QList<TFieldDef> FieldDefs;
    QList<TPacketRow> Rows;
    QList<TChange> ChangeLog;
};

[[noreturn]] void fail(const QString& problem) {
    throw EDatabaseError(problem);
}

int number(QStringView text, const QString& what) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        fail(QStringLiteral("%1 is not a number: \"%2\"").arg(what, text.toString()));
    return value;
}

TFieldDef readField(const QXmlStreamAttributes& attributes) {
    const QString name = attributes.value(QLatin1String("attrname")).toString();
    const QStringView type = attributes.value(QLatin1String("fieldtype"));
    if (name.isEmpty())
        fail(QStringLiteral("a field has no name"));
    // The packet is written in ASCII, and a name, unlike a value, cannot carry a character reference.
    for (const QChar c : name)
        if (c.unicode() >= 0x80)
            fail(
                QStringLiteral("field %1 has a name outside ASCII, which this table cannot write").arg(name));
    if (type != u"string.uni" && type != u"string")
        fail(QStringLiteral("field %1 has the type \"%2\", which this table cannot hold").arg(name, type));
    const int width =
        number(attributes.value(QLatin1String("WIDTH")), QStringLiteral("the WIDTH of field %1").arg(name));
    // WIDTH counts bytes: two for each UTF-16 code unit of a wide field. A wide field of one byte holds no
    // character: every value would be lost, and the packet written back would no longer load.
    const int size = type == u"string.uni" ? width / 2 : width;
    if (size <= 0)
        fail(QStringLiteral("field %1 has no width").arg(name));
    return {name, size};
}

void addField(QList<TFieldDef>& fieldDefs, const TFieldDef& field) {
    for (const TFieldDef& other : fieldDefs)
        if (other.Name == field.Name)
            fail(QStringLiteral("field %1 is defined twice").arg(field.Name));
    fieldDefs.append(field);
}

QList<TChange> readChangeLog(QStringView text) {
    const QList<QStringView> numbers = text.split(u' ', Qt::SkipEmptyParts);
    if (numbers.size() % 3 != 0)
        fail(QStringLiteral("its change log is incomplete"));
    QList<TChange> log;
    for (qsizetype i = 0; i < numbers.size(); i += 3) {
        const QString what = QStringLiteral("an entry of its change log");
        log.append(
            {number(numbers.at(i), what), number(numbers.at(i + 1), what), number(numbers.at(i + 2), what)});
    }
    return log;
}

void readMetadata(QXmlStreamReader& xml, TParsed& parsed) {
    while (xml.readNextStartElement()) {
        if (xml.name() == u"FIELDS") {
            while (xml.readNextStartElement()) {
                if (xml.name() == u"FIELD")
                    addField(parsed.FieldDefs, readField(xml.attributes()));
                xml.skipCurrentElement();
            }
        } else {
            if (xml.name() == u"PARAMS")
                parsed.ChangeLog = readChangeLog(xml.attributes().value(QLatin1String("CHANGE_LOG")));
            xml.skipCurrentElement();
        }
    }
}

void readRows(QXmlStreamReader& xml, TParsed& parsed) {
    while (xml.readNextStartElement()) {
        if (xml.name() == u"ROW") {
            TPacketRow row;
            for (const QXmlStreamAttribute& attribute : xml.attributes()) {
                if (attribute.name() == u"RowState")
                    row.State = number(attribute.value(), QStringLiteral("a RowState"));
                else
                    row.Values.insert(attribute.name().toString(), attribute.value().toString());
            }
            parsed.Rows.append(std::move(row));
        }
        xml.skipCurrentElement();
    }
}

[[noreturn]] void failXml(const QXmlStreamReader& xml) {
    fail(QStringLiteral("it is not well-formed XML (line %1, column %2: %3)")
             .arg(xml.lineNumber())
             .arg(xml.columnNumber())
             .arg(xml.errorString()));
}

TParsed parse(const QByteArray& packet) {
    if (packet.trimmed().isEmpty())
        fail(QStringLiteral("the file is empty"));
    QXmlStreamReader xml(packet);
    if (!xml.readNextStartElement()) {
        if (xml.hasError())
            failXml(xml);
        fail(QStringLiteral("it holds no XML element"));
    }
    if (xml.name() != u"DATAPACKET")
        fail(QStringLiteral("it is not a data packet: its root element is <%1>").arg(xml.name()));
    TParsed parsed;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"METADATA")
            readMetadata(xml, parsed);
        else if (xml.name() == u"ROWDATA")
            readRows(xml, parsed);
        else
            xml.skipCurrentElement();
    }
    while (!xml.atEnd() && !xml.hasError())
        xml.readNext();
    if (xml.hasError())
        failXml(xml);
    if (parsed.FieldDefs.isEmpty())
        fail(QStringLiteral("it is not a data packet: it defines no fields"));
    return parsed;
}

// For every row, the row whose values it changed (-1 for none), and whether it is part of the result.
struct TMerge {
    QList<int> Base;
    QList<bool> Kept;
};

TMerge resolveChanges(const TParsed& parsed) {
    const int count = static_cast<int>(parsed.Rows.size());
    TMerge merge{QList<int>(count, -1), QList<bool>(count, true)};
    for (const TChange& change : parsed.ChangeLog) {
        if (change.Row < 1 || change.Row > count || change.Original < 0 || change.Original >= change.Row)
            fail(QStringLiteral("its change log refers to a row that the packet does not hold"));
        if (change.Original > 0) {
            merge.Base[change.Row - 1] = change.Original - 1;
            merge.Kept[change.Original - 1] = false;
        }
        if (change.State & rsDeleted)
            merge.Kept[change.Row - 1] = false;
    }
    // Without a log, a changed row belongs to the nearest original row before it that no other row claims:
    // the unclaimed originals seen so far, of which the last is the nearest.
    QList<int> unclaimed;
    for (int i = 0; i < count; ++i) {
        const int state = parsed.Rows.at(i).State;
        if (state & (rsOriginal | rsDeleted))
            merge.Kept[i] = false;
        if (parsed.ChangeLog.isEmpty() && (state & (rsModified | rsDeleted)) && !unclaimed.isEmpty())
            merge.Base[i] = unclaimed.takeLast();
        if (state & rsOriginal)
            unclaimed.append(i);
    }
    return merge;
}

// The value of a field in a row: its own, or else that of the row it changed, and so on back.
QString resolvedValue(const TParsed& parsed, const TMerge& merge, int row, const QString& field) {
    for (int i = row; i >= 0; i = merge.Base.at(i)) {
        const auto found = parsed.Rows.at(i).Values.constFind(field);
        if (found != parsed.Rows.at(i).Values.constEnd())
            return *found;
    }
    return QString();
}

// Everything outside ASCII as a character reference; the markup itself is ASCII.
QByteArray asciiWithReferences(const QString& text) {
    QByteArray result;
    result.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        if (c < 0x80)
            result.append(char(c));
        else
            result.append("&#" + QByteArray::number(uint(c)) + ';');
    }
    return result;
}

} // namespace

TContent Read(const QByteArray& Packet) {
    const TParsed parsed = parse(Packet);
    const TMerge merge = resolveChanges(parsed);
    TContent content{parsed.FieldDefs, {}};
    for (int i = 0; i < parsed.Rows.size(); ++i) {
        if (!merge.Kept.at(i))
            continue;
        QStringList row;
        for (const TFieldDef& field : parsed.FieldDefs)
            row.append(resolvedValue(parsed, merge, i, field.Name));
        content.Rows.append(row);
    }
    return content;
}

QByteArray Write(const QList<TFieldDef>& FieldDefs, const QList<QStringList>& Rows) {
    QString text;
    QXmlStreamWriter xml(&text);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    xml.writeStartElement(QStringLiteral("DATAPACKET"));
    xml.writeAttribute(QStringLiteral("Version"), QStringLiteral("2.0"));
    xml.writeStartElement(QStringLiteral("METADATA"));
    xml.writeStartElement(QStringLiteral("FIELDS"));
    for (const TFieldDef& field : FieldDefs) {
        xml.writeEmptyElement(QStringLiteral("FIELD"));
        xml.writeAttribute(QStringLiteral("attrname"), field.Name);
        xml.writeAttribute(QStringLiteral("fieldtype"), QStringLiteral("string.uni"));
        xml.writeAttribute(QStringLiteral("WIDTH"), QString::number(field.Size * 2));
    }
    xml.writeEndElement();
    xml.writeEmptyElement(QStringLiteral("PARAMS"));
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("ROWDATA"));
    for (const QStringList& row : Rows) {
        xml.writeEmptyElement(QStringLiteral("ROW"));
        for (int f = 0; f < FieldDefs.size(); ++f)
            if (!row.at(f).isEmpty())
                xml.writeAttribute(FieldDefs.at(f).Name, row.at(f));
    }
    xml.writeEndDocument();
    return asciiWithReferences(text);
}

} // namespace DataPacket
