// Makes the pictures of the consolidated report for the README: a register of its own in a
// temporary folder holding the same sample claims every time, counted by the form for April 2024
// to March 2025 and printed through its own report window into a PDF. Optionally saves a picture
// of the form with its grid as well.
//
// Usage: pendency_report_picture REPORT.pdf [FORM.png]
#include "module1.h"
#include "reports/RptPendancy.h"
#include "reports/report_preview.h"
#include "schema.h"
#include "store_error.h"
#include "values.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

const QDate kFrom(2024, 4, 1);
const QDate kTo(2025, 3, 31);

// Between 20 and 79 claims per district, spread over the year and the three statuses.
void add_sample_claims() {
    store::Transaction transaction(Module1::db_conn);
    int refno = 101;
    const QStringList& districts = store::district_names();
    for (int d = 0; d < districts.size(); ++d) {
        const int claims = 20 + (d * 37) % 60;
        for (int i = 0; i < claims; ++i) {
            const char* status = i % 5 < 2 ? "Sanctioned" : i % 5 == 2 ? "Rejected" : "Pending";
            Module1::db_conn.Execute(
                QStringLiteral("Insert into detail (refno, refdate, odist, billstatus) "
                               "values (%1, %2, %3, '%4')")
                    .arg(refno++)
                    .arg(store::date_literal(kFrom.addDays((i * 53 + d * 11) % 365)),
                         store::text_literal(districts[d]), status));
        }
    }
    transaction.commit();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: pendency_report_picture REPORT.pdf [FORM.png]\n");
        return 2;
    }
    const QString pdf = arguments[1];

    QTemporaryDir folder;
    try {
        Module1::app_path = folder.path();
        Module1::open_database();
        add_sample_claims();
    } catch (const store::StoreError& e) {
        std::fprintf(stderr, "cannot make the sample register: %s\n", qPrintable(e.reason()));
        return 1;
    }

    RptPendancy form;
    form.txt_from()->setDate(kFrom);
    form.txt_to()->setDate(kTo);
    form.show();
    form.cmd_show_Click();
    if (arguments.size() > 2)
        form.grab().save(arguments[2]);

    // "Report" opens the report window modally: export from it once it is up, then close it.
    QFile::remove(pdf);
    QTimer::singleShot(0, [&pdf] {
        auto* window =
            qobject_cast<reports::ReportPreviewDialog*>(QApplication::activeModalWidget());
        if (!window)
            return;
        reports::ReportPreview::Dialogs dialogs;
        dialogs.saveFileName = [&pdf](QWidget*, const QString&, const QString&) { return pdf; };
        window->preview()->setDialogs(dialogs);
        window->findChild<QAction*>("actionExportPdf")->trigger();
        window->reject();
    });
    form.cmd_print_Click();
    if (!QFile::exists(pdf)) {
        std::fprintf(stderr, "the report was not written to %s\n", qPrintable(pdf));
        return 1;
    }
    return 0;
}
