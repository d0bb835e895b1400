// The case list's rows as read from a recordset, and the texts they print.
#include "case_claims.h"
#include "dedetail.h"
#include "module1.h"
#include "pdf_text.h"
#include "reports/CRDetail.h"
#include "reports/page_renderer.h"
#include "store_error.h"
#include "temporary_register.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace reports {
namespace {

using testing::CaseClaim;
using testing::save_claim;

class CaseListRows : public ::testing::Test {
protected:
    void SetUp() override {
        save_claim({.refno = 101,
                    .billstatus = "Sanctioned",
                    .amtclaimed = "12500.5",
                    .amtapproved = "9000"});
        save_claim({.refno = 102,
                    .refdate = QDate(2024, 12, 31),
                    .billstatus = "Rejected",
                    .empname = "Harpreet Kaur",
                    .amtclaimed = "700"});
        save_claim({.refno = 103, .refdate = QDate(2024, 1, 1), .amtclaimed = "40000"});
    }
    void TearDown() override { DEDetail::rsdetail.Close(); }

    void open(const QString& statement) {
        DEDetail::rsdetail.Close();
        DEDetail::rsdetail.Open(statement, Module1::db_conn, store::adOpenKeyset,
                                store::adLockOptimistic);
    }

    QStringList printed(const CRDetail& report, qsizetype row) const {
        QStringList texts;
        for (size_t c = 0; c < report.columns().size(); ++c)
            texts << report.cellText(row, c);
        return texts;
    }

    store::TemporaryRegister temporary;
};

TEST_F(CaseListRows, PrintsTheSeventeenFieldsOfEveryRowInTheRecordsetsOrder) {
    open(QString(DEDetail::kDetailCommand) + " order by refno desc");
    CRDetail report;
    report.setDataSource(DEDetail::rsdetail);

    ASSERT_EQ(report.rows().size(), 3);
    ASSERT_EQ(report.columns().size(), 17u);
    EXPECT_EQ(printed(report, 0),
              QStringList({"103", "01-01-2024", "Ram Lal", "Sohan Lal", "Teacher", "32000",
                           "Ludhiana", "Asha Rani", "41", "Wife", "Cataract", "02-12-2023",
                           "07-12-2023", "40000", "Pending", "", ""}));
    EXPECT_EQ(printed(report, 1)[2], "Harpreet Kaur");
    EXPECT_EQ(printed(report, 1).mid(13), QStringList({"700", "Rejected", "0", ""}));
    EXPECT_EQ(printed(report, 2).mid(13),
              QStringList({"12500.50", "Sanctioned", "9000", "25-03-2024"}));

    // Amount claimed and amount approved are totalled; an unset approval counts for nothing.
    EXPECT_EQ(report.totalText(13), "53200.50");
    EXPECT_EQ(report.totalText(15), "9000");
    for (size_t c : {0u, 5u, 8u, 13u, 15u})
        EXPECT_EQ(report.columns()[c].alignment, Qt::AlignRight)
            << report.columns()[c].heading.toStdString();
}

TEST_F(CaseListRows, FindsTheFieldsByNameAndRefusesASelectionWithoutOne) {
    open("SELECT appdate, amtapproved, billstatus, amtclaimed, dto, dfrom, disease, relation, "
         "page, pname, odist, basicpay, design, fname, empname, refdate, refno FROM detail "
         "where refno=101");
    CRDetail report;
    report.setDataSource(DEDetail::rsdetail);
    ASSERT_EQ(report.rows().size(), 1);
    EXPECT_EQ(report.cellText(0, 0), "101");
    EXPECT_EQ(report.cellText(0, 16), "25-03-2024");

    open("SELECT refno, refdate, empname FROM detail");
    EXPECT_THROW(report.setDataSource(DEDetail::rsdetail), store::StoreError);
    EXPECT_EQ(report.rows().size(), 1) << "a refused source leaves the rows as they were";
}

// DejaVu has neither script: the names come out through the Lohit fonts, shaped. pdftotext reads
// glyphs in the order they stand on paper, so a vowel sign written before its consonant (ਿ, ि) or
// a reph would read back moved; these names have none and must read back whole.
TEST_F(CaseListRows, GurmukhiAndDevanagariNamesPrintAsThemselves) {
    const QString gurmukhi = QString::fromUtf8("ਗੁਰਦੇਵ ਕੌਰ ਸੰਧੂ");
    const QString devanagari = QString::fromUtf8("अमन कुमार गोयल");
    save_claim({.refno = 104, .empname = gurmukhi, .fname = devanagari});
    open(QString(DEDetail::kDetailCommand) + " where refno=104");
    CRDetail report;
    report.setSelection({QDate(2024, 1, 1), QDate(2024, 12, 31), "All Districts", "All Cases"},
                        QDate(2025, 1, 6));
    report.setDataSource(DEDetail::rsdetail);
    QTemporaryDir dir;
    const QString path = dir.filePath("cases.pdf");
    QString error;
    ASSERT_TRUE(exportPdf(report, path, &error)) << error.toStdString();
    const QString text = testing::pdfPages(path).join('\n');
    EXPECT_TRUE(text.contains(gurmukhi)) << text.toStdString();
    EXPECT_TRUE(text.contains(devanagari)) << text.toStdString();
}

} // namespace
} // namespace reports
