// The read-only data grid: a table view on a TDataSource whose selected row is always the dataset's current
// row, in both directions.
#pragma once

#include "app/table/DataSource.h"

#include <QTableView>

class TDBGrid : public QTableView {
    Q_OBJECT
public:
    explicit TDBGrid(QWidget* Parent = nullptr);

    // Shows the data source with its column titles and widths and ties the selection to the current row.
    void SetDataSource(TDataSource* DataSource);

private:
    void SelectCurrentRow();

    TDataSource* FDataSource = nullptr;
};
