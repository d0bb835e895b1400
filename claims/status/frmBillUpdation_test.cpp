// The bill status form driven through its real widgets, each test on a register of its own.
#include "dialogs.h"
#include "frmBillUpdation.h"
#include "module1.h"
#include "pasted_text.h"
#include "recordset.h"
#include "temporary_register.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

using namespace platform;
using Module1::db_conn;

void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace platform {
void PrintTo(const ShownBox& box, std::ostream* out) {
    *out << (box.style == MsgBoxStyle::Question ? "question" : "information") << " \""
         << box.text.toStdString() << "\" (" << box.title.toStdString() << ')';
}
} // namespace platform

namespace {

ShownBox info(const QString& text, const QString& title) {
    return {ShownBox::Kind::Message, text, title, MsgBoxStyle::Information};
}
const ShownBox kUpdateQuestion{ShownBox::Kind::Message, "Do you want to update record?", "Update?",
                               MsgBoxStyle::Question};
const ShownBox kUpdated = info("Record Updated Successfully!", "Updated!");
const ShownBox kEnterAmount = info("Enter Amout Please", "Field Required");
const ShownBox kInvalidAmount = info("Invalid Amount Approved!", "Invalid");

// The four decision columns of one claim as stored: status | amount | date | remarks.
QString stored(int refno) {
    store::Recordset row;
    row.Open(QStringLiteral("select billstatus, amtapproved, appdate, remarks from detail where "
                            "refno=%1")
                 .arg(refno),
             db_conn);
    if (row.Eof())
        return "no claim";
    QStringList columns;
    for (int i = 0; i < 4; ++i)
        columns << (row.Fields(i).is_null() ? "Null" : row.Fields(i).text());
    return columns.join(" | ");
}

// Stores a claim with the employee `name` and the decision columns given as statement values.
void add_claim(int refno, const QString& name, const QString& decision) {
    db_conn.Execute(QStringLiteral("insert into detail (refno, refdate, empname, fname, design, "
                                   "billstatus, amtapproved, appdate, remarks) values (%1, "
                                   "#01-Apr-2024#, '%2', 'Father of %2', 'Teacher', %3)")
                        .arg(refno)
                        .arg(name, decision));
}

const QString kSanctionedClaim = "'Sanctioned', 1500.5, #15-May-2024#, 'passed'";
const QString kPendingClaim = "'Pending', Null, Null, Null";
const QString kSanctioned = "Sanctioned | 1500.5 | 2024-05-15 | passed";
const QString kRejected = "Rejected | 0 | Null | -";

class StatusForm : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<frmBillUpdation>();
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    template <typename T> T* control(const char* name) const {
        T* found = form->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QLineEdit* txt_refno() const { return control<QLineEdit>("txt_refno"); }
    QComboBox* cmb_status() const { return control<QComboBox>("cmb_status"); }
    QLineEdit* txt_amount() const { return control<QLineEdit>("txt_amount"); }
    QDateEdit* txt_date() const { return control<QDateEdit>("txt_date"); }
    QLineEdit* txt_remarks() const { return control<QLineEdit>("txt_remarks"); }
    QPushButton* cmd_update() const { return control<QPushButton>("cmd_update"); }
    QString name_shown() const { return control<QLabel>("lbl_name")->text(); }

    void type_refno(const QString& text) {
        txt_refno()->clear();
        QTest::keyClicks(txt_refno(), text);
    }
    // Opens the status list with F4 and clicks the entry, as a clerk picks a status.
    void choose(const QString& status) {
        QComboBox* combo = cmb_status();
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_F4);
        QAbstractItemView* list = combo->view();
        ASSERT_TRUE(list->isVisible());
        const int row = combo->findText(status);
        ASSERT_GE(row, 0) << status.toStdString();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(row, 0)).center());
    }
    void press_update(int answer) {
        script.answer(answer);
        QTest::mouseClick(cmd_update(), Qt::LeftButton);
    }
    // Presses Update when no question is to come: the amount or the remarks are refused.
    std::vector<ShownBox> refused_update() {
        script.clear_shown();
        QTest::mouseClick(cmd_update(), Qt::LeftButton);
        return script.shown();
    }
    void expect_blank() const {
        EXPECT_TRUE(cmb_status()->currentText().isEmpty());
        EXPECT_TRUE(txt_amount()->text().isEmpty());
        EXPECT_TRUE(txt_remarks()->text().isEmpty());
        EXPECT_EQ(txt_date()->date(), QDate::currentDate());
        for (const char* label : {"lbl_name", "lbl_fname", "lbl_designation"})
            EXPECT_TRUE(control<QLabel>(label)->text().isEmpty()) << label;
        EXPECT_FALSE(cmd_update()->isEnabled());
        EXPECT_FALSE(txt_amount()->isEnabled());
        EXPECT_FALSE(txt_date()->isEnabled());
    }

    store::TemporaryRegister reg;
    DialogScript script{[](const QString& fault) { ADD_FAILURE() << fault.toStdString(); }};
    std::unique_ptr<frmBillUpdation> form;
};

} // namespace

