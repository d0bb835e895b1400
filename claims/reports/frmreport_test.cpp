// The case list driven through its forms: the choices and their checks, the statements, the
// viewer that opens (or does not), and what the viewer prints and exports.
#include "case_claims.h"
#include "csv_read.h"
#include "dedetail.h"
#include "dialogs.h"
#include "module1.h"
#include "pdf_text.h"
#include "reports/frmCRCases.h"
#include "reports/frmreport.h"
#include "reports/report_preview.h"
#include "temporary_register.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace reports {
namespace {

using platform::DialogScript;
using platform::MsgBoxStyle;
using platform::ShownBox;
using testing::CaseClaim;
using testing::save_claim;

ShownBox info(const QString& text, const QString& title) {
    return {ShownBox::Kind::Message, text, title, MsgBoxStyle::Information};
}

QList<long long> refnos(const CRDetail& report) {
    QList<long long> numbers;
    for (const QVariantList& row : report.rows())
        numbers << row[0].toLongLong();
    return numbers;
}

// Waits for the modal viewer to open, lets a check look at it, then closes it.
class ViewerWatch {
public:
    explicit ViewerWatch(std::function<void(frmCRCases&)> look = {}) : look_(std::move(look)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start(10);
    }
    int opened() const { return opened_; }

private:
    void poll() {
        auto* viewer = qobject_cast<frmCRCases*>(QApplication::activeModalWidget());
        if (!viewer || !viewer->isVisible())
            return;
        timer_.stop(); // the look may run event loops of its own
        ++opened_;
        if (look_)
            look_(*viewer);
        viewer->close();
    }

