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

// The four decision columns of one claim as stored.
struct Decision {
    store::FieldValue billstatus, amtapproved, appdate, remarks;
    bool operator==(const Decision&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Decision& d) {
    return out << '[' << d.billstatus.text().toStdString() << ", "
               << d.amtapproved.text().toStdString() << ", " << d.appdate.text().toStdString()
               << ", " << d.remarks.text().toStdString() << ']';
}

Decision stored(int refno) {
    store::Recordset row;
    row.Open(QStringLiteral("select billstatus, amtapproved, appdate, remarks from detail where "
                            "refno=%1")
                 .arg(refno),
             db_conn);
    EXPECT_FALSE(row.Eof()) << "no claim " << refno;
    if (row.Eof())
        return {};
    return {row.Fields(0), row.Fields(1), row.Fields(2), row.Fields(3)};
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
const Decision kSanctionedDecision{store::FieldValue(QString("Sanctioned")),
                                   store::FieldValue(1500.5), store::FieldValue(QDate(2024, 5, 15)),
                                   store::FieldValue(QString("passed"))};
const Decision kRejectedDecision{store::FieldValue(QString("Rejected")),
                                 store::FieldValue(std::int64_t{0}), store::FieldValue(),
                                 store::FieldValue(QString("-"))};

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
    std::vector<QWidget*> order{QApplication::focusWidget()};
    txt_refno()->setText("1"); // no claim, but the buttons' turn comes only when enabled
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order.push_back(QApplication::focusWidget());
    }
    EXPECT_EQ(order, (std::vector<QWidget*>{txt_refno(), cmb_status(), txt_remarks(),
                                            control<QPushButton>("cmd_close"), txt_refno(),
                                            cmb_status()}));
}

TEST_F(StatusForm, EveryKeystrokeInTheNumberLooksTheClaimUp) {
    add_claim(1, "Claim One", "'Pending', Null, Null, Null");
    add_claim(12, "Claim Twelve", "'Pending', Null, Null, Null");
    QTest::keyClick(txt_refno(), '1');
    EXPECT_EQ(name_shown(), "Claim One");
    EXPECT_TRUE(cmd_update()->isEnabled());
    QTest::keyClick(txt_refno(), '2');
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
}

// The update's condition is the number the lookup read, never the text as typed.
TEST_F(StatusForm, TheUpdateWritesToTheClaimTheLookupFound) {
    add_claim(1, "Claim One", kSanctionedClaim);
    add_claim(12, "Claim Twelve", kSanctionedClaim);
    for (const QString typed : {"1 2", "12,5", " 12 "}) {
        SCOPED_TRACE(typed.toStdString());
        type_refno(typed);
        ASSERT_EQ(name_shown(), "Claim Twelve");
        choose("Rejected");
        txt_remarks()->clear();
        press_update(vbYes);
        EXPECT_EQ(Module1::sql_text, "Update detail set billstatus='Rejected', amtapproved=0, "
                                     "appdate=Null , remarks='-' where refno=12 ");
        EXPECT_EQ(stored(12), kRejectedDecision);
        db_conn.Execute("Update detail set billstatus='Sanctioned', amtapproved=1500.5, "
                        "appdate=#15-May-2024#, remarks='passed' where refno=12");
    }
    EXPECT_EQ(stored(1), kSanctionedDecision);
    EXPECT_EQ(Module1::reply, QString::number(vbYes));

    type_refno("12.5"); // no claim has that number
    expect_blank();
}

