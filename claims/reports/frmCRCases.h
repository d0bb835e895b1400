// The case list's viewer, "Court Cases": a window that opens maximized, can be resized, and is
// filled exactly by its one control, the report viewer `CRViewer1` (page through, zoom, print,
// export to PDF and to CSV for spreadsheets).
//
// The report it shows, `case_report`, is made on first use and lives as long as the program, so
// every showing of the viewer uses the same report object. Each load therefore discards the
// report's saved data before it gives it the rows of the reports' `rsdetail`: a showing never
// prints the claims of an earlier one.
#pragma once

#include "reports/CRDetail.h"

#include <QDialog>

namespace reports {
class ReportPreview;
}

class frmCRCases : public QDialog {
    Q_OBJECT

public:
    // Loads the form: throws store::StoreError when `rsdetail` cannot be read.
    explicit frmCRCases(QWidget* parent = nullptr);
    ~frmCRCases() override;

    static CRDetail& case_report();

    reports::ReportPreview* const CRViewer1;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Load();
    void Form_Resize();
};
