// The flex grid adapter: the heading row as row 0, and counts that include it.
#include "reports/flex_grid.h"

#include <QTableWidget>
#include <gtest/gtest.h>

namespace reports {
namespace {

TEST(FlexGrid, RowZeroIsTheHeadingRowAndCountsIncludeIt) {
    QTableWidget table;
    FlexGrid grid(&table);
    EXPECT_EQ(grid.Rows(), 1);
    grid.setCols(3);
    grid.setRows(3);
    EXPECT_EQ(table.rowCount(), 2);
    grid.setTextMatrix(0, 1, "District");
    grid.setTextMatrix(2, 1, "Moga");
    EXPECT_EQ(table.horizontalHeaderItem(1)->text(), "District");
    EXPECT_EQ(table.item(1, 1)->text(), "Moga");
    EXPECT_EQ(grid.TextMatrix(2, 1), "Moga");
    EXPECT_EQ(grid.TextMatrix(1, 2), "") << "a cell never written reads empty";

    grid.setRows(2); // drops line 2
    grid.setRows(3);
    EXPECT_EQ(grid.TextMatrix(2, 1), "") << "a line dropped and grown again is empty";
    EXPECT_EQ(grid.TextMatrix(0, 1), "District");

    grid.setTextMatrix(1, 0, "1");
    grid.Clear();
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.TextMatrix(0, 1), "");
    EXPECT_EQ(grid.TextMatrix(1, 0), "");
}

} // namespace
} // namespace reports
