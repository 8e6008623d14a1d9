#include "app/table/DBGrid.h"

#include <QHeaderView>
#include <QItemSelectionModel>

TDBGrid::TDBGrid(QWidget* Parent) : QTableView(Parent) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->hide();
    // One line a row, cut at the column's edge, as a data grid shows its cells.
    setWordWrap(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
}

void TDBGrid::SetDataSource(TDataSource* DataSource) {
    FDataSource = DataSource;
    setModel(DataSource);
    for (int column = 0; column < DataSource->Columns().size(); ++column)
        setColumnWidth(column, DataSource->Columns().at(column).Width);
    TClientDataSet* dataSet = DataSource->DataSet();
    connect(dataSet, &TClientDataSet::CurrentChanged, this, &TDBGrid::SelectCurrentRow);
    connect(DataSource, &QAbstractItemModel::modelReset, this, &TDBGrid::SelectCurrentRow);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [dataSet](const QModelIndex& current) {
                if (current.isValid() && current.row() != dataSet->CurrentIndex() &&
                    dataSet->State() == TDataSetState::dsBrowse)
                    dataSet->SetCurrentIndex(current.row());
            });
    SelectCurrentRow();
}

void TDBGrid::SelectCurrentRow() {
    const int row = FDataSource->DataSet()->CurrentIndex();
    if (row < 0)
        selectionModel()->clearCurrentIndex();
    else
        selectionModel()->setCurrentIndex(
            model()->index(row, currentIndex().isValid() ? currentIndex().column() : 0),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}