    std::function<void(frmCRCases&)> look_;
    QTimer timer_;
    int opened_ = 0;
};

class CaseList : public ::testing::Test {
protected:
    void SetUp() override {
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    // Chooses from the list as a clerk does: open it, go to the entry, press Enter.
    static void choose(QComboBox* list, const QString& entry) {
        const int index = list->findText(entry);
        ASSERT_GE(index, 0) << entry.toStdString();
        list->setFocus();
        QTest::keyClick(list, Qt::Key_F4);
        ASSERT_TRUE(list->view()->isVisible());
        list->view()->setCurrentIndex(list->model()->index(index, 0));
        QTest::keyClick(list->view(), Qt::Key_Return);
        ASSERT_EQ(list->currentText(), entry);
    }

    void select(const QDate& from, const QDate& to, const QString& district,
                const QString& status) {
        form.txt_dfrom()->setDate(from);
        form.txt_dto()->setDate(to);
        choose(form.cmb_district(), district);
        choose(form.cmb_status(), status);
    }

    // Presses "Show Report"; returns how many times the viewer opened.
    int show(std::function<void(frmCRCases&)> look = {}) {
        ViewerWatch watch(std::move(look));
        QTest::mouseClick(form.cmd_show(), Qt::LeftButton);
        return watch.opened();
    }

    // Presses "Show Report" and returns the claims the viewer was given.
    QList<long long> listed() {
        QList<long long> numbers;
        EXPECT_EQ(show([&](frmCRCases&) { numbers = refnos(frmCRCases::case_report()); }), 1);
        return numbers;
    }

    store::TemporaryRegister temporary;
    DialogScript script;
    frmreport form;
};

TEST_F(CaseList, LoadsWithTodayBothListsUnchosenAndItsCaptions) {
    EXPECT_EQ(form.windowTitle(), "Report Generator");
    EXPECT_EQ(form.findChild<QGroupBox*>("Frame1")->title(), "Reference Date Between");
    EXPECT_EQ(form.findChild<QLabel*>("Label1")->text(), "Select District :");
    EXPECT_EQ(form.findChild<QLabel*>("Label2")->text(), "Status of Bill :");
    EXPECT_EQ(form.cmd_show()->text(), "Show Report");
    EXPECT_EQ(form.cmd_close()->text(), "Close");
    for (QDateEdit* picker : {form.txt_dfrom(), form.txt_dto()}) {
        EXPECT_EQ(picker->date(), QDate::currentDate());
        EXPECT_EQ(picker->displayFormat(), "dd-MMM-yyyy");
    }
    form.txt_dfrom()->setDate({2007, 3, 5});
    EXPECT_EQ(form.txt_dfrom()->text(), "05-Mar-2007");

    QStringList districts;
    for (int i = 0; i < form.cmb_district()->count(); ++i)
        districts << form.cmb_district()->itemText(i);
    ASSERT_EQ(districts.size(), 21);
    EXPECT_EQ(districts.first(), "All Districts");
    EXPECT_EQ(districts.mid(1, 6), QStringList({"Amritsar", "Barnala", "Bathinda",
                                                "Fatehgarh Sahib", "Ferozepur", "Faridkot"}));
    EXPECT_EQ(districts.last(), "Tarn Taran");
    QStringList statuses;
    for (int i = 0; i < form.cmb_status()->count(); ++i)
        statuses << form.cmb_status()->itemText(i);
    EXPECT_EQ(statuses, QStringList({"All Cases", "Pending", "Rejected", "Sanctioned"}));
    EXPECT_TRUE(form.cmb_district()->currentText().isEmpty());
    EXPECT_TRUE(form.cmb_status()->currentText().isEmpty());
}

TEST_F(CaseList, KeysNeverChangeAChoice) {
    choose(form.cmb_status(), "Pending");
    form.cmb_status()->setFocus();
    QTest::keyClicks(form.cmb_status(), "Sanctioned R");
    for (auto key : {Qt::Key_Down, Qt::Key_End, Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Return})
        QTest::keyClick(form.cmb_status(), key);
    EXPECT_EQ(form.cmb_status()->currentText(), "Pending");
    EXPECT_TRUE(script.shown().empty()) << "Enter in the list does not press Show Report";
    form.cmb_district()->setFocus();
    QTest::keyClicks(form.cmb_district(), "Moga");
    EXPECT_TRUE(form.cmb_district()->currentText().isEmpty());
}

TEST_F(CaseList, AsksForTheDistrictFirstThenForTheStatus) {
    EXPECT_EQ(show(), 0);
    EXPECT_EQ(script.shown(), std::vector{info("Select DISTRICT Please.", "Field Required")});
    EXPECT_TRUE(form.cmb_district()->view()->isVisible()) << "its list is opened";
    form.cmb_district()->hidePopup();
    EXPECT_EQ(QApplication::focusWidget(), form.cmb_district());

    script.clear_shown();
    choose(form.cmb_district(), "Moga");
    EXPECT_EQ(show(), 0);
    EXPECT_EQ(script.shown(), std::vector{info("Select Status of Bill Please.", "Field Required")});
    EXPECT_TRUE(form.cmb_status()->view()->isVisible());
    form.cmb_status()->hidePopup();
    EXPECT_EQ(QApplication::focusWidget(), form.cmb_status());
    EXPECT_EQ(form.cmb_district()->currentText(), "Moga");
}

TEST_F(CaseList, RunsTheSelectionStatementsAsWritten) {
    QStringList statements;
    Module1::db_conn.set_statement_hook([&](const QString& s) { statements << s; });
    select({2024, 3, 5}, {2025, 1, 31}, "Fatehgarh Sahib", "Pending");
    show();
    select({2024, 3, 5}, {2025, 1, 31}, "All Districts", "All Cases");
    show();
    const QString fields = "SELECT refno,refdate,empname,fname,design,basicpay,odist,pname,page,"
                           "relation,disease,dfrom,dto,amtclaimed,billstatus,amtapproved,appdate "
                           "FROM detail where refdate between #05-Mar-2024# and #31-Jan-2025#";
    EXPECT_EQ(statements,
              QStringList({fields + " and billstatus='Pending' and odist in ('Fatehgarh Sahib') "
                                    "order by refno",
                           fields + " and odist in ('Amritsar','Barnala','Bathinda','Fatehgarh "
                                    "Sahib','Ferozepur','Faridkot','Gurdaspur','Hoshiarpur',"
                                    "'Jalandhar','Kapurthala','Ludhiana','Mansa','Moga','Muktsar',"
                                    "'Mohali','Nawanshahr','Patiala','Ropar','Sangrur','Tarn "
                                    "Taran') order by refno"}));
    EXPECT_EQ(frmreport::selection_statement(" Pending", {2024, 3, 5}, {2024, 3, 5}, "'Moga'"), "")
        << "the status is compared without trimming";
}

TEST_F(CaseList, ListsThePeriodWithBothEndDaysIncluded) {
    save_claim({.refno = 101, .refdate = {2024, 3, 4}});
    save_claim({.refno = 102, .refdate = {2024, 3, 5}});
    save_claim({.refno = 103, .refdate = {2024, 3, 5}, .billstatus = "Sanctioned"});
    save_claim({.refno = 104, .refdate = {2024, 3, 6}});
    select({2024, 3, 5}, {2024, 3, 5}, "Ludhiana", "All Cases");
    EXPECT_EQ(listed(), QList<long long>({102, 103}));

    select({2024, 3, 4}, {2024, 3, 6}, "Ludhiana", "Pending");
    EXPECT_EQ(listed(), QList<long long>({101, 102, 104}));
}

TEST_F(CaseList, AllDistrictsListsTheTwentyInReferenceOrderAndNoOtherDistrict) {
    save_claim({.refno = 150, .odist = "Tarn Taran"});
    save_claim({.refno = 120, .odist = "Amritsar", .billstatus = "Rejected"});
    save_claim({.refno = 130, .odist = "Chandigarh"});
    save_claim({.refno = 110, .odist = "Mohali", .billstatus = "Sanctioned"});
    save_claim({.refno = 140, .refdate = {2023, 3, 5}, .odist = "Moga"});
    select({2024, 1, 1}, {2024, 12, 31}, "All Districts", "All Cases");
    EXPECT_EQ(listed(), QList<long long>({110, 120, 150}));
    EXPECT_TRUE(script.shown().empty());
}

TEST_F(CaseList, AStatusNoClaimHasFindsNothingAndOpensNoViewer) {
    save_claim({.refno = 101, .odist = "Moga"});
    save_claim({.refno = 102, .odist = "Mansa", .billstatus = "Rejected"});
    select({2024, 1, 1}, {2024, 12, 31}, "Moga", "Rejected");
    EXPECT_EQ(show(), 0);
    EXPECT_EQ(script.shown(), std::vector{info("No Record Found", "Sorry")});

    script.clear_shown();
    select({2024, 12, 31}, {2024, 1, 1}, "Moga", "All Cases");
    EXPECT_EQ(show(), 0) << "a start after the end finds nothing";
    EXPECT_EQ(script.shown(), std::vector{info("No Record Found", "Sorry")});
}

TEST_F(CaseList, ShowingTwiceShowsTheSecondSelectionAndKeepsTheChoices) {
    save_claim({.refno = 101, .odist = "Moga"});
    save_claim({.refno = 102, .odist = "Mansa"});
    save_claim({.refno = 103, .odist = "Mansa", .billstatus = "Sanctioned"});
    select({2024, 1, 1}, {2024, 12, 31}, "Moga", "All Cases");
    EXPECT_EQ(listed(), QList<long long>({101}));
    EXPECT_EQ(form.cmb_district()->currentText(), "Moga");

    select({2024, 1, 1}, {2024, 12, 31}, "Mansa", "Sanctioned");
    show([&](frmCRCases& viewer) {
        EXPECT_EQ(refnos(frmCRCases::case_report()), QList<long long>({103}));
        EXPECT_EQ(viewer.CRViewer1->pageCount(), 1);
    });
    EXPECT_EQ(form.cmb_district()->currentText(), "Mansa");
    EXPECT_EQ(form.cmb_status()->currentText(), "Sanctioned");
}

TEST_F(CaseList, ADatabaseFailureIsReportedAndTheChoicesStay) {
    save_claim({.refno = 101, .odist = "Moga"});
    select({2024, 1, 1}, {2024, 12, 31}, "Moga", "All Cases");
    store::TemporaryRegister::fail_nth_statement(1);
    EXPECT_EQ(show(), 0);
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, "Database Error");
    EXPECT_TRUE(script.shown()[0].text.contains("injected failure"));
    EXPECT_EQ(form.cmb_district()->currentText(), "Moga");
    EXPECT_EQ(form.cmb_status()->currentText(), "All Cases");
    EXPECT_TRUE(form.isVisible());

