// The data source between the table and the grid: a read-only item model that shows chosen fields of a
// TClientDataSet as columns, in the dataset's row order, and follows every change of the dataset. A row may
// carry a note, such as a printer that no longer exists: the row is then shown in red, with the note as its
// tool tip.
#pragma once

#include "app/table/ClientDataSet.h"

#include <QAbstractTableModel>
#include <QList>

#include <functional>

// A grid column: the field it shows, its title and its width in pixels.
struct TGridColumn {
    QString FieldName;
    QString Title;
    int Width = 0;
};

class TDataSource : public QAbstractTableModel {
    Q_OBJECT
public:
    TDataSource(TClientDataSet* DataSet, QList<TGridColumn> Columns, QObject* Owner = nullptr);

    TClientDataSet* DataSet() const { return FDataSet; }
    const QList<TGridColumn>& Columns() const { return FColumns; }
    // The note of a row, by its position in the dataset; empty for a row without one.
    void SetRowNote(std::function<QString(int Row)> RowNote);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    TClientDataSet* FDataSet;
    QList<TGridColumn> FColumns;
    std::function<QString(int)> FRowNote;
};
