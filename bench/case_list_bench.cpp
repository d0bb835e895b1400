// The case list on the seeded register: from "Show Report" to a finished PDF, driven through the
// real forms (selection, query, the viewer's load and preview, the viewer's "Export PDF"), for
// one district and a year (about 1,000 claims) and for all districts and a year (about 20,000).
// The parts are timed as well: the selection read into the report, the viewer's load with its
// preview of every page, and the PDF alone.
#include "dedetail.h"
#include "dialogs.h"
#include "module1.h"
#include "reports/frmCRCases.h"
#include "reports/frmreport.h"
#include "reports/page_renderer.h"
#include "reports/report_preview.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

namespace {

const QDate kFrom{2020, 1, 1};
const QDate kTo{2020, 12, 31};

// The selection form with a period of one year and the district chosen.
void choose(frmreport& form, const QString& district) {
    form.txt_dfrom()->setDate(kFrom);
    form.txt_dto()->setDate(kTo);
    form.cmb_district()->setCurrentIndex(form.cmb_district()->findText(district));
    form.cmb_status()->setCurrentIndex(form.cmb_status()->findText("All Cases"));
}

// With the viewer open: exports the PDF through its toolbar, notes the pages and closes it.
// Returns false when no viewer is open or the PDF was not written.
bool exportFromViewer(const QString& path, int* pages) {
    auto* viewer = qobject_cast<frmCRCases*>(QApplication::activeModalWidget());
    if (!viewer)
        return false;
    bool written = true;
    reports::ReportPreview::Dialogs dialogs;
    dialogs.saveFileName = [path](QWidget*, const QString&, const QString&) { return path; };
    dialogs.showError = [&written](QWidget*, const QString&, const QString&) { written = false; };
    viewer->CRViewer1->setDialogs(dialogs);
    viewer->findChild<QAction*>("actionExportPdf")->trigger();
    *pages = viewer->CRViewer1->pageCount();
    viewer->close();
    return written;
}

void ShowReportToPdf(benchmark::State& state, const QString& district) {
    platform::DialogScript boxes; // a message box would otherwise wait for a click
    QTemporaryDir dir;
    frmreport form;
    choose(form, district);
    int pages = 0;
    for (auto _ : state) {
        bool exported = false;
        // Fires once the viewer's own event loop runs; gone with the iteration if it never does.
        QTimer viewerOpen;
        viewerOpen.setSingleShot(true);
        QObject::connect(&viewerOpen, &QTimer::timeout,
                         [&] { exported = exportFromViewer(dir.filePath("cases.pdf"), &pages); });
        viewerOpen.start(0);
        form.cmd_show_Click();
        if (!exported) {
            state.SkipWithError("no viewer opened, or its PDF was not written");
            break;
        }
    }
    state.counters["claims"] = double(frmCRCases::case_report().rows().size());
    state.counters["pages"] = pages;
}

// Opens rsdetail on the year's claims of the district.
void openSelection(const QString& district) {
    DEDetail::rsdetail.Close();
    DEDetail::rsdetail.Open(
        frmreport::selectionStatement("All Cases", kFrom, kTo, frmreport::district_set(district)),
        Module1::db_conn, store::adOpenKeyset, store::adLockOptimistic);
}

// The statement run and its rows read into the report.
void SelectIntoReport(benchmark::State& state, const QString& district) {
    for (auto _ : state) {
        openSelection(district);
        frmCRCases::case_report().setDataSource(DEDetail::rsdetail);
    }
    state.counters["claims"] = double(frmCRCases::case_report().rows().size());
}

// The viewer's load once the selection is read: the rows taken and every page laid out and
// painted for the preview.
void ViewerLoad(benchmark::State& state, const QString& district) {
    openSelection(district);
    int pages = 0;
    for (auto _ : state) {
        frmCRCases viewer;
        pages = viewer.CRViewer1->pageCount();
    }
    state.counters["pages"] = pages;
}

// The loaded report written as a PDF, as "Export PDF" does.
void PdfExport(benchmark::State& state, const QString& district) {
    openSelection(district);
    frmCRCases::case_report().setDataSource(DEDetail::rsdetail);
    QTemporaryDir dir;
    for (auto _ : state) {
        if (!reports::exportPdf(frmCRCases::case_report(), dir.filePath("cases.pdf"))) {
            state.SkipWithError("the PDF was not written");
            break;
        }
    }
    state.counters["claims"] = double(frmCRCases::case_report().rows().size());
}

} // namespace

// A year of all districts takes seconds: three runs of it, and five times as many of one district,
// give steady figures.
#define CASE_LIST_BENCHMARK(name)                                                                  \
    BENCHMARK_CAPTURE(name, one_district_one_year, QString("Ludhiana"))                            \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->UseRealTime()                                                                            \
        ->Iterations(15);                                                                          \
    BENCHMARK_CAPTURE(name, all_districts_one_year, QString("All Districts"))                      \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->UseRealTime()                                                                            \
        ->Iterations(3)

CASE_LIST_BENCHMARK(ShowReportToPdf);
CASE_LIST_BENCHMARK(SelectIntoReport);
CASE_LIST_BENCHMARK(ViewerLoad);
CASE_LIST_BENCHMARK(PdfExport);
