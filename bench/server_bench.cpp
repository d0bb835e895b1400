// The register on a PostgreSQL server beside the register file, both of 200,000 seeded claims,
// measured in the same run: saving one new claim (one transaction), "Show Detail" of the
// consolidated report for a year, and the case list of one district and a year from "Show Report"
// to a finished PDF, all through the forms' own code. The server is the throw-away cluster of the
// tests (scripts/test-cluster, on a Unix socket, durability on as a real server has it) unless
// VETRA_BENCH_SERVER names another; its register is made by copying the seeded file
// (--copy-register's own code), which is timed too.
#include "claims_seed.h"
#include "connection.h"
#include "dedetail.h"
#include "dialogs.h"
#include "module1.h"
#include "reports/RptPendancy.h"
#include "reports/frmCRCases.h"
#include "reports/frmreport.h"
#include "reports/report_preview.h"
#include "server_register.h"
#include "store_error.h"
#include "timing.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kClaims = 200'000;
// The median of `times` runs of `step`, in milliseconds.
double median_ms(int times, const std::function<void(int)>& step) {
    const std::vector<double> ms = bench::times_ms(times, step);
    return ms[ms.size() / 2];
}

struct Figures {
    double save_ms = 0, show_detail_ms = 0, case_list_ms = 0;
};

// The three timings on the register Module1 is set to.
Figures measure(long long first_refno) {
    Module1::open_database();
    Figures figures;
    std::mt19937 random(99);
    figures.save_ms = median_ms(200, [&](int i) {
        bench::save_new_claim(Module1::db_conn, bench::sample_claim(first_refno + i, random));
    });

    RptPendancy pendency;
    pendency.txt_from()->setDate({2020, 4, 1});
    pendency.txt_to()->setDate({2021, 3, 31});
    figures.show_detail_ms = median_ms(5, [&](int) { pendency.cmd_show_Click(); });

    platform::DialogScript boxes; // a "No Record Found" box would otherwise wait
    QTemporaryDir paper;
    frmreport form;
    form.txt_dfrom()->setDate({2020, 1, 1});
    form.txt_dto()->setDate({2020, 12, 31});
    form.cmb_district()->setCurrentIndex(form.cmb_district()->findText("Moga"));
    form.cmb_status()->setCurrentIndex(form.cmb_status()->findText("All Cases"));
    bool written = false;
    figures.case_list_ms = median_ms(5, [&](int) {
        QTimer viewer_open;
        viewer_open.setSingleShot(true);
        QObject::connect(&viewer_open, &QTimer::timeout, [&] {
            auto* viewer = qobject_cast<frmCRCases*>(QApplication::activeModalWidget());
            if (viewer == nullptr)
                return;
            reports::ReportPreview::Dialogs dialogs;
            dialogs.saveFileName = [&](QWidget*, const QString&, const QString&) {
                return paper.filePath("cases.pdf");
            };
            viewer->CRViewer1->setDialogs(dialogs);
            viewer->findChild<QAction*>("actionExportPdf")->trigger();
            written = QFileInfo(paper.filePath("cases.pdf")).size() > 0;
            viewer->close();
        });
        viewer_open.start(0);
        form.cmd_show_Click();
    });
    if (!written)
        std::printf("the case list's PDF was not written\n");
    return figures;
}

void run(const QStringList& arguments) {
    QProcess::execute(TEST_CLUSTER, arguments);
}

} // namespace

int main(int argc, char** argv) {
    bench::default_to_offscreen();
    QApplication app(argc, argv);
    QTemporaryDir folder;
    bench::copy_seeded_register(kClaims, folder.path());

    QString cluster = qEnvironmentVariable("VETRA_BENCH_SERVER");
    const QString cluster_dir = QCoreApplication::applicationDirPath() + "/bench-cluster";
    if (cluster.isEmpty()) {
        run({"start", cluster_dir, "durable"});
        cluster = "host=" + cluster_dir + " user=postgres";
    }
    int status = 0;
    try {
        const QString database = "vetra_bench";
        {
            store::Connection maintenance;
            maintenance.Open(cluster + " dbname=postgres");
            maintenance.Execute("DROP DATABASE IF EXISTS " + database + " WITH (FORCE)");
            maintenance.Execute("CREATE DATABASE " + database);
        }
        const QString server = cluster + " dbname=" + database;
        {
            store::Connection file, target;
            file.Open("Data Source=" + folder.filePath("VETRA.mdb") +
                      ";Jet OLEDB:Database Password=" + Module1::kDatabasePassword);
            target.Open(server);
            store::create_server_register(target);
            const auto copying = bench::Clock::now();
            store::copy_register(file, target, [](std::int64_t, std::int64_t) {});
            std::printf("copy of %d claims from the file to the server, compared: %.1f s\n",
                        kClaims, bench::seconds_since(copying));
            target.Execute("ANALYZE");
        }
        Module1::app_path = folder.path();
        const long long first_new = 101 + kClaims;
        Module1::server.clear();
        const Figures file = measure(first_new);
        Module1::server = server;
        const Figures on_server = measure(first_new);
        std::printf("%-52s %10s %10s\n", "median, register of 200,000 claims", "file", "server");
        std::printf("%-52s %7.2f ms %7.2f ms\n", "save one new claim (insert + 9 updates)",
                    file.save_ms, on_server.save_ms);
        std::printf("%-52s %7.1f ms %7.1f ms\n", "consolidated report, Show Detail, one year",
                    file.show_detail_ms, on_server.show_detail_ms);
        std::printf("%-52s %7.1f ms %7.1f ms  (%.2fx)\n",
                    "case list, one district and a year, to PDF", file.case_list_ms,
                    on_server.case_list_ms, on_server.case_list_ms / file.case_list_ms);
    } catch (const store::StoreError& e) {
        std::printf("server bench failed: %s\n", qPrintable(e.reason()));
        status = 1;
    }
    Module1::db_conn.Close();
    DEDetail::Connection1.Close();
    if (qEnvironmentVariableIsEmpty("VETRA_BENCH_SERVER"))
        run({"stop", cluster_dir});
    return status;
}
