// Writes the case list of a small sample register as a PDF, for the picture in the README
// (scripts/case-list-picture). The register lives in a temporary folder and the claims, the
// selection and the print date are fixed, so every run prints the same pages.
#include "case_claims.h"
#include "dedetail.h"
#include "module1.h"
#include "reports/CRDetail.h"
#include "reports/frmreport.h"
#include "reports/page_renderer.h"
#include "schema.h"
#include "store_error.h"
#include "temporary_register.h"

#include <QApplication>
#include <array>
#include <cstdio>

namespace {

void save_sample_claims() {
    const std::array names{
        "Ram Lal",     "Harpreet Kaur", "Gurdev Singh", "Asha Rani",
        "Mohan Lal",   "Kuldip Singh",  "Neelam",       "Sukhwinder Singh Sandhu",
        "Baljit Kaur", "Om Parkash"};
    const std::array fathers{"Sohan Lal", "Jagir Singh", "Bachan Singh", "Des Raj", "Tara Chand"};
    const std::array statuses{"Pending", "Sanctioned", "Rejected", "Sanctioned"};
    for (int i = 0; i < 34; ++i) {
        const QString district = store::district_names()[(i * 7) % 20];
        reports::testing::save_claim({
            .refno = 1201 + i,
            .refdate = QDate(2024, 4, 1).addDays(i * 9),
            .odist = district,
            .billstatus = statuses[size_t(i) % statuses.size()],
            .empname = names[size_t(i) % names.size()],
            .fname = fathers[size_t(i) % fathers.size()],
            .amtclaimed = QString::number(4500 + (i * 3779) % 90000),
            .amtapproved = QString::number(4000 + (i * 2713) % 60000),
        });
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.pdf\n", argv[0]);
        return 2;
    }
    try {
        store::TemporaryRegister temporary;
        save_sample_claims();
        const QDate from(2024, 4, 1);
        const QDate to(2025, 3, 31);
        DEDetail::rsdetail.Open(
            frmreport::selection_statement("All Cases", from, to,
                                           frmreport::district_set("All Districts")),
            Module1::db_conn, store::adOpenKeyset, store::adLockOptimistic);
        CRDetail report;
        report.setSelection({from, to, "All Districts", "All Cases"}, QDate(2025, 4, 7));
        report.setDataSource(DEDetail::rsdetail);
        QString error;
        if (!reports::exportPdf(report, QString::fromLocal8Bit(argv[1]), &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
    } catch (const store::StoreError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.reason()));
        return 1;
    }
    return 0;
}
