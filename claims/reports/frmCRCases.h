// The case list's viewer, "Court Cases": a window that opens maximized, can be resized, and is
// filled exactly by its one control, the report viewer `CRViewer1` (page through, zoom, print,
// export to PDF and to CSV for spreadsheets).
//
// The report it shows, `case_report`, is made on first use and lives as long as the program, so
// every showing of the viewer uses the same report object. Each load therefore discards the
// report's saved data before it gives it the claims of its selection (the condition of the
// reports' `rsdetail`), which the report reads a page at a time: a showing never prints the claims
// of an earlier one, and closing the viewer lets go of the rows it read.
#pragma once

#include "reports/CRDetail.h"

#include <QDialog>

namespace reports {
class ReportPreview;
}

class frmCRCases : public QDialog {
    Q_OBJECT

public:
    // Loads the form over the claims of `detail` that `condition` selects: throws
    // store::StoreError when they cannot be read.
    explicit frmCRCases(const QString& condition, QWidget* parent = nullptr);
    ~frmCRCases() override;

    static CRDetail& case_report();

    reports::ReportPreview* const CRViewer1;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Load();

    const QString condition_;
    void Form_Resize();
};
