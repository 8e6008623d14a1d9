// The small in-memory dataset behind the assignment table: wide-string fields of a fixed size, rows kept in
// the order of a unique index, a cursor on the current row, the append/edit/post/cancel/delete cycle with its
// after-post and after-delete events, locating a row, and loading and saving the whole table as an XML data
// packet.
#pragma once

#include "pdf/Exception.h"

#include <QFlags>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

// Every failure of the dataset: a wrong state, a key violation, a packet that cannot be loaded or saved.
class EDatabaseError : public Exception {
public:
    using Exception::Exception;
};

// A wide-string field: its name and its size in UTF-16 code units.
struct TFieldDef {
    QString Name;
    int Size = 0;
};

enum class TDataSetState { dsInactive, dsBrowse, dsInsert, dsEdit };

enum TLocateOption { loCaseInsensitive = 0x1, loPartialKey = 0x2 };
Q_DECLARE_FLAGS(TLocateOptions, TLocateOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TLocateOptions)

class TClientDataSet : public QObject {
    Q_OBJECT
public:
    explicit TClientDataSet(QObject* Owner = nullptr);

    // Structure. Field definitions are kept when the dataset closes; rows are not.
    void Close();
    void ClearFieldDefs();
    void AddFieldDef(const QString& Name, int Size);
    const QList<TFieldDef>& FieldDefs() const { return FFieldDefs; }
    int FieldIndex(const QString& Name) const; // -1 when there is no such field
    void CreateDataSet();                      // opens the dataset empty, with the field definitions

    // Replaces structure and rows with those of the packet in the file; the dataset stays closed on failure.
    void LoadFromFile(const QString& FileName);
    // Writes the whole table as an XML packet into a sibling file, syncs it to disk and renames it over
    // FileName, so that a failed save leaves the previous file whole. A save that succeeds removes the
    // sibling files of earlier saves that were killed before their rename.
    void SaveToFile(const QString& FileName) const;

    // An ascending, unique, case-sensitive index on one field; fails when two rows hold the same value.
    void AddIndex(const QString& Name, const QString& FieldName);
    // Makes the named index current: the rows are then kept in its order.
    void SetIndexName(const QString& Name);

    TDataSetState State() const { return FState; }
    bool Active() const { return FState != TDataSetState::dsInactive; }
    int RecordCount() const { return static_cast<int>(FRows.size()); }
    bool IsEmpty() const { return FRows.isEmpty(); }
    int CurrentIndex() const { return FCurrent; } // -1 when there is no current row
    void SetCurrentIndex(int Row);

    // The current row's value, or the pending one while inserting or editing.
    QString FieldValue(const QString& FieldName) const;
    QString FieldValue(int Row, int Field) const { return FRows.at(Row).at(Field); }
    // Stores into the pending row; the value is cut to the field's size.
    void SetFieldValue(const QString& FieldName, const QString& Value);

    void Append();
    void Edit();
    void Post();
    void Cancel();
    void Delete();

    // Moves to the first row, in index order, whose field matches Value; false when none does. With
    // loPartialKey a row matches when its value begins with Value; an empty partial key matches only "*". A
    // partial key without regard to case on the current index's field is found by halving, else every row is
    // looked at in turn.
    bool Locate(const QString& FieldName, const QString& Value, TLocateOptions Options);

    // Events. An exception from one undoes the post or delete that raised it (the rows and the current row
    // are as they were before it, as the file that the event failed to write still holds them) and then
    // leaves that Post or Delete.
    std::function<void(TClientDataSet*)> AfterPost;
    std::function<void(TClientDataSet*)> AfterDelete;

signals:
    void DataChanged();    // rows, their order or the structure changed
    void CurrentChanged(); // another row became current

private:
    struct TIndexDef {
        QString Name;
        int Field = -1;
    };

    void CheckActive() const;
    void CheckBrowse() const;
    void CheckEditing() const;
    int CheckedFieldIndex(const QString& Name) const;
    const TIndexDef* CurrentIndexDef() const;
    int DuplicateOf(int Field, const QString& Key, int Except) const; // another row holding Key, or -1
    void Sort();
    void Open(QList<TFieldDef> FieldDefs, QList<QStringList> Rows);
    void MoveTo(int Row);
    void RunAfterEvent(const std::function<void(TClientDataSet*)>& Event,
                       const QList<QStringList>& RowsBefore, int CurrentBefore);

    QList<TFieldDef> FFieldDefs;
    QList<QStringList> FRows;
    QList<TIndexDef> FIndexDefs;
    QString FIndexName;
    TDataSetState FState = TDataSetState::dsInactive;
    int FCurrent = -1;
    QStringList FPending; // the row being inserted or edited
};
