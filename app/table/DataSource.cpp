#include "app/table/DataSource.h"

TDataSource::TDataSource(TClientDataSet* DataSet, QList<TGridColumn> Columns, QObject* Owner)
    : QAbstractTableModel(Owner), FDataSet(DataSet), FColumns(std::move(Columns)) {
    connect(FDataSet, &TClientDataSet::DataChanged, this, [this] {
        beginResetModel();
        endResetModel();
    });
}

int TDataSource::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : FDataSet->RecordCount();
}

int TDataSource::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(FColumns.size());
}

QVariant TDataSource::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return QVariant();
    const int field = FDataSet->FieldIndex(FColumns.at(index.column()).FieldName);
    return field < 0 ? QVariant() : QVariant(FDataSet->FieldValue(index.row(), field));
}

QVariant TDataSource::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return FColumns.at(section).Title;
}
