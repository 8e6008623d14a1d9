#include "app/table/ClientDataSet.h"

#include "app/table/DataPacket.h"
#include "app/table/SyncToDisk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <algorithm>

namespace {

// Characters that an XML packet cannot carry, not even as a character reference. Storing them would make a
// file that no reader accepts, and the whole table would be lost at the next start.
bool xmlCannotCarry(char32_t c) {
    return (c < 0x20 && c != 0x09 && c != 0x0A && c != 0x0D) || c == 0xFFFE || c == 0xFFFF ||
           (c >= 0xD800 && c <= 0xDFFF);
}

// The value as a field of Size code units stores it: cut to its first Size code units, without splitting a
// surrogate pair, and without characters the packet cannot carry.
QString storable(const QString& value, int size) {
    QString result;
    result.reserve(std::min<qsizetype>(value.size(), size));
    for (qsizetype i = 0; i < value.size();) {
        const bool pair =
            i + 1 < value.size() && value.at(i).isHighSurrogate() && value.at(i + 1).isLowSurrogate();
        const qsizetype length = pair ? 2 : 1;
        const char32_t code =
            pair ? QChar::surrogateToUcs4(value.at(i), value.at(i + 1)) : char32_t(value.at(i).unicode());
        if (!xmlCannotCarry(code)) {
            if (result.size() + length > size)
                break;
            result.append(value.mid(i, length));
        }
        i += length;
    }
    return result;
}

// Index order: without regard to case first, so that related addresses stand together, then with case, so
// that addresses differing only in case have a fixed order.
bool indexLess(const QString& a, const QString& b) {
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : QString::compare(a, b, Qt::CaseSensitive) < 0;
}

bool matches(const QString& stored, const QString& wanted, TLocateOptions options) {
    const Qt::CaseSensitivity cs =
        options.testFlag(loCaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    if (!options.testFlag(loPartialKey))
        return QString::compare(stored, wanted, cs) == 0;
    if (wanted.isEmpty())
        return stored == QStringLiteral("*");
    return stored.startsWith(wanted, cs);
}

// Removes what saves killed before their rename left beside the file: the sibling files that the save writes
// first, named after the file with a full stop and six letters or digits. They hold no data that the file
// lacks: a save that was killed never reported success.
void removeUnfinishedSaves(const QString& fileName) {
    // The save writes beside the file a symbolic link points to.
    const QFileInfo target(QFileInfo(fileName).exists() ? QFileInfo(fileName).canonicalFilePath() : fileName);
    const QRegularExpression unfinished(
        QStringLiteral("^%1\\.[A-Za-z0-9]{6}$").arg(QRegularExpression::escape(target.fileName())));
    const QDir folder = target.absoluteDir();
    for (const QString& name : folder.entryList({target.fileName() + QStringLiteral(".??????")}, QDir::Files))
        if (unfinished.match(name).hasMatch())
            QFile::remove(folder.filePath(name));
}

} // namespace

TClientDataSet::TClientDataSet(QObject* Owner) : QObject(Owner) {}

void TClientDataSet::Close() {
    FRows.clear();
    FIndexDefs.clear();
    FIndexName.clear();
    FPending.clear();
    FState = TDataSetState::dsInactive;
    FCurrent = -1;
    emit DataChanged();
    emit CurrentChanged();
}

void TClientDataSet::ClearFieldDefs() {
    if (Active())
        throw EDatabaseError(QStringLiteral("Cannot perform this operation on an open dataset"));
    FFieldDefs.clear();
}

void TClientDataSet::AddFieldDef(const QString& Name, int Size) {
    if (Active())
        throw EDatabaseError(QStringLiteral("Cannot perform this operation on an open dataset"));
    if (FieldIndex(Name) >= 0)
        throw EDatabaseError(QStringLiteral("Duplicate field name '%1'").arg(Name));
    FFieldDefs.append({Name, Size});
}

int TClientDataSet::FieldIndex(const QString& Name) const {
    for (int i = 0; i < FFieldDefs.size(); ++i)
        if (FFieldDefs.at(i).Name == Name)
            return i;
    return -1;
}

void TClientDataSet::CreateDataSet() {
    if (FFieldDefs.isEmpty())
        throw EDatabaseError(QStringLiteral("Field definitions are missing"));
    Open(FFieldDefs, {});
}

void TClientDataSet::LoadFromFile(const QString& FileName) {
    Close();
    // A device or a pipe would be read until memory runs out, or forever.
    if (const QFileInfo info(FileName); info.exists() && !info.isFile())
        throw EDatabaseError(QStringLiteral("the file cannot be read: it is %1")
                                 .arg(info.isDir()
                                          ? QStringLiteral("a folder")
                                          : QStringLiteral("not a regular file (a device, a pipe or a "
                                                           "socket)")));
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EDatabaseError(QStringLiteral("the file cannot be read: %1").arg(file.errorString()));
    const QByteArray packet = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EDatabaseError(QStringLiteral("the file cannot be read: %1").arg(file.errorString()));
    DataPacket::TContent content = DataPacket::Read(packet);
    Open(std::move(content.FieldDefs), std::move(content.Rows));
}

void TClientDataSet::SaveToFile(const QString& FileName) const {
    CheckActive();
    const QByteArray packet = DataPacket::Write(FFieldDefs, FRows);
    QSaveFile file(FileName);
    const auto fail = [&](const QString& problem) {
        throw EDatabaseError(QStringLiteral("Cannot save the table to \"%1\": %2").arg(FileName, problem));
    };
    if (!file.open(QIODevice::WriteOnly))
        fail(file.errorString());
    // A write cut short (a full disk, a size limit) must not reach the rename: commit alone lets it through.
    if (file.write(packet) != packet.size() || !file.flush() || file.size() != packet.size())
        fail(QStringLiteral("the file could not be written in full"));
    if (QString problem; !SyncToDisk(file, problem))
        fail(QStringLiteral("the file could not be written to disk: %1").arg(problem));
    if (!file.commit())
        fail(file.errorString());
    removeUnfinishedSaves(FileName);
}

void TClientDataSet::AddIndex(const QString& Name, const QString& FieldName) {
    CheckActive();
    const int field = CheckedFieldIndex(FieldName);
    QSet<QString> keys;
    keys.reserve(FRows.size());
    for (const QStringList& row : std::as_const(FRows)) {
        const QString& key = row.at(field);
        if (keys.contains(key))
            throw EDatabaseError(
                QStringLiteral("Key violation: two rows hold \"%1\" in %2").arg(key, FieldName));
        keys.insert(key);
    }
    FIndexDefs.append({Name, field});
}

void TClientDataSet::SetIndexName(const QString& Name) {
    if (std::none_of(FIndexDefs.begin(), FIndexDefs.end(),
                     [&](const TIndexDef& i) { return i.Name == Name; }))
        throw EDatabaseError(QStringLiteral("Index '%1' not found").arg(Name));
    FIndexName = Name;
    Sort();
    emit DataChanged();
}

void TClientDataSet::SetCurrentIndex(int Row) {
    CheckBrowse();
    if (Row < 0 || Row >= FRows.size())
        throw EDatabaseError(QStringLiteral("Row %1 out of range").arg(Row));
    MoveTo(Row);
}

QString TClientDataSet::FieldValue(const QString& FieldName) const {
    const int field = CheckedFieldIndex(FieldName);
    if (FState == TDataSetState::dsInsert || FState == TDataSetState::dsEdit)
        return FPending.at(field);
    return FCurrent < 0 ? QString() : FRows.at(FCurrent).at(field);
}

void TClientDataSet::SetFieldValue(const QString& FieldName, const QString& Value) {
    CheckEditing();
    const int field = CheckedFieldIndex(FieldName);
    FPending[field] = storable(Value, FFieldDefs.at(field).Size);
}

void TClientDataSet::Append() {
    CheckBrowse();
    FPending = QStringList(FFieldDefs.size(), QString());
    FState = TDataSetState::dsInsert;
}

void TClientDataSet::Edit() {
    CheckBrowse();
    if (FCurrent < 0)
        throw EDatabaseError(QStringLiteral("Cannot perform this operation on an empty dataset"));
    FPending = FRows.at(FCurrent);
    FState = TDataSetState::dsEdit;
}

void TClientDataSet::Post() {
    CheckEditing();
    const int replaced = FState == TDataSetState::dsEdit ? FCurrent : -1;
    for (const TIndexDef& index : FIndexDefs)
        if (DuplicateOf(index.Field, FPending.at(index.Field), replaced) >= 0)
            throw EDatabaseError(QStringLiteral("Key violation."));
    const QList<QStringList> rowsBefore = FRows;
    const int currentBefore = FCurrent;
    if (replaced >= 0) {
        FRows[replaced] = std::exchange(FPending, {});
    } else {
        FRows.append(std::exchange(FPending, {}));
        FCurrent = static_cast<int>(FRows.size()) - 1;
    }
    FState = TDataSetState::dsBrowse;
    Sort();
    emit DataChanged();
    emit CurrentChanged();
    RunAfterEvent(AfterPost, rowsBefore, currentBefore);
}

void TClientDataSet::Cancel() {
    if (FState != TDataSetState::dsInsert && FState != TDataSetState::dsEdit)
        return;
    FPending.clear();
    FState = TDataSetState::dsBrowse;
}

void TClientDataSet::Delete() {
    CheckBrowse();
    if (FCurrent < 0)
        throw EDatabaseError(QStringLiteral("Cannot perform this operation on an empty dataset"));
    const QList<QStringList> rowsBefore = FRows;
    const int currentBefore = FCurrent;
    FRows.removeAt(FCurrent);
    const int next = std::min(FCurrent, static_cast<int>(FRows.size()) - 1);
    FCurrent = -1;
    MoveTo(next);
    emit DataChanged();
    RunAfterEvent(AfterDelete, rowsBefore, currentBefore);
}

void TClientDataSet::RunAfterEvent(const std::function<void(TClientDataSet*)>& Event,
                                   const QList<QStringList>& RowsBefore, int CurrentBefore) {
    if (!Event)
        return;
    try {
        Event(this);
    } catch (...) {
        FRows = RowsBefore;
        FCurrent = CurrentBefore;
        emit DataChanged();
        emit CurrentChanged();
        throw;
    }
}

bool TClientDataSet::Locate(const QString& FieldName, const QString& Value, TLocateOptions Options) {
    CheckBrowse();
    const int field = CheckedFieldIndex(FieldName);
    qsizetype first = 0;
    qsizetype end = FRows.size();
    // Rows in the order of an index on the field stand without regard to case first, so the values that begin
    // with a key without regard to case stand together, from the first value not below the key: only that
    // row can be the first match.
    if (const TIndexDef* index = CurrentIndexDef(); index != nullptr && index->Field == field &&
                                                    Options == (loCaseInsensitive | loPartialKey) &&
                                                    !Value.isEmpty()) {
        first =
            std::partition_point(FRows.cbegin(), FRows.cend(),
                                 [&](const QStringList& row) {
                                     return QString::compare(row.at(field), Value, Qt::CaseInsensitive) < 0;
                                 }) -
            FRows.cbegin();
        end = std::min(first + 1, end);
    }
    for (qsizetype i = first; i < end; ++i) {
        if (matches(FRows.at(i).at(field), Value, Options)) {
            MoveTo(int(i));
            return true;
        }
    }
    return false;
}

void TClientDataSet::CheckActive() const {
    if (!Active())
        throw EDatabaseError(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

void TClientDataSet::CheckBrowse() const {
    CheckActive();
    if (FState != TDataSetState::dsBrowse)
        throw EDatabaseError(QStringLiteral("Dataset is in edit or insert mode"));
}

void TClientDataSet::CheckEditing() const {
    if (FState != TDataSetState::dsInsert && FState != TDataSetState::dsEdit)
        throw EDatabaseError(QStringLiteral("Dataset not in edit or insert mode"));
}

int TClientDataSet::CheckedFieldIndex(const QString& Name) const {
    const int field = FieldIndex(Name);
    if (field < 0)
        throw EDatabaseError(QStringLiteral("Field '%1' not found").arg(Name));
    return field;
}

const TClientDataSet::TIndexDef* TClientDataSet::CurrentIndexDef() const {
    for (const TIndexDef& index : FIndexDefs)
        if (index.Name == FIndexName)
            return &index;
    return nullptr;
}

int TClientDataSet::DuplicateOf(int Field, const QString& Key, int Except) const {
    for (int i = 0; i < FRows.size(); ++i)
        if (i != Except && FRows.at(i).at(Field) == Key)
            return i;
    return -1;
}

void TClientDataSet::Sort() {
    const TIndexDef* index = CurrentIndexDef();
    if (index == nullptr)
        return;
    const int field = index->Field;
    const QStringList current = FCurrent >= 0 ? FRows.at(FCurrent) : QStringList();
    std::stable_sort(FRows.begin(), FRows.end(), [field](const QStringList& a, const QStringList& b) {
        return indexLess(a.at(field), b.at(field));
    });
    if (FCurrent >= 0)
        FCurrent = static_cast<int>(FRows.indexOf(current));
}

void TClientDataSet::Open(QList<TFieldDef> FieldDefs, QList<QStringList> Rows) {
    FFieldDefs = std::move(FieldDefs);
    FRows = std::move(Rows);
    for (QStringList& row : FRows)
        for (int f = 0; f < FFieldDefs.size(); ++f)
            row[f] = storable(row.at(f), FFieldDefs.at(f).Size);
    FState = TDataSetState::dsBrowse;
    FCurrent = -1;
    MoveTo(FRows.isEmpty() ? -1 : 0);
    emit DataChanged();
}

void TClientDataSet::MoveTo(int Row) {
    if (Row == FCurrent)
        return;
    FCurrent = Row;
    emit CurrentChanged();
}
