// The data source between the table and the grid: a read-only item model that shows chosen fields of a
// TClientDataSet as columns, in the dataset's row order, and follows every change of the dataset.
#pragma once

#include "app/table/ClientDataSet.h"

#include <QAbstractTableModel>
#include <QList>

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

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    TClientDataSet* FDataSet;
    QList<TGridColumn> FColumns;
};
