// The case list as printed: one line per claim with its seventeen fields, in the order the data
// come in, on A4 landscape. The first page carries the title "List of Cases" and the selection it
// lists (period, district, status) with the print date; the column headings and "Page N of M"
// repeat on every page; the list closes with the number of claims and the totals of the amount
// claimed and the amount approved. Dates print as dd-MM-yyyy, amounts right-aligned in rupees
// (with paise only where there are paise); texts too long for their column are elided.
//
// The report keeps its data until told to discard them, so one report object can serve every
// showing of the viewer as long as each showing discards the data of the last.
#pragma once

#include "reports/tabular_report.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace store {
class Recordset;
}

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
    // Takes every row of the open recordset, from its first, as the report's rows. The recordset
    // must hold the seventeen fields (by name, in any order); throws store::StoreError when one
    // is missing or the rows cannot be read.
    void setDataSource(store::Recordset& recordset);
};
