// The viewer form over the shared report viewer, with the list's CSV export added.
#include "reports/frmCRCases.h"

#include "module1.h"
#include "reports/csv_export.h"
#include "reports/report_preview.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

frmCRCases::frmCRCases(const QString& condition, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      CRViewer1(new reports::ReportPreview(case_report(), this)), condition_(condition) {
    setObjectName("frmCRCases");
    setWindowTitle("Court Cases");
    CRViewer1->setObjectName("CRViewer1");
    CRViewer1->addExport(
        tr("Export CSV"), tr("CSV files"), "csv",
        [](const QString& path, QString* error, const reports::Progress& progress) {
            return reports::exportCsv(case_report(), path, error, progress);
        });
    setWindowState(Qt::WindowMaximized);
    Form_Load();
}

frmCRCases::~frmCRCases() {
    // The rows read for this showing go with the viewer, back to the system rather than kept by
    // the allocator for the program's later needs.
    delete CRViewer1;
    case_report().discardSavedData();
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

CRDetail& frmCRCases::case_report() {
    // Never destroyed: it outlives every window, and the program's end takes it along.
    static CRDetail* const report = new CRDetail;
    return *report;
}

void frmCRCases::Form_Load() {
    case_report().discardSavedData();
    case_report().setDataSource(Module1::db_conn, condition_);
    // The viewer shows the wait cursor for as long as it renders.
    CRViewer1->refresh();
}

void frmCRCases::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Form_Resize();
}

void frmCRCases::Form_Resize() {
    CRViewer1->setGeometry(0, 0, width(), height());
}
