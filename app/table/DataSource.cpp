#include "app/table/DataSource.h"

#include <QColor>

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

void TDataSource::SetRowNote(std::function<QString(int)> RowNote) {
    FRowNote = std::move(RowNote);
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

QVariant TDataSource::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return QVariant();
    if (role == Qt::ForegroundRole || role == Qt::ToolTipRole) {
        const QString note = FRowNote ? FRowNote(index.row()) : QString();
        if (!note.isEmpty())
            return role == Qt::ToolTipRole ? QVariant(note) : QVariant(QColor(Qt::red));
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return QVariant();
    const int field = FDataSet->FieldIndex(FColumns.at(index.column()).FieldName);
    return field < 0 ? QVariant() : QVariant(FDataSet->FieldValue(index.row(), field));
}

QVariant TDataSource::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return FColumns.at(section).Title;
}
