// The flex grid adapter: the heading row as row 0, counts that include it, widths in twips and
// alignments that hold for cells written before and after.
#include "reports/flex_grid.h"
#include "reports/twips.h"

#include <QHeaderView>
#include <QTableWidget>
#include <gtest/gtest.h>
#include <stdexcept>

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

TEST(FlexGrid, AddressesOutsideTheGridAreRefused) {
    QTableWidget table;
    FlexGrid grid(&table);
    grid.setCols(2);
    grid.setRows(2);
    EXPECT_THROW(grid.setTextMatrix(2, 0, "x"), std::out_of_range);
    EXPECT_THROW(grid.TextMatrix(0, 2), std::out_of_range);
    EXPECT_THROW(grid.setColWidth(-1, 100), std::out_of_range);
    EXPECT_THROW(grid.setRows(0), std::out_of_range);
    EXPECT_EQ(grid.Rows(), 2);
}

TEST(FlexGrid, WidthsInTwipsAndAlignmentsApplyToEveryCellOfTheColumn) {
    QTableWidget table;
    FlexGrid grid(&table);
    grid.setCols(2);
    grid.setRows(3);
    grid.setTextMatrix(1, 1, "before");
    grid.setColWidth(1, 2500);
    grid.setColAlignment(1, Qt::AlignCenter);
    grid.setTextMatrix(2, 1, "after");
    grid.setTextMatrix(0, 1, "heading");

    EXPECT_EQ(grid.ColWidth(1), 2500);
    EXPECT_EQ(table.columnWidth(1), toPixels(2500, table.logicalDpiX()));
    EXPECT_EQ(table.horizontalHeader()->sectionResizeMode(1), QHeaderView::Fixed);
    EXPECT_EQ(grid.ColAlignment(1), Qt::AlignCenter);
    for (int line : {0, 1})
        EXPECT_EQ(table.item(line, 1)->textAlignment(), int(Qt::AlignCenter)) << line;
    EXPECT_EQ(table.horizontalHeaderItem(1)->textAlignment(), int(Qt::AlignCenter));
}

} // namespace
} // namespace reports
