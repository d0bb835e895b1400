// The printed consolidated report: one line per row of `preport` under a title, the print date
// and the period. Report header `Section4` (page 1 only), page header `Section2` (every page),
// detail `Section1` (one band per row, in the rows' order), page footer `Section3` and report
// footer `Section5`, every control at its twip position. The header captions lblDate, lblFrom
// and lblTo are empty until DataReport_Initialize sets them.
#pragma once

#include "reports/banded_report.h"

#include <QDate>

class QWidget;

namespace store {
class Recordset;
}

class DRPendancy : public reports::BandedReport {
public:
    static constexpr char kCaption[] = "Consolidated Report";

    DRPendancy();

    // Print date today as dd-MMM-yyyy; the period as dd-MM-yyyy.
    void DataReport_Initialize(const QDate& from, const QDate& to);

    // Takes the rows of the Pendancy command (sno, distname, tc, sc, rc, pc) from the first row
    // to the end. Throws store::StoreError when the recordset cannot be read.
    void takeRows(store::Recordset& pendancy);

    // Shows the report in the preview (page through, zoom, print, PDF) and returns when the
    // clerk closes it.
    void Show(QWidget* parent);
};
