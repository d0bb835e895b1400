// The case list on a register of 200,000 seeded claims (ten years, twenty districts), driven
// through the real forms as a clerk drives them: "Show Report" for three years and for all years,
// timed to the viewer on screen with its first page painted, with the program's peak memory while
// it shows and its memory once the viewer is closed; then, from the viewer of the three years,
// "Export PDF" and "Export CSV", each timed with its peak memory. A short list is shown first, so
// that what any first showing loads once (fonts, the print system) is counted before, not after.
//
// Memory is the process's own: VmHWM (the peak resident size, reset before each step through
// /proc/self/clear_refs) and VmRSS from /proc/self/status. Freed memory that the allocator keeps
// for reuse still counts as resident, as it does for a clerk's program.
#include "claims_seed.h"
#include "dialogs.h"
#include "module1.h"
#include "reports/frmCRCases.h"
#include "reports/frmreport.h"
#include "reports/report_preview.h"
#include "timing.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>

namespace {

using bench::Clock;
using bench::seconds_since;

// A figure of /proc/self/status in MB ("VmHWM", "VmRSS").
double status_mb(const char* key) {
    QFile file("/proc/self/status");
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith(QByteArray(key) + ':'))
            return line.mid(qsizetype(std::strlen(key)) + 1).trimmed().split(' ')[0].toDouble() /
                   1024;
    }
    return -1;
}

// Starts the peak afresh at the present size.
void reset_peak() {
    QFile file("/proc/self/clear_refs");
    if (file.open(QIODevice::WriteOnly))
        file.write("5");
}

// Presses "Show Report" for the period, all districts and all cases, and runs `look` on the viewer
// once its event loop runs; the viewer is closed afterwards. False when no viewer opened.
bool show(frmreport& form, const QDate& from, const QDate& to,
          const std::function<void(frmCRCases&)>& look) {
    form.txt_dfrom()->setDate(from);
    form.txt_dto()->setDate(to);
    form.cmb_district()->setCurrentIndex(form.cmb_district()->findText("All Districts"));
    form.cmb_status()->setCurrentIndex(form.cmb_status()->findText("All Cases"));
    bool opened = false;
    QTimer viewerOpen;
    viewerOpen.setSingleShot(true);
    QObject::connect(&viewerOpen, &QTimer::timeout, [&] {
        auto* viewer = qobject_cast<frmCRCases*>(QApplication::activeModalWidget());
        if (!viewer)
            return;
        opened = true;
        look(*viewer);
        viewer->close();
    });
    viewerOpen.start(0);
    form.cmd_show_Click();
    return opened;
}

// Exports through the viewer's toolbar; false when an error box was shown.
bool export_from(frmCRCases& viewer, const char* action, const QString& path) {
    bool written = true;
    reports::ReportPreview::Dialogs dialogs;
    dialogs.saveFileName = [path](QWidget*, const QString&, const QString&) { return path; };
    dialogs.showError = [&written](QWidget*, const QString&, const QString&) { written = false; };
    viewer.CRViewer1->setDialogs(dialogs);
    viewer.findChild<QAction*>(action)->trigger();
    return written && QFileInfo::exists(path);
}

void showing(frmreport& form, const char* name, const QDate& from, const QDate& to) {
    const double before = status_mb("VmRSS");
    reset_peak();
    const auto start = Clock::now();
    double first_page = 0;
    int pages = 0;
    const bool opened = show(form, from, to, [&](frmCRCases& viewer) {
        viewer.CRViewer1->grab(); // the first page painted
        first_page = seconds_since(start);
        pages = viewer.CRViewer1->pageCount();
    });
    const double peak = status_mb("VmHWM");
    std::printf("%-10s viewer with first page %6.2f s  %5d pages  peak %6.0f MB  "
                "before %4.0f MB, after closing %4.0f MB%s\n",
                name, first_page, pages, peak, before, status_mb("VmRSS"),
                opened ? "" : "  (NO VIEWER OPENED)");
}

void exporting(frmreport& form, const QString& folder) {
    show(form, {2022, 1, 1}, {2024, 12, 31}, [&](frmCRCases& viewer) {
        const struct {
            const char* action;
            const char* file;
        } exports[] = {{"actionExportPdf", "cases.pdf"}, {"actionExportCsv", "cases.csv"}};
        for (const auto& e : exports) {
            reset_peak();
            const auto start = Clock::now();
            const bool written = export_from(viewer, e.action, folder + "/" + e.file);
            const double took = seconds_since(start);
            std::printf("three years %s: %6.2f s  %6.1f MB  peak %6.0f MB%s\n", e.file, took,
                        double(QFileInfo(folder + "/" + e.file).size()) / 1e6, status_mb("VmHWM"),
                        written ? "" : "  (NOT WRITTEN)");
        }
    });
}

} // namespace

int main(int argc, char** argv) {
    bench::default_to_offscreen();
    QApplication app(argc, argv);
    constexpr int kClaims = 200'000;
    QTemporaryDir folder;
    bench::open_seeded_register(kClaims, folder.path());
    std::printf("case list on a register of %d claims; program at %.0f MB\n", kClaims,
                status_mb("VmRSS"));

    platform::DialogScript boxes; // a message box would otherwise wait for a click
    frmreport form;
    showing(form, "a month", {2024, 12, 1}, {2024, 12, 31});
    showing(form, "3 years", {2022, 1, 1}, {2024, 12, 31});
    showing(form, "all years", bench::kFirstDay, bench::kLastDay);
    exporting(form, folder.path());
    return 0;
}
