// A QTableWidget seen as the register's flex grid. Row 0 is the fixed heading row, shown as the
// table's header so that it stays in view while the lines scroll; column 0 is a fixed column,
// painted like the header and never selected. Rows and columns are counted and addressed as the
// grid counts them: row 1 is the table's first line, and Rows() includes the heading row, so it
// is never below 1. Column widths are in twips; a column's width and alignment hold for the cells
// already written and for those written later. An address outside the grid throws
// std::out_of_range and changes nothing.
#pragma once

#include <QString>
#include <Qt>
#include <vector>

class QTableWidget;
class QTableWidgetItem;

namespace reports {

class FlexGrid {
public:
    // Takes the table over: one heading row and no columns until told otherwise.
    explicit FlexGrid(QTableWidget* table);

    int Rows() const;
    // Lines beyond the new count are dropped; new lines are empty.
    void setRows(int rows);
    int Cols() const;
    void setCols(int cols);

    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);

    void setColWidth(int col, int twips);
    void setColAlignment(int col, Qt::Alignment alignment);

    // Empties every cell, headings included; the row and column counts stay.
    void Clear();

private:
    void check(int row, int col) const;
    // The cell's item, made on first use; row 0 is the header.
    QTableWidgetItem* cell(int row, int col);
    QTableWidgetItem* existingCell(int row, int col) const;
    void style(QTableWidgetItem* item, int row, int col) const;

    QTableWidget* table_;
    std::vector<Qt::Alignment> alignments_;
};

} // namespace reports
