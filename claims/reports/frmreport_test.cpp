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
#include "schema.h"
#include "temporary_register.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>

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
        picker->setDate({2007, 3, 5});
        EXPECT_EQ(picker->text(), "05-Mar-2007");
    }
    const auto entries = [](const QComboBox* list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->itemText(i);
        return texts;
    };
    EXPECT_EQ(entries(form.cmb_district()), QStringList("All Districts") + store::district_names());
    EXPECT_EQ(entries(form.cmb_status()),
              QStringList({"All Cases", "Pending", "Rejected", "Sanctioned"}));
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
}

// Each showing lists what its own selection finds, both end days included, in number order, and
// the form keeps its choices; a selection that finds nothing opens no viewer.
TEST_F(CaseList, ListsTheClaimsOfThePeriodDistrictAndStatusChosen) {
    save_claim({.refno = 150, .odist = "Tarn Taran"});
    save_claim({.refno = 104, .refdate = {2024, 3, 6}});
    save_claim({.refno = 101, .refdate = {2024, 3, 4}});
    save_claim({.refno = 102});
    save_claim({.refno = 103, .billstatus = "Sanctioned"});
    save_claim({.refno = 110, .odist = "Mohali", .billstatus = "Sanctioned"});
    save_claim({.refno = 120, .odist = "Amritsar", .billstatus = "Rejected"});
    save_claim({.refno = 130, .odist = "Chandigarh"}); // no district of the list
    save_claim({.refno = 140, .refdate = {2023, 3, 5}, .odist = "Moga"});
    const QDate day(2024, 3, 5);
    const QDate first(2024, 1, 1);
    const QDate last(2024, 12, 31);
    const struct {
        QDate from, to;
        const char* district;
        const char* status;
        QList<long long> listed;
    } selections[] = {
        {day, day, "Ludhiana", "All Cases", {102, 103}},
        {day.addDays(-1), day.addDays(1), "Ludhiana", "Pending", {101, 102, 104}},
        {first, last, "All Districts", "All Cases", {101, 102, 103, 104, 110, 120, 150}},
        {first, last, "Mohali", "Sanctioned", {110}},
        {first, last, "Moga", "Rejected", {}},
        {last, first, "All Districts", "All Cases", {}}, // a start after the end
    };
    for (const auto& s : selections) {
        SCOPED_TRACE(std::string(s.district) + ", " + s.status + ", from " +
                     s.from.toString().toStdString());
        script.clear_shown();
        select(s.from, s.to, s.district, s.status);
        if (s.listed.isEmpty()) {
            EXPECT_EQ(show(), 0);
            EXPECT_EQ(script.shown(), std::vector{info("No Record Found", "Sorry")});
        } else {
            EXPECT_EQ(listed(), s.listed);
            EXPECT_TRUE(script.shown().empty());
        }
        EXPECT_EQ(form.cmb_district()->currentText(), s.district);
        EXPECT_EQ(form.cmb_status()->currentText(), s.status);
    }
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

// How the rows flow over pages is the list renderer's (tabular_report_test.cpp); here the case
// list's own title block, totals and columns, through the viewer's own export buttons.
TEST_F(CaseListOutput, ExportsThePdfWithTheSelectionAndTotalsAndTheCsvWithEveryField) {
    save_claim({.refno = 101, .empname = "Singh, Gurdev \"Bittu\"", .amtclaimed = "10000000.75"});
    save_claim({.refno = 102, .odist = "Chandigarh", .amtclaimed = "900"});
    save_claim({.refno = 103,
                .billstatus = "Sanctioned",
                .fname = "O'Brien, Jr.",
                .amtclaimed = "12345678.5"});
    select({2024, 1, 1}, {2024, 12, 31}, "All Districts", "All Cases");
    QString pdf;
    QString csv;
    show([&](frmCRCases& viewer) {
        pdf = exported(viewer, "actionExportPdf", "cases.pdf");
        csv = exported(viewer, "actionExportCsv", "cases");
    });

    const QStringList pages = testing::pdfPages(pdf);
    ASSERT_EQ(pages.size(), 1);
    for (const QString text :
         {"List of Cases", "Reference Date Between 01-01-2024 and 31-12-2024",
          "District : All Districts", "Status of Bill : All Cases", "Number of Cases: 2",
          "10000000.75", "12345678.50", "22346679.25", "10000", "Page 1 of 1"})
        EXPECT_TRUE(pages[0].contains(text)) << text.toStdString();
    EXPECT_TRUE(pages[0].contains("Printed on : " + QDate::currentDate().toString("dd-MM-yyyy")));
    EXPECT_FALSE(pages[0].contains("Chandigarh"));

    QFile file(csv + ".csv");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "the suffix is added when none is typed";
    const QByteArray bytes = file.readAll();
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const std::vector<QStringList> records = testing::readCsv(QString::fromUtf8(bytes.mid(3)));
    ASSERT_EQ(records.size(), 3u);
    for (const QStringList& record : records)
        EXPECT_EQ(record.size(), 17);
    EXPECT_EQ(records[0].first(), "Ref. No.");
    EXPECT_EQ(records[0].last(), "Approval Date");
    EXPECT_EQ(records[1].mid(0, 4),
              QStringList({"101", "05-03-2024", "Singh, Gurdev \"Bittu\"", "Sohan Lal"}));
    EXPECT_EQ(records[2][3], "O'Brien, Jr.");
    EXPECT_EQ(records[2][14], "Sanctioned");
}

// An export that cannot be finished (here: a file size limit, as a full disk) leaves the earlier
// export under the chosen name as it was, no other file, and a box with the reason.
TEST(CaseListViewer, AFailedExportLeavesTheEarlierFileAndSaysWhy) {
    store::TemporaryRegister temporary;
    for (long long refno = 101; refno < 140; ++refno)
        save_claim({.refno = refno, .empname = "=cmd|' /C calc'!A0"});
    DEDetail::rsdetail.Open(DEDetail::kDetailCommand, Module1::db_conn, store::adOpenKeyset,
                            store::adLockOptimistic);
    frmCRCases viewer;
    QTemporaryDir dir;
    for (const char* suffix : {"csv", "pdf"}) {
        SCOPED_TRACE(suffix);
        const QString path = dir.filePath(QString("cases.") + suffix);
        QStringList errors;
        ReportPreview::Dialogs dialogs;
        dialogs.saveFileName = [&](QWidget*, const QString&, const QString&) { return path; };
        dialogs.showError = [&](QWidget*, const QString&, const QString& m) { errors << m; };
        viewer.CRViewer1->setDialogs(dialogs);
        QAction* button = viewer.findChild<QAction*>(QString("actionExport") +
                                                     (suffix[0] == 'c' ? "Csv" : "Pdf"));
        ASSERT_NE(button, nullptr);
        button->trigger();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << errors.join(' ').toStdString();
        const QByteArray earlier = file.readAll();
        EXPECT_EQ((file.permissions() & 0x0077).toInt(), 0) << "for its owner only";
        if (suffix[0] == 'c')
            EXPECT_TRUE(earlier.contains("\"'=cmd|' /C calc'!A0\"")) << "taken for text";
        struct rlimit limit;
        getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit before = limit;
        limit.rlim_cur = rlim_t(earlier.size() / 2);
        const auto signal_before = signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limit);
        button->trigger();
        setrlimit(RLIMIT_FSIZE, &before);
        signal(SIGXFSZ, signal_before);
        ASSERT_EQ(errors.size(), 1);
        EXPECT_TRUE(errors[0].contains("File too large")) << errors[0].toStdString();
        ASSERT_TRUE(file.seek(0));
        EXPECT_EQ(file.readAll(), earlier);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(),
                  suffix[0] == 'c' ? 1 : 2);
    }
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
