// The grid on the table: its columns, rows in address order, and its selected row as the table's current row
// in both directions.
#include "TableFixtures.h"

#include "app/table/DBGrid.h"

#include <QHeaderView>

namespace {

TEST_F(TableTest, GridShowsTheColumnsAndFollowsTheCurrentRow) {
    TDataSource ds(&cds, AssignmentTable::GridColumns());
    TDBGrid grid;
    grid.SetDataSource(&ds);
    EXPECT_EQ(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
    const QStringList titles{"Module Address", "Module Name", "Specify printer name"};
    const QList<int> widths{82, 107, 154};
    for (int column = 0; column < 3; ++column) {
        EXPECT_EQ(ds.headerData(column, Qt::Horizontal).toString(), titles.at(column));
        EXPECT_EQ(grid.columnWidth(column), widths.at(column));
    }

    appendRow(cds, QStringLiteral("B1"), QStringLiteral("two"), QStringLiteral("Lab"));
    appendRow(cds, QStringLiteral("A1"), QStringLiteral("one"), QStringLiteral("Office"));
    ASSERT_EQ(ds.rowCount(), 2);
    EXPECT_EQ(ds.index(0, 0).data().toString(), QStringLiteral("A1"));
    EXPECT_EQ(ds.index(1, 2).data().toString(), QStringLiteral("Lab"));
    EXPECT_EQ(grid.currentIndex().row(), 0) << "the posted row is selected";

    grid.selectRow(1);
    EXPECT_EQ(cds.CurrentIndex(), 1);
    EXPECT_EQ(cds.FieldValue(AssignmentTable::fdModuleName), QStringLiteral("two"));

    cds.Delete();
    EXPECT_EQ(ds.rowCount(), 1);
    EXPECT_EQ(grid.currentIndex().row(), 0);
    cds.Delete();
    EXPECT_FALSE(grid.currentIndex().isValid());
}

} // namespace