TEST_F(StatusForm, OpensBlankWithItsCaptionsListAndLimits) {
    EXPECT_EQ(form->windowTitle(), "Bill Status Updation");
    const QStringList captions{
        "Enter Reference No. :", "Employee Name :",   "Father's Name :",  "Designation :",
        "Status of Bill :",      "Amount Approved :", "Date of approval", "Remarks :"};
    for (int i = 0; i < captions.size(); ++i)
        EXPECT_EQ(control<QLabel>(qPrintable(QStringLiteral("Label%1").arg(i + 1)))->text(),
                  captions[i]);
    EXPECT_EQ(cmd_update()->text(), "Update");
    EXPECT_EQ(control<QPushButton>("cmd_close")->text(), "Close");
    QStringList entries;
    for (int i = 0; i < cmb_status()->count(); ++i)
        entries << cmb_status()->itemText(i);
    EXPECT_EQ(entries, QStringList({"Pending", "Sanctioned", "Rejected"}));
    expect_blank();
    EXPECT_TRUE(txt_refno()->text().isEmpty());
    EXPECT_EQ(txt_remarks()->maxLength(), 200);
    txt_date()->setDate(QDate(2007, 3, 5));
    EXPECT_EQ(txt_date()->text(), "05-Mar-2007");
    EXPECT_TRUE(txt_date()->calendarPopup());

    EXPECT_EQ(QApplication::focusWidget(), txt_refno());
}

TEST_F(StatusForm, EveryKeystrokeInTheNumberLooksTheClaimUp) {
    add_claim(1, "Claim One", kPendingClaim);
    add_claim(12, "Claim Twelve", kPendingClaim);
    QStringList statements;
    db_conn.set_statement_hook([&](const QString& statement) { statements << statement; });
    QTest::keyClick(txt_refno(), '1');
    EXPECT_EQ(name_shown(), "Claim One");
    EXPECT_TRUE(cmd_update()->isEnabled());
    QTest::keyClick(txt_refno(), '2');
    EXPECT_EQ(statements.last(), "Select billstatus,amtapproved,appdate,remarks,empname,fname,"
                                 "design from detail where refno=12");
    EXPECT_EQ(name_shown(), "Claim Twelve");
    EXPECT_EQ(control<QLabel>("lbl_fname")->text(), "Father of Claim Twelve");
    EXPECT_EQ(control<QLabel>("lbl_designation")->text(), "Teacher");
    EXPECT_EQ(cmb_status()->currentText(), "Pending");
    QTest::keyClick(txt_refno(), '3');
    expect_blank();
    QTest::keyClick(txt_refno(), Qt::Key_Backspace);
    QTest::keyClick(txt_refno(), Qt::Key_Backspace);
    EXPECT_EQ(name_shown(), "Claim One");
    QTest::keyClick(txt_refno(), Qt::Key_Backspace);
    expect_blank();
    EXPECT_TRUE(script.shown().empty()); // a number without a claim is no error
    db_conn.set_statement_hook({});
}

