// The bill status form driven through its real widgets, each test on a register of its own.
#include "clerk.h"
#include "connection.h"
#include "dialogs.h"
#include "frmBillUpdation.h"
#include "module1.h"
#include "recordset.h"
#include "temporary_register.h"

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

using namespace platform;
using Module1::db_conn;

namespace {

// The decision columns of claim 12 as stored: status | amount | date | remarks.
QString stored() {
    store::Recordset row;
    row.Open("select billstatus, amtapproved, appdate, remarks from detail where refno=12",
             db_conn);
    QStringList texts;
    for (int i = 0; !row.Eof() && i < 4; ++i)
        texts << (row.Fields(i).is_null() ? "Null" : row.Fields(i).text());
    return texts.join(" | ");
}

class StatusForm : public ::testing::Test {
protected:
    void SetUp() override {
        db_conn.Execute("insert into detail (refno, refdate, empname, billstatus, amtapproved, "
                        "appdate, remarks) values (12, #01-Apr-2024#, 'Claim Twelve', "
                        "'Sanctioned', 1500.5, #15-May-2024#, 'passed')");
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    // Presses Update, answering the question with `answer` when one is expected.
    std::vector<QString> update(int answer = 0) {
        if (answer != 0)
            script.answer(answer);
        script.clear_shown();
        clerk.click("cmd_update");
        std::vector<QString> boxes;
        for (const ShownBox& box : script.shown())
            boxes.push_back(box.title + ": " + box.text);
        return boxes;
    }
    QString shown() const {
        return QStringList{clerk.text("txt_refno"),
                           clerk.find<QLabel>("lbl_name")->text(),
                           clerk.text("cmb_status"),
                           clerk.text("txt_amount"),
                           clerk.find<QDateEdit>("txt_date")->date().toString(Qt::ISODate),
                           clerk.text("txt_remarks")}
            .join(" | ");
    }
    const QString today = QDate::currentDate().toString(Qt::ISODate);

    store::TemporaryRegister reg;
    DialogScript script{[](const QString& fault) { ADD_FAILURE() << fault.toStdString(); }};
    frmBillUpdation form;
    vetra_testing::Clerk clerk{form};
};

const QString kQuestion = "Update?: Do you want to update record?";
const QString kUpdated = "Updated!: Record Updated Successfully!";

// No key types a quote or steps through the status list; each keystroke in the number looks up
// the number it reads; the update writes to the claim looked up, unless it was deleted meanwhile.
TEST_F(StatusForm, EachKeystrokeLooksUpTheNumberItReads) {
    clerk.retype("txt_refno", "12'a");
    clerk.type("txt_remarks", "'s");
    QTest::keyClicks(clerk.find("cmb_status"), "R");
    QTest::keyClick(clerk.find("cmb_status"), Qt::Key_Down);
    EXPECT_EQ(update(vbNo), std::vector{kQuestion});
    EXPECT_EQ(shown(), "12 | Claim Twelve | Sanctioned | 1500.5 | 2024-05-15 | passeds");
    const std::pair<const char*, QString> cases[] = {
        {"12", "12 | Claim Twelve | Sanctioned | 1500.5 | 2024-05-15 | passed"},
        {"123", "123 |  |  |  | " + today + " | "},
        {"1 2", "1 2 | Claim Twelve | Sanctioned | 1500.5 | 2024-05-15 | passed"},
        {"12,5", "12,5 | Claim Twelve | Sanctioned | 1500.5 | 2024-05-15 | passed"}};
    for (const auto& [typed, expected] : cases) {
        clerk.retype("txt_refno", typed);
        EXPECT_EQ(shown(), expected);
        EXPECT_EQ(clerk.find("cmd_update")->isEnabled(), expected.contains("Claim"));
    }
    // Rejected writes amount 0, no date and "-" for empty remarks, to the claim the lookup read.
    clerk.choose("cmb_status", "Rejected");
    clerk.retype("txt_remarks", "");
    EXPECT_EQ(update(vbYes), (std::vector{kQuestion, kUpdated}));
    EXPECT_EQ(shown(), " |  |  |  | " + today + " | ");
    clerk.retype("txt_refno", "12");
    EXPECT_EQ(clerk.text("txt_remarks"), ""); // the stored "-" shows as no remarks
    EXPECT_EQ(stored(), "Rejected | 0 | Null | -");
    db_conn.Execute("delete from detail where refno=12");
    EXPECT_EQ(update(vbYes), (std::vector<QString>{kQuestion, "Sorry: No Record Found!"}));
    EXPECT_EQ(shown(), "12 |  |  |  | " + today + " | ");
}

TEST_F(StatusForm, ASanctionNeedsAPlainAmountAboveZero) {
    clerk.retype("txt_refno", "12");
    clerk.choose("cmb_status", "Sanctioned");
    EXPECT_EQ(shown(), "12 | Claim Twelve | Sanctioned |  | " + today + " | passed");
    const QString enter = "Field Required: Enter Amout Please";
    const QString invalid = "Invalid: Invalid Amount Approved!";
    const std::pair<const char*, QString> refused[] = {
        {"", enter}, {" , ", enter}, {"0.00", enter}, {"1.2.3", invalid}, {".", invalid}};
    for (const auto& [amount, box] : refused) {
        clerk.paste("txt_amount", amount);
        EXPECT_EQ(update(), std::vector{box});
        EXPECT_EQ(clerk.text("txt_amount"), box == invalid ? amount : "");
        EXPECT_EQ(QApplication::focusWidget(), clerk.find("txt_amount"));
    }
    EXPECT_EQ(stored(), "Sanctioned | 1500.5 | 2024-05-15 | passed");
    clerk.retype("txt_amount", "1,20,000x");
    EXPECT_EQ(update(vbYes), (std::vector{kQuestion, kUpdated}));
    EXPECT_EQ(stored(), "Sanctioned | 120000 | " + today + " | passed");
}

// Another program's change made after the claim was shown stands; an update failing at any of its
// statements, 1st, 2nd, ... until it succeeds, stores nothing. Either way the input stays.
TEST_F(StatusForm, AClaimChangedMeanwhileOrAFailedStatementStoresNothing) {
    const auto prepare = [&] {
        clerk.retype("txt_refno", "12");
        clerk.choose("cmb_status", "Rejected");
        clerk.retype("txt_remarks", ""); // the "-" written for no remarks is not left in the box
    };
    prepare();
    store::Connection other;
    other.Open(db_conn.ConnectionString());
    other.Execute("update detail set remarks='by the other' where refno=12");
    std::vector<QString> boxes = update(vbYes);
    EXPECT_TRUE(boxes.size() == 2 && boxes[1].contains("was changed by another user"));
    const QString input = "12 | Claim Twelve | Rejected |  | " + today + " | ";
    EXPECT_EQ(shown(), input);
    int n = 1;
    for (; n <= 2; ++n) {
        prepare();
        store::TemporaryRegister::fail_nth_statement(n);
        boxes = update(vbYes);
        db_conn.set_statement_hook({});
        if (boxes.size() > 1 && boxes[1] == kUpdated)
            break;
        EXPECT_TRUE(boxes.size() == 2 && boxes[1].startsWith("Database Error: ")) << n;
        EXPECT_EQ(stored(), "Sanctioned | 1500.5 | 2024-05-15 | by the other") << n;
        EXPECT_EQ(shown(), input) << n;
    }
    EXPECT_EQ(n, 2) << "one statement fails, then the update succeeds";
}

TEST_F(StatusForm, LongStoredTextsAreShownWholeAndKept) {
    const QString remarks(250, u'r'), name(2'000'000, u'N');
    db_conn.Execute("Update detail set empname='" + name + "', remarks='" + remarks +
                    "' where refno=12");
    clerk.retype("txt_refno", "12");
    EXPECT_EQ(clerk.text("txt_remarks"), remarks);
    const int screen_width = form.screen()->availableGeometry().width();
    EXPECT_LE(form.sizeHint().width(), screen_width);
    EXPECT_LE(clerk.find<QLabel>("lbl_name")->sizeHint().width(), screen_width);
    EXPECT_TRUE(clerk.find<QLabel>("lbl_name")->text().startsWith("NNNN"));
    update(vbYes);
    EXPECT_EQ(stored(), "Sanctioned | 1500.5 | 2024-05-15 | " + remarks);
    clerk.retype("txt_refno", "12");
    clerk.retype("txt_remarks", remarks);
    EXPECT_EQ(clerk.text("txt_remarks"), remarks.left(200)); // the limit holds for what is typed
}

} // namespace