TEST_F(StatusForm, EmptyAmountsPlaceholderRemarksAndNullsShowAsEmpty) {
    add_claim(5, "Zero", "'Rejected', 0, Null, '-'");
    add_claim(6, "Null", "'Pending', Null, Null, Null");
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
    EXPECT_EQ(stored(12), kSanctionedDecision);
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

TEST_F(StatusForm, ASanctionNeedsAnAmountAboveZero) {
    add_claim(12, "Claim Twelve", "'Pending', Null, Null, Null");
    const Decision before = stored(12);
    type_refno("12");
    choose("Sanctioned");
    for (const QString amount : {"", "0", "0.00", " , ", ".0"}) {
        SCOPED_TRACE(amount.toStdString());
        script.clear_shown();
        txt_amount()->setText(amount);
        QTest::mouseClick(cmd_update(), Qt::LeftButton);
        EXPECT_EQ(script.shown(), std::vector<ShownBox>{kEnterAmount});
        EXPECT_TRUE(txt_amount()->text().isEmpty());
        EXPECT_EQ(QApplication::focusWidget(), txt_amount());
    }
    // Text that is no number: said so, and left for the clerk to mend.
    for (const QString amount : {"1.2.3", "12abc", "-500", "."}) {
        SCOPED_TRACE(amount.toStdString());
        script.clear_shown();
        vetra_testing::paste(txt_amount(), amount);
        ASSERT_EQ(txt_amount()->text(), amount);
        QTest::mouseClick(cmd_update(), Qt::LeftButton);
        EXPECT_EQ(script.shown(),
                  std::vector<ShownBox>{info("Invalid Amount Approved!", "Invalid")});
        EXPECT_EQ(txt_amount()->text(), amount);
        EXPECT_EQ(QApplication::focusWidget(), txt_amount());
        txt_amount()->clear();
    }
    EXPECT_EQ(stored(12), before);

    // Thousands commas and blanks are taken out.
    for (const auto& [typed, written] : {std::pair{"1,20,000", 120000}, {"12 00", 1200}}) {
        type_refno("12");
        choose("Sanctioned");
        QTest::keyClicks(txt_amount(), typed);
        press_update(vbYes);
        EXPECT_EQ(stored(12).amtapproved, store::FieldValue(std::int64_t{written}));
    }
}

TEST_F(StatusForm, RejectingOrPendingClearsASanction) {
    add_claim(12, "Claim Twelve", kSanctionedClaim);
    type_refno("12");
    choose("Rejected");
    txt_remarks()->clear();
    press_update(vbYes);
    EXPECT_EQ(stored(12), kRejectedDecision);
    type_refno("12");
    EXPECT_TRUE(txt_remarks()->text().isEmpty()); // "-" shows as no remarks

    db_conn.Execute("Update detail set billstatus='Sanctioned', amtapproved=1500.5, "
                    "appdate=#15-May-2024#, remarks='passed' where refno=12");
    type_refno("12");
    choose("Pending");
    txt_remarks()->setText("  papers awaited  ");
    press_update(vbYes);
    EXPECT_EQ(stored(12),
              (Decision{store::FieldValue(QString("Pending")), store::FieldValue(std::int64_t{0}),
                        store::FieldValue(), store::FieldValue(QString("papers awaited"))}));
}

TEST_F(StatusForm, AnsweringNoWritesNothingAndChangesNothing) {
    add_claim(12, "Claim Twelve", kSanctionedClaim);
    type_refno("12");
    choose("Rejected");
    txt_remarks()->clear();
    press_update(vbNo);
    EXPECT_EQ(Module1::reply, QString::number(vbNo));
    EXPECT_EQ(stored(12), kSanctionedDecision);
    EXPECT_EQ(script.shown(), std::vector<ShownBox>{kUpdateQuestion});
    EXPECT_EQ(txt_refno()->text(), "12");
    EXPECT_EQ(cmb_status()->currentText(), "Rejected");
    EXPECT_TRUE(txt_remarks()->text().isEmpty());
    EXPECT_TRUE(cmd_update()->isEnabled());
}

TEST_F(StatusForm, RemarksKeepPastedQuotesAndDropTypedOnes) {
    add_claim(12, "Claim Twelve", "'Pending', Null, Null, Null");
    type_refno("12");
    QTest::keyClicks(txt_remarks(), "it's ok");
    EXPECT_EQ(txt_remarks()->text(), "its ok");

    const QString pasted = "O'Brien's bill, 'verified' -- \"fine\"; x' or '1'='1";
    txt_remarks()->clear();
    vetra_testing::paste(txt_remarks(), pasted);
    ASSERT_EQ(txt_remarks()->text(), pasted);
    choose("Rejected");
    press_update(vbYes);
    EXPECT_EQ(stored(12).remarks, store::FieldValue(pasted));
    type_refno("12");
    EXPECT_EQ(txt_remarks()->text(), pasted);

    txt_remarks()->clear();
    QTest::keyClicks(txt_remarks(), QString(250, 'r'));
    EXPECT_EQ(txt_remarks()->text(), QString(200, 'r'));
}

TEST_F(StatusForm, NumbersTakeOnlyNumericKeysAndTheStatusTakesNone) {
    add_claim(12, "Claim Twelve", kSanctionedClaim);
    QTest::keyClicks(txt_refno(), "1a-2'");
    EXPECT_EQ(txt_refno()->text(), "12");
    txt_amount()->clear();
    QTest::keyClicks(txt_amount(), "7x5,0.5 -");
    EXPECT_EQ(txt_amount()->text(), "75,0.5 ");

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
    EXPECT_EQ(stored(12), kSanctionedDecision);
    EXPECT_EQ(txt_refno()->text(), "12");
    EXPECT_EQ(cmb_status()->currentText(), "Rejected");
    EXPECT_TRUE(txt_remarks()->text().isEmpty());
    EXPECT_TRUE(cmd_update()->isEnabled());

    press_update(vbYes); // the next attempt goes through
    EXPECT_EQ(stored(12), kRejectedDecision);
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

// The lookup runs at every keystroke: on a large register it must find the row by the index.
TEST_F(StatusForm, TheLookupUsesTheReferenceNumberIndex) {
    QStringList statements;
    db_conn.set_statement_hook([&](const QString& statement) { statements << statement; });
    type_refno("1 2");
    db_conn.set_statement_hook({});
    ASSERT_FALSE(statements.isEmpty());
    const QString lookup = statements.last();
    ASSERT_TRUE(lookup.startsWith("Select billstatus")) << lookup.toStdString();
    store::Recordset plan;
    plan.Open("EXPLAIN QUERY PLAN " + lookup, db_conn);
    QStringList steps;
    for (; !plan.Eof(); plan.MoveNext())
        steps << plan.Fields("detail").text();
    EXPECT_TRUE(steps.join(' ').contains("SEARCH TABLE detail USING INDEX detail_refno"))
        << steps.join('\n').toStdString();
}

TEST_F(StatusForm, CloseUnloadsWithoutWriting) {
    add_claim(12, "Claim Twelve", kSanctionedClaim);
    type_refno("12");
    choose("Rejected");
    QTest::mouseClick(control<QPushButton>("cmd_close"), Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_EQ(stored(12), kSanctionedDecision);
    EXPECT_TRUE(script.shown().empty());
}

TEST_F(StatusForm, PastedRemarksAreStoredExactlyAsTheBoxHoldsThem) {
    add_claim(12, "Claim Twelve", "'Pending', Null, Null, Null");
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
        EXPECT_EQ(stored(12).remarks, store::FieldValue(held.trimmed()));
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
        script.clear_shown();
        QTest::mouseClick(cmd_update(), Qt::LeftButton);
        EXPECT_EQ(
            script.shown(),
            std::vector<ShownBox>{info(
                "Remarks holds a character that cannot be stored. Type them again.", "Invalid")});
        EXPECT_EQ(txt_remarks()->text(), text);
        EXPECT_EQ(QApplication::focusWidget(), txt_remarks());
    }
    EXPECT_EQ(stored(12), kSanctionedDecision);
}

TEST_F(StatusForm, JunkPastedIntoTheNumbersNeverReachesAStatement) {
    add_claim(12, "Claim Twelve", kSanctionedClaim);
    QStringList statements;
    db_conn.set_statement_hook([&statements](const QString& s) { statements << s; });
    // The number box: every paste looks up a plain number, and no box is shown.
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
    // The amount: junk is refused before the question, and nothing is written.
    type_refno("12");
    choose("Sanctioned");
    for (const auto& [kind, junk] : vetra_testing::junk_numbers()) {
        SCOPED_TRACE(kind);
        vetra_testing::paste(txt_amount(), junk);
        script.clear_shown();
        statements.clear();
        QTest::mouseClick(cmd_update(), Qt::LeftButton);
        EXPECT_EQ(script.shown(),
                  std::vector<ShownBox>{info("Invalid Amount Approved!", "Invalid")});
        EXPECT_TRUE(statements.isEmpty());
    }
    db_conn.set_statement_hook({});
    EXPECT_EQ(stored(12), kSanctionedDecision);
}
