// The flex grid over a QTableWidget: heading row in the header, fixed first column.
#include "reports/flex_grid.h"

#include "reports/twips.h"

#include <QHeaderView>
#include <QTableWidget>
#include <stdexcept>
#include <string>

namespace reports {

namespace {

// A new column is two thirds of an inch wide until its width is set.
constexpr int kDefaultColWidth = twipsPerInch * 2 / 3;
constexpr Qt::Alignment kDefaultAlignment = Qt::AlignLeft | Qt::AlignVCenter;

} // namespace

FlexGrid::FlexGrid(QTableWidget* table) : table_(table) {
    table_->setRowCount(0);
    table_->setColumnCount(0);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    // Lines as tight as one line of text allows, as a grid's lines are.
    table_->verticalHeader()->setMinimumSectionSize(table_->fontMetrics().height() + 4);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->horizontalHeader()->setStretchLastSection(false);
    table_->horizontalHeader()->setHighlightSections(false);
}

int FlexGrid::Rows() const {
    return table_->rowCount() + 1;
}

void FlexGrid::setRows(int rows) {
    if (rows < 1)
        throw std::out_of_range("a grid keeps its heading row");
    table_->setRowCount(rows - 1);
}

int FlexGrid::Cols() const {
    return table_->columnCount();
}

void FlexGrid::setCols(int cols) {
    if (cols < 0)
        throw std::out_of_range("negative column count");
    const int before = Cols();
    table_->setColumnCount(cols);
    alignments_.resize(std::size_t(cols), kDefaultAlignment);
    for (int col = before; col < cols; ++col)
        setColWidth(col, kDefaultColWidth);
}

QString FlexGrid::TextMatrix(int row, int col) const {
    check(row, col);
    const QTableWidgetItem* item = existingCell(row, col);
    return item ? item->text() : QString();
}

void FlexGrid::setTextMatrix(int row, int col, const QString& text) {
    check(row, col);
    cell(row, col)->setText(text);
}

void FlexGrid::setColWidth(int col, int twips) {
    check(0, col);
    table_->setColumnWidth(col, toPixels(twips, table_->logicalDpiX()));
}

void FlexGrid::setColAlignment(int col, Qt::Alignment alignment) {
    check(0, col);
    alignments_[std::size_t(col)] = alignment;
    for (int row = 0; row < Rows(); ++row) {
        if (QTableWidgetItem* item = existingCell(row, col))
            item->setTextAlignment(alignment);
    }
}

void FlexGrid::Clear() {
    for (int row = 0; row < Rows(); ++row) {
        for (int col = 0; col < Cols(); ++col) {
            if (QTableWidgetItem* item = existingCell(row, col))
                item->setText(QString());
        }
    }
}

void FlexGrid::check(int row, int col) const {
    if (row < 0 || row >= Rows() || col < 0 || col >= Cols())
        throw std::out_of_range("grid cell (" + std::to_string(row) + ", " + std::to_string(col) +
                                ") is outside " + std::to_string(Rows()) + " rows and " +
                                std::to_string(Cols()) + " columns");
}

QTableWidgetItem* FlexGrid::cell(int row, int col) {
    if (QTableWidgetItem* item = existingCell(row, col))
        return item;
    auto* item = new QTableWidgetItem;
    style(item, row, col);
    if (row == 0)
        table_->setHorizontalHeaderItem(col, item);
    else
        table_->setItem(row - 1, col, item);
    return item;
}

QTableWidgetItem* FlexGrid::existingCell(int row, int col) const {
    return row == 0 ? table_->horizontalHeaderItem(col) : table_->item(row - 1, col);
}

void FlexGrid::style(QTableWidgetItem* item, int row, int col) const {
    item->setTextAlignment(alignments_[std::size_t(col)]);
    if (row > 0 && col == 0) {
        // The fixed column reads like the heading row and is not part of a selection.
        item->setFlags(Qt::ItemIsEnabled);
        item->setBackground(table_->palette().button());
    } else {
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    }
}

} // namespace reports