    EXPECT_EQ(listed(), QList<long long>({101})) << "the next try works";
}

// The viewer's output through its own export buttons.
class CaseListOutput : public CaseList {
protected:
    // Exports through the viewer's toolbar button `action` into `name` and returns the path.
    QString exported(frmCRCases& viewer, const char* action, const QString& name) {
        const QString path = dir.filePath(name);
        ReportPreview::Dialogs dialogs;
        dialogs.saveFileName = [path](QWidget*, const QString&, const QString&) { return path; };
        dialogs.showError = [](QWidget*, const QString&, const QString& message) {
            ADD_FAILURE() << message.toStdString();
        };
        viewer.CRViewer1->setDialogs(dialogs);
        auto* button = viewer.findChild<QAction*>(action);
        EXPECT_NE(button, nullptr) << action;
        if (button)
            button->trigger();
        return path;
    }

    QTemporaryDir dir;
};

TEST_F(CaseListOutput, PdfHasEveryClaimOnceInOrderOnTheRightNumberOfPages) {
    constexpr int kClaims = 300;
    // Numbers that no date, age or amount of the list can contain.
    store::Transaction saving(Module1::db_conn);
    for (int i = kClaims - 1; i >= 0; --i)
        save_claim({.refno = 700001 + i,
                    .refdate = QDate(2024, 1, 1).addDays(i % 300),
                    .odist = i % 7 ? "Patiala" : "Chandigarh",
                    .billstatus = i % 3 ? "Pending" : "Sanctioned",
                    .amtclaimed = QString::number(1000 + i),
                    .amtapproved = "500"});
    saving.commit();
    select({2024, 1, 1}, {2024, 12, 31}, "All Districts", "All Cases");
    QString pdf;
    int viewerPages = 0;
    show([&](frmCRCases& viewer) {
        viewerPages = viewer.CRViewer1->pageCount();
        pdf = exported(viewer, "actionExportPdf", "cases.pdf");
    });

    const QStringList pages = testing::pdfPages(pdf);
    ASSERT_GE(pages.size(), 3);
    EXPECT_EQ(viewerPages, pages.size());
    QList<int> perPage;
    QList<long long> printed;
    const QRegularExpression refno("\\b700\\d{3}\\b");
    for (int p = 0; p < pages.size(); ++p) {
        SCOPED_TRACE("page " + std::to_string(p + 1));
        EXPECT_TRUE(pages[p].contains(QString("Page %1 of %2").arg(p + 1).arg(pages.size())));
        EXPECT_TRUE(pages[p].contains("Employee")) << "headings on every page";
        int onPage = 0;
        for (const auto& match : refno.globalMatch(pages[p])) {
            printed << match.captured().toLongLong();
            ++onPage;
        }
        perPage << onPage;
    }
    QList<long long> expected;
    for (int i = 0; i < kClaims; ++i)
        if (i % 7)
            expected << 700001 + i;
    EXPECT_EQ(printed, expected);
    // No page ends early: the middle pages are equally full and the last holds the rest.
    for (int p = 2; p < perPage.size() - 1; ++p)
        EXPECT_EQ(perPage[p], perPage[1]) << "page " << p + 1;
    EXPECT_GT(perPage[1], perPage[0]) << "the first page also carries the title";
    EXPECT_LE(perPage.last(), perPage[1]);

    const QString first = pages.first();
    EXPECT_TRUE(first.contains("List of Cases"));
    EXPECT_TRUE(first.contains("Reference Date Between 01-01-2024 and 31-12-2024"));
    EXPECT_TRUE(first.contains("District : All Districts"));
    EXPECT_TRUE(first.contains("Status of Bill : All Cases"));
    EXPECT_TRUE(first.contains("Printed on : " + QDate::currentDate().toString("dd-MM-yyyy")));
    long long claimed = 0, approved = 0;
    for (const long long r : expected) {
        const long long i = r - 700001;
        claimed += 1000 + i;
        approved += i % 3 ? 0 : 500;
    }
    EXPECT_TRUE(pages.last().contains(QString("Number of Cases: %1").arg(expected.size())));
    EXPECT_TRUE(pages.last().contains(QString::number(claimed)));
    EXPECT_TRUE(pages.last().contains(QString::number(approved)));
}

TEST_F(CaseListOutput, CsvHasOneLinePerClaimAndKeepsNamesWithCommasAndQuotes) {
    save_claim({.refno = 101, .odist = "Moga", .empname = "Singh, Gurdev \"Bittu\""});
    save_claim({.refno = 102, .odist = "Moga", .empname = "Neelam", .fname = "O'Brien, Jr."});
    save_claim({.refno = 103, .odist = "Moga", .billstatus = "Sanctioned"});
    select({2024, 1, 1}, {2024, 12, 31}, "Moga", "All Cases");
    QString csv;
    show([&](frmCRCases& viewer) { csv = exported(viewer, "actionExportCsv", "cases"); });

    QFile file(csv + ".csv");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "the suffix is added when none is typed";
    const QByteArray bytes = file.readAll();
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const std::vector<QStringList> records = testing::readCsv(QString::fromUtf8(bytes.mid(3)));
    ASSERT_EQ(records.size(), 4u);
    for (const QStringList& record : records)
        EXPECT_EQ(record.size(), 17);
    EXPECT_EQ(records[0].first(), "Ref. No.");
    EXPECT_EQ(records[0].last(), "Approval Date");
    EXPECT_EQ(records[1].mid(0, 4),
              QStringList({"101", "05-03-2024", "Singh, Gurdev \"Bittu\"", "Sohan Lal"}));
    EXPECT_EQ(records[2][3], "O'Brien, Jr.");
    EXPECT_EQ(records[3][14], "Sanctioned");
}

TEST(CaseListViewer, OpensMaximizedAndTheViewerFillsTheWindowAfterAResize) {
    store::TemporaryRegister temporary;
    save_claim({.refno = 101});
    DEDetail::rsdetail.Open(DEDetail::kDetailCommand, Module1::db_conn, store::adOpenKeyset,
                            store::adLockOptimistic);
    frmCRCases viewer;
    viewer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
    EXPECT_EQ(viewer.windowTitle(), "Court Cases");
    EXPECT_TRUE(viewer.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(viewer.CRViewer1->geometry(), viewer.rect());
    viewer.setWindowState(Qt::WindowNoState);
    for (const QSize size : {QSize(640, 480), QSize(1100, 820), QSize(500, 400)}) {
        viewer.resize(size);
        QApplication::processEvents();
        EXPECT_EQ(viewer.CRViewer1->geometry(), QRect(QPoint(0, 0), size));
    }
    EXPECT_EQ(viewer.CRViewer1->pageCount(), 1);
}

} // namespace
} // namespace reports