// The update's condition is the number the lookup read, never the text as typed; a status other
// than "Sanctioned" clears an earlier sanction.
TEST_F(StatusForm, PendingOrRejectedIsWrittenToTheClaimTheLookupFound) {
    add_claim(1, "Claim One", kSanctionedClaim);
    add_claim(12, "Claim Twelve", kSanctionedClaim);
    const struct {
        const char* typed;
        const char* status;
        const char* remarks;
        const char* written;
    } cases[] = {
        {"1 2", "Rejected", "", "Rejected | 0 | Null | -"},
        {"12,5", "Pending", "  papers awaited  ", "Pending | 0 | Null | papers awaited"},
        {" 12 ", "Rejected", "", "Rejected | 0 | Null | -"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        db_conn.Execute("Update detail set billstatus='Sanctioned', amtapproved=1500.5, "
                        "appdate=#15-May-2024#, remarks='passed' where refno=12");
        type_refno(c.typed);
        ASSERT_EQ(name_shown(), "Claim Twelve");
        choose(c.status);
        txt_remarks()->setText(c.remarks);
        press_update(vbYes);
        EXPECT_EQ(stored(12), c.written);
    }
    EXPECT_EQ(Module1::sql_text, "Update detail set billstatus='Rejected', amtapproved=0, "
                                 "appdate=Null , remarks='-' where refno=12 ");
    EXPECT_EQ(Module1::reply, QString::number(vbYes));
    EXPECT_EQ(stored(1), kSanctioned);

    type_refno("12");
    EXPECT_TRUE(txt_remarks()->text().isEmpty()) << "the placeholder shows as no remarks";
    type_refno("12.5"); // no claim has that number
    expect_blank();
}

TEST_F(StatusForm, EmptyAmountsPlaceholderRemarksAndNullsShowAsEmpty) {
    add_claim(5, "Zero", "'Rejected', 0, Null, '-'");
    add_claim(6, "Null", kPendingClaim);
    add_claim(7, "Blank", "Null, '0.00', Null, ' - '");
    db_conn.Execute("Update detail set fname=Null, design=Null where refno=7");
    for (const char* refno : {"5", "6", "7"}) {
        SCOPED_TRACE(refno);
        type_refno(refno);
        EXPECT_FALSE(name_shown().isEmpty());
        EXPECT_TRUE(txt_amount()->text().isEmpty());
        EXPECT_FALSE(txt_amount()->isEnabled());
        EXPECT_EQ(txt_date()->date(), QDate::currentDate());
        EXPECT_TRUE(cmd_update()->isEnabled());
    }
    type_refno("5");
    EXPECT_TRUE(txt_remarks()->text().isEmpty());
    type_refno("7");
    EXPECT_TRUE(cmb_status()->currentText().isEmpty());
    EXPECT_EQ(txt_remarks()->text(), " - "); // only the exact placeholder means no remarks
    EXPECT_TRUE(control<QLabel>("lbl_fname")->text().isEmpty());
    EXPECT_TRUE(control<QLabel>("lbl_designation")->text().isEmpty());

    // A stored status that is none of the list's entries is shown as it is.
    add_claim(8, "Old", "'Approved', 10, Null, Null");
    type_refno("8");
    EXPECT_EQ(cmb_status()->currentText(), "Approved");
    EXPECT_EQ(txt_amount()->text(), "10");
}

TEST_F(StatusForm, ASanctionedClaimUpdatedWithoutChangesKeepsItsDecision) {
    add_claim(12, "Claim Twelve", kSanctionedClaim);
    type_refno("12");
    EXPECT_EQ(cmb_status()->currentText(), "Sanctioned");
    EXPECT_EQ(txt_amount()->text(), "1500.5");
    EXPECT_EQ(txt_date()->date(), QDate(2024, 5, 15));
    EXPECT_EQ(txt_remarks()->text(), "passed");
    EXPECT_TRUE(txt_amount()->isEnabled());
    EXPECT_TRUE(txt_date()->isEnabled());
    EXPECT_TRUE(cmd_update()->isEnabled());

    press_update(vbYes);
    EXPECT_EQ(Module1::sql_text, "Update detail set billstatus='Sanctioned', amtapproved=1500.5, "
                                 "appdate=#15-May-2024#, remarks='passed' where refno=12 ");
    EXPECT_EQ(stored(12), kSanctioned);
    EXPECT_EQ(script.shown(), (std::vector<ShownBox>{kUpdateQuestion, kUpdated}));
    // The success ends in the blank form, ready for the next number.
    EXPECT_TRUE(txt_refno()->text().isEmpty());
    expect_blank();
    EXPECT_EQ(cmb_status()->count(), 3);
    EXPECT_EQ(QApplication::focusWidget(), txt_refno());
}

TEST_F(StatusForm, ChoosingAStatusSwitchesTheAmountAndDate) {
    // Even in the blank form, though Update stays disabled.
    choose("Sanctioned");
    EXPECT_TRUE(txt_amount()->isEnabled());
    EXPECT_TRUE(txt_date()->isEnabled());
    EXPECT_FALSE(cmd_update()->isEnabled());

    add_claim(12, "Claim Twelve", kSanctionedClaim);
    type_refno("12");
    choose("Sanctioned"); // a sanction chosen again starts afresh
    EXPECT_TRUE(txt_amount()->text().isEmpty());
    EXPECT_EQ(txt_date()->date(), QDate::currentDate());
    EXPECT_TRUE(txt_amount()->isEnabled());
    EXPECT_TRUE(txt_date()->isEnabled());
    QTest::keyClicks(txt_amount(), "900");
    choose("Pending");
    EXPECT_TRUE(txt_amount()->text().isEmpty());
    EXPECT_FALSE(txt_amount()->isEnabled());
    EXPECT_FALSE(txt_date()->isEnabled());
    EXPECT_EQ(txt_remarks()->text(), "passed");
    EXPECT_TRUE(cmd_update()->isEnabled());
}

TEST_F(StatusForm, ASanctionNeedsAPlainAmountAboveZero) {
    add_claim(12, "Claim Twelve", kPendingClaim);
    QStringList statements;
    db_conn.set_statement_hook([&statements](const QString& s) { statements << s; });
    type_refno("12");
    choose("Sanctioned");
    statements.clear();
    for (const QString amount : {"", "0", "0.00", " , ", ".0"}) {
        SCOPED_TRACE(amount.toStdString());
        txt_amount()->setText(amount);
        EXPECT_EQ(refused_update(), std::vector<ShownBox>{kEnterAmount});
        EXPECT_TRUE(txt_amount()->text().isEmpty());
        EXPECT_EQ(QApplication::focusWidget(), txt_amount());
    }
    // Text that is no number: said so, and left for the clerk to mend.
    std::vector<vetra_testing::AwkwardText> junk = vetra_testing::junk_numbers();
    junk.insert(junk.end(), {{"three parts", "1.2.3"}, {"a letter", "12abc"}, {"a point", "."}});
    for (const auto& [kind, amount] : junk) {
        SCOPED_TRACE(kind);
        vetra_testing::paste(txt_amount(), amount);
        EXPECT_EQ(refused_update(), std::vector<ShownBox>{kInvalidAmount});
        EXPECT_EQ(txt_amount()->text(), amount);
        EXPECT_EQ(QApplication::focusWidget(), txt_amount());
    }
    EXPECT_TRUE(statements.isEmpty()) << statements.join('\n').toStdString();
    db_conn.set_statement_hook({});

    // Thousands commas and blanks are taken out.
    for (const auto& [typed, written] : {std::pair{"1,20,000", 120000}, {"12 00", 1200}}) {
        type_refno("12");
        choose("Sanctioned");
        QTest::keyClicks(txt_amount(), typed);
        press_update(vbYes);
        EXPECT_EQ(stored(12), QStringLiteral("Sanctioned | %1 | ").arg(written) +
                                  QDate::currentDate().toString(Qt::ISODate) + " | -");
    }
}

TEST_F(StatusForm, AnsweringNoOrClosingWritesNothingAndChangesNothing) {
    add_claim(12, "Claim Twelve", kSanctionedClaim);
    type_refno("12");
    choose("Rejected");
    txt_remarks()->clear();
    press_update(vbNo);
    EXPECT_EQ(Module1::reply, QString::number(vbNo));
    EXPECT_EQ(script.shown(), std::vector<ShownBox>{kUpdateQuestion});
    EXPECT_EQ(txt_refno()->text(), "12");
    EXPECT_EQ(cmb_status()->currentText(), "Rejected");
    EXPECT_TRUE(txt_remarks()->text().isEmpty());
    EXPECT_TRUE(cmd_update()->isEnabled());

    QTest::mouseClick(control<QPushButton>("cmd_close"), Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(stored(12), kSanctioned);
}

TEST_F(StatusForm, NumbersTakeOnlyNumericKeysRemarksNoQuoteAndTheStatusNone) {
    add_claim(12, "Claim Twelve", kSanctionedClaim);
    QTest::keyClicks(txt_refno(), "1a-2'");
    EXPECT_EQ(txt_refno()->text(), "12");
    txt_amount()->clear();
    QTest::keyClicks(txt_amount(), "7x5,0.5 -");
    EXPECT_EQ(txt_amount()->text(), "75,0.5 ");
    txt_remarks()->clear();
    QTest::keyClicks(txt_remarks(), "it's ok");
    EXPECT_EQ(txt_remarks()->text(), "its ok");

    // No key changes the status, and none counts as a choice (which would empty the amount).
    cmb_status()->setFocus();
    QTest::keyClicks(cmb_status(), "Rejected p");
    for (auto key : {Qt::Key_Backspace, Qt::Key_Return, Qt::Key_Delete, Qt::Key_Down, Qt::Key_Up,
                     Qt::Key_Home, Qt::Key_End, Qt::Key_PageDown})
        QTest::keyClick(cmb_status(), key);
    EXPECT_EQ(cmb_status()->currentText(), "Sanctioned");
    EXPECT_EQ(txt_amount()->text(), "75,0.5 ");
    EXPECT_TRUE(script.shown().empty()); // Enter pressed no button
}

TEST_F(StatusForm, ADatabaseFailureIsReportedAndTheInputKept) {
    add_claim(12, "Claim Twelve", kSanctionedClaim);
    store::TemporaryRegister::fail_nth_statement(1);
    QTest::keyClick(txt_refno(), '1');
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, "Database Error");
    EXPECT_TRUE(script.shown()[0].text.contains("injected failure"))
        << script.shown()[0].text.toStdString();
    EXPECT_EQ(txt_refno()->text(), "1");
    QTest::keyClick(txt_refno(), '2');
    EXPECT_EQ(name_shown(), "Claim Twelve");

    choose("Rejected");
    txt_remarks()->clear();
    script.clear_shown();
    store::TemporaryRegister::fail_nth_statement(1);
    press_update(vbYes);
    ASSERT_EQ(script.shown().size(), 2u);
    EXPECT_EQ(script.shown()[1].title, "Database Error");
    EXPECT_EQ(stored(12), kSanctioned);
    EXPECT_EQ(txt_refno()->text(), "12");
    EXPECT_EQ(cmb_status()->currentText(), "Rejected");
    EXPECT_TRUE(txt_remarks()->text().isEmpty());
    EXPECT_TRUE(cmd_update()->isEnabled());

    press_update(vbYes); // the next attempt goes through
    EXPECT_EQ(stored(12), kRejected);
}

TEST_F(StatusForm, AClaimDeletedAfterItWasShownIsNotReportedUpdated) {
    add_claim(12, "Claim Twelve", kSanctionedClaim);
    type_refno("12");
    db_conn.Execute("delete from detail where refno=12");
    press_update(vbYes);
    EXPECT_EQ(script.shown(),
              (std::vector<ShownBox>{kUpdateQuestion, info("No Record Found!", "Sorry")}));
    EXPECT_EQ(txt_refno()->text(), "12");
    expect_blank();
}

// Another program changed the claim after it was shown: its change stands, the input stays.
TEST_F(StatusForm, AClaimChangedMeanwhileIsNotOverwrittenAndTheInputKept) {
    add_claim(12, "Claim Twelve", kPendingClaim);
    type_refno("12");
    choose("Rejected");
    QTest::keyClicks(txt_remarks(), "typed");
    store::Connection other;
    other.Open(db_conn.ConnectionString());
    other.Execute("update detail set remarks='by the other' where refno=12");
    press_update(vbYes);
    EXPECT_TRUE(script.shown().back().text.contains("was changed by another user"));
    EXPECT_EQ(stored(12), "Pending | Null | Null | by the other");
    EXPECT_EQ(txt_remarks()->text(), "typed");
}

TEST_F(StatusForm, PastedRemarksAreStoredExactlyAsTheBoxHoldsThem) {
    add_claim(12, "Claim Twelve", kPendingClaim);
    for (const auto& [kind, text] : vetra_testing::storable_texts()) {
        SCOPED_TRACE(kind);
        type_refno("12");
        choose("Rejected");
        vetra_testing::paste(txt_remarks(), text);
        const QString held = txt_remarks()->text();
        EXPECT_EQ(held, text.left(200)); // the paste is cut at the limit, and only there
        script.clear_shown();
        press_update(vbYes);
        EXPECT_EQ(script.shown(), (std::vector<ShownBox>{kUpdateQuestion, kUpdated}));
        EXPECT_EQ(stored(12), "Rejected | 0 | Null | " + held.trimmed());
        type_refno("12");
        EXPECT_EQ(txt_remarks()->text(), held.trimmed());
    }
}

TEST_F(StatusForm, RemarksThatCannotBeStoredAreRefusedAndKept) {
    add_claim(12, "Claim Twelve", kSanctionedClaim);
    type_refno("12");
    choose("Rejected");
    for (const auto& [kind, text] : vetra_testing::unstorable_texts()) {
        SCOPED_TRACE(kind);
        vetra_testing::paste(txt_remarks(), text);
        EXPECT_EQ(
            refused_update(),
            std::vector<ShownBox>{info(
                "Remarks holds a character that cannot be stored. Type them again.", "Invalid")});
        EXPECT_EQ(txt_remarks()->text(), text);
        EXPECT_EQ(QApplication::focusWidget(), txt_remarks());
    }
    EXPECT_EQ(stored(12), kSanctioned);
}

TEST_F(StatusForm, AnyTextPastedIntoTheNumberLooksUpAPlainNumber) {
    QStringList statements;
    db_conn.set_statement_hook([&statements](const QString& s) { statements << s; });
    const QRegularExpression lookup("^Select .* from detail where refno=-?[0-9]+(\\.[0-9]+)?$");
    for (const auto& [kind, text] : vetra_testing::every_awkward_text()) {
        SCOPED_TRACE(kind);
        statements.clear();
        vetra_testing::paste(txt_refno(), text);
        ASSERT_FALSE(statements.isEmpty());
        for (const QString& statement : statements)
            EXPECT_TRUE(lookup.match(statement).hasMatch()) << statement.toStdString();
        EXPECT_TRUE(script.shown().empty());
    }
    db_conn.set_statement_hook({});
}
