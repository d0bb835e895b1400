// The case list as printed: one line per claim with its seventeen fields, in the order the data
// come in, on A4 landscape. The first page carries the title "List of Cases" and the selection it
// lists (period, district, status) with the print date; the column headings and "Page N of M"
// repeat on every page; the list closes with the number of claims and the totals of the amount
// claimed and the amount approved. Dates print as dd-MM-yyyy, amounts right-aligned in rupees
// (with paise only where there are paise); texts too long for their column are elided.
//
// The report keeps its data until told to discard them, so one report object can serve every
// showing of the viewer as long as each showing discards the data of the last. A selection from
// the register is counted and then read a stretch at a time (CaseRows), so a list of any length
// shows its first page at once and holds only the rows being painted.
#pragma once

#include "reports/tabular_report.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <map>
#include <vector>

namespace store {
class Connection;
class Recordset;
} // namespace store

// The claims that a condition on `detail` selects, in reference number order. Their numbers are
// read once, from the indexes; a stretch of rows is then read by number through the unique index
// of refno, the same way on any engine, and only the last stretch is kept. The totals are summed by
// the database over the whole selection when first asked for. A claim deleted after the count
// prints as an empty line, so the pages stay as they were laid out.
class CaseRows : public reports::RowSource {
public:
    // Reads the numbers; throws store::StoreError.
    CaseRows(store::Connection& connection, const QString& condition);

    qsizetype rowCount() const override { return qsizetype(refnos_.size()); }
    QList<QVariantList> rows(qsizetype first, qsizetype count) override;
    QVariant total(size_t column) override;

private:
    store::Connection& connection_;
    QString condition_;
    std::vector<qint64> refnos_;
    qsizetype keptFirst_ = 0;
    QList<QVariantList> kept_;
    std::map<size_t, QVariant> totals_;
};

class CRDetail : public reports::TabularReport {
public:
    // What the clerk chose, printed under the title.
    struct Selection {
        QDate from;
        QDate to;
        QString district;
        QString status;
    };

    // The fields of a case, in the order of the columns.
    static const QStringList& fieldNames();

    CRDetail();

    void setSelection(const Selection& selection, const QDate& printDate);
    // Drops the rows of an earlier showing.
    void discardSavedData();
    // Takes every row of the open recordset, from its first, as the report's rows, held in
    // memory. The recordset must hold the seventeen fields (by name, in any order); throws
    // store::StoreError when one is missing or the rows cannot be read.
    void setDataSource(store::Recordset& recordset);
    // The claims of `detail` that `condition` (what follows "where") selects, in reference number
    // order, read from the register as the pages are painted; throws store::StoreError.
    void setDataSource(store::Connection& connection, const QString& condition);
};
