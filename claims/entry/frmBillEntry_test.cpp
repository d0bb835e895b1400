// The bill entry form through its real widgets: texts, keys, lists and switches; a claim saved,
// checked, found, shown, edited and deleted; writes failing at every statement; the date
// pickers; a screen smaller than the form.
#include "Class1.h"
#include "clerk.h"
#include "connection.h"
#include "control_text.h"
#include "dialogs.h"
#include "entry_controls.h"
#include "field_value.h"
#include "frmBillEntry.h"
#include "module1.h"
#include "schema.h"
#include "temporary_register.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>

using platform::vbNo;
using platform::vbYes;
using store::FieldValue;
constexpr auto kQuestion = platform::MsgBoxStyle::Question;

namespace {

// A bill entry form of its own on a register of its own, shown and active, used through its
// controls as a clerk does; the form's table of controls says what each box is.
class EntryForm : public ::testing::Test {
protected:
    void SetUp() override {
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QApplication::setActiveWindow(form.get()); // on an X screen without a window manager too
        (void)QTest::qWaitForWindowActive(form.get(), 1000);
    }

    // What a box, list or date picker shows; nothing for a picker standing empty.
    QString shown(const QString& name) const {
        if (const auto* date = form->findChild<QDateEdit*>(name))
            return date->text().trimmed();
        return control_text(clerk.find(name));
    }
    void enter(const QString& name, const QString& text) {
        if (form->findChild<QComboBox*>(name) != nullptr)
            clerk.choose(name, text);
        else
            clerk.type(name, text);
    }

    struct Typed {
        const char* control;
        QString text;
    };
    // A complete claim: each text box holds its column's name, the office village the only
    // optional box filled; the income and the approved amount only when the type and the
    // approval ask for them.
    static std::vector<Typed> claim(const QString& type = "Self", const QString& approval = "No") {
        QStringList amounts{"18,450", "67", "1,42,300", "3,500", "1,38,000"};
        QStringList choices{"Patiala", type, "Incomplete", approval, "Yes", "No"};
        std::vector<Typed> typed;
        for (const EntryControl& e : kEntryControls) {
            const QString value = e.kind == Kind::number ? amounts.takeFirst()
                                  : e.kind == Kind::list ? choices.takeFirst()
                                                         : e.column;
            if (e.need == Need::required || value == "ovill" ||
                (e.need == Need::dependent && type == "Dependent") ||
                (e.need == Need::approved && approval == "Yes"))
                typed.push_back({e.name, value});
        }
        return typed;
    }
    // Types a claim (see claim); reference date 5 March 2007, treatment 12 to 27 January 2007.
    void type_claim(const QString& type = "Self", const QString& approval = "No") {
        for (const Typed& t : claim(type, approval))
            enter(t.control, t.text);
        clerk.type_date("txt_RefDate", QDate(2007, 3, 5));
        clerk.type_date("txt_from", QDate(2007, 1, 12));
        clerk.type_date("txt_to", QDate(2007, 1, 27));
    }

    using Columns = std::map<QString, QString>; // column values as statement literals
    // A complete claim written straight into the table, every text column holding its own name.
    static void store_claim(std::int64_t refno, const Columns& changes = {}) {
        Columns claim = changes;
        claim.try_emplace("refno", QString::number(refno));
        for (const QString& pair :
             QString("refdate=#05-Mar-2007# basicpay=18450 page=67 dfrom=#12-Jan-2007# "
                     "dto=#27-Jan-2007# amtclaimed=142300.5 claimtype='Dependent' dependpay=3500 "
                     "apphealth='Yes' amthealth=138000 billstatus='Pending'")
                 .split(' '))
            claim.try_emplace(pair.section('=', 0, 0), pair.section('=', 1));
        for (const EntryControl& e : kEntryControls)
            claim.try_emplace(e.column, QStringLiteral("'%1'").arg(e.column));
        QStringList names, values;
        for (const auto& [name, value] : claim)
            names << name, values << value;
        Module1::db_conn.Execute("Insert into detail (" + names.join(',') + ") values (" +
                                 values.join(',') + ")");
    }
    using Row = std::map<QString, store::FieldValue>;
    // The stored claims (those `where` picks), column by column, in the order of their numbers.
    static std::vector<Row> rows(const QString& where = {}) {
        store::Recordset rows;
        rows.Open("Select * from detail " + where + " order by refno", Module1::db_conn);
        std::vector<Row> all;
        for (; !rows.Eof(); rows.MoveNext()) {
            Row& row = all.emplace_back();
            for (int i = 0; i < rows.FieldCount(); ++i)
                row[rows.FieldName(i)] = rows.Fields(i);
        }
        return all;
    }
    static platform::ShownBox
    info(const QString& text, const QString& title,
         platform::MsgBoxStyle style = platform::MsgBoxStyle::Information) {
        return {platform::ShownBox::Kind::Message, text, title, style};
    }

    enum class Mode { idle, new_claim, viewing, editing };
    // The state of every control that the mode fixes.
    void expect_mode(Mode mode) const {
        const bool entry = mode == Mode::new_claim || mode == Mode::editing;
        for (const EntryControl& e : kEntryControls) {
            if (e.need == Need::dependent || e.need == Need::approved)
                EXPECT_TRUE(entry || !clerk.find(e.name)->isEnabled()) << e.name;
            else
                EXPECT_EQ(clerk.find(e.name)->isEnabled(),
                          entry && !(mode == Mode::editing && e.column == QString("refdate")))
                    << e.name;
        }
        // Add New Bill, SAVE, FIND, EDIT, DELETE, RESET, CLOSE: 1 where enabled.
        const char* const buttons[] = {"1010011", "0110011", "1011111", "1100011"};
        QString enabled;
        for (const char* name : {"cmd_addnew", "cmd_save", "cmd_find", "cmd_edit", "cmd_delete",
                                 "cmd_reset", "cmd_close"})
            enabled += clerk.find(name)->isEnabled() ? '1' : '0';
        EXPECT_EQ(enabled + clerk.find<QPushButton>("cmd_save")->text(),
                  buttons[int(mode)] + QString(mode == Mode::editing ? "UPDATE" : "SAVE"));
    }
    void find(const QString& typed) {
        script.type(typed);
        clerk.click("cmd_find");
    }

    store::TemporaryRegister register_;
    platform::DialogScript script{
        [](const QString& fault) { ADD_FAILURE() << fault.toStdString(); }};
    std::unique_ptr<frmBillEntry> form = std::make_unique<frmBillEntry>();
    vetra_testing::Clerk clerk{*form};
};

// Amounts take number keys, names drop the apostrophe, lists and the reference number no key.
TEST_F(EntryForm, EachKindOfBoxTakesOnlyItsKeys) {
    const std::map<Kind, std::pair<const char*, const char*>> typing{
        {Kind::number, {"1a2,X 5.6'-+e", "12, 5.6"}},
        {Kind::text, {"D'Souza, H.No. 12-B (2nd)\b", "DSouza, H.No. 12-B (2nd"}},
        {Kind::list, {"Ludhiana No\b\r", ""}},
        {Kind::reference, {"9", ""}}};
    for (const EntryControl& e : kEntryControls) {
        if (!typing.contains(e.kind))
            continue;
        clerk.find(e.name)->setEnabled(true);
        QTest::keyClicks(clerk.find(e.name), typing.at(e.kind).first);
        EXPECT_EQ(shown(e.name),
                  QString(typing.at(e.kind).second).left(e.max_length > 0 ? e.max_length : -1))
            << e.name;
    }
}

// Each switch runs on a choice from its list, every time, and never on text the program writes.
TEST_F(EntryForm, ChoosingTheTypeOrTheApprovalSwitchesItsAmountBox) {
    form->enable_fields(true);
    const std::tuple<const char*, QString, QString, const char*> switches[] = {
        {"cmb_Type", "Dependent", "Self", "txt_DIncome"},
        {"cmb_HApproval", "Yes", "No", "txt_HAmount"}};
    for (const auto& [list, on, off, box] : switches) {
        for (const QString& choice : {on, on, off}) {
            clerk.find<QLineEdit>(box)->setText("4500");
            clerk.choose(list, choice);
            EXPECT_EQ(clerk.find(box)->isEnabled(), choice == on) << box;
            EXPECT_EQ(shown(box), "") << box;
        }
        clerk.find<QComboBox>(list)->setEditText(on);
        QTest::keyClick(clerk.find(list), Qt::Key_Tab);
        EXPECT_FALSE(clerk.find(box)->isEnabled()) << list;
    }
    QTest::keyClick(clerk.find("txt_EmpName"), Qt::Key_Escape); // only CLOSE drops the form
    EXPECT_TRUE(form->isVisible());
    clerk.click("cmd_close");
    EXPECT_EQ(form->result(), QDialog::Rejected);
}

// Every load empties and disables the boxes and fills each list once. The checks run in order and
// report only the first gap; a complete claim is saved on a Yes, each box in its column, the
// optional boxes left blank as dashes. (The acceptance road finds and shows a saved claim.)
TEST_F(EntryForm, EveryLoadEmptiesTheFormAndANewClaimIsCheckedInOrderThenSaved) {
    const std::pair<const char*, QStringList> lists[] = {
        {"cmb_district", store::district_names()}, {"cmb_Documents", {"No", "Yes", "Incomplete"}},
        {"cmb_HApproval", {"No", "Yes"}},          {"cmb_Type", {"Self", "Dependent"}},
        {"cmb_BillTime", {"No", "Yes"}},           {"cmb_doctor", {"No", "Yes"}}};
    const auto expect_loaded = [&] {
        for (const auto& [name, expected] : lists) {
            QStringList entries;
            for (int i = 0; i < clerk.find<QComboBox>(name)->count(); ++i)
                entries << clerk.find<QComboBox>(name)->itemText(i);
            EXPECT_EQ(entries, expected) << name;
        }
        expect_mode(Mode::idle);
        for (const EntryControl& e : kEntryControls)
            EXPECT_EQ(shown(e.name),
                      e.kind == Kind::date ? QDate::currentDate().toString("dd-MM-yyyy") : "")
                << e.name;
    };
    expect_loaded();
    const QStringList messages =
        QString("Enter Employee Name Please|Enter Father's Name Please|Enter Designation Please|"
                "Enter Basic Pay Please|Enter Office Address Please|Select District Please|"
                "Enter Patient Name Please|Enter Patient's age Please|Enter Relation Please|"
                "Enter Disease Name Please|Enter Hospital Name Please|Enter Amount Claimed Please|"
                "Select Type of Claim Please|Enter Dependent's Income Please|"
                "Select The Status of Documents|Select The Status of Health Dept. Approval|"
                "Enter the Amount Approved By Health Dept.|Select The Status Medical Certificate|"
                "Select The Status Submission of Bill|Enter the Name of Dealing Officer|"
                "Enter the Designation of Dealing Officer|Enter the Branch of Dealing Officer")
            .split('|');
    clerk.click("cmd_addnew");
    EXPECT_EQ(shown("txt_refno"), "101");
    expect_mode(Mode::new_claim);
    EXPECT_EQ(QApplication::focusWidget(), clerk.find("txt_EmpName"));
    clerk.find<QLineEdit>("txt_Fname")
        ->setText("   "); // blanks are empty, and the check empties them
    auto message = messages.begin();
    for (const Typed& t : claim("Dependent", "Yes")) {
        if (QString(t.control) != "txt_OVillage") {
            script.clear_shown();
            clerk.click("cmd_save");
            EXPECT_EQ(script.shown(), std::vector{info(*message++, "Field Required")});
            EXPECT_EQ(form->valid_flag + shown(t.control), "") << t.control;
            if (auto* list = form->findChild<QComboBox*>(t.control)) {
                EXPECT_TRUE(list->view()->isVisible()) << t.control;
                list->hidePopup();
            }
            EXPECT_EQ(QApplication::focusWidget(), clerk.find(t.control)) << t.control;
        }
        enter(t.control, t.text);
    }
    script.answer(vbNo);
    clerk.click("cmd_save");
    EXPECT_EQ(Module1::reply + shown("txt_OTehsil"), "7"); // the dash fill only follows a Yes
    script.clear_shown();
    script.answer(vbYes);
    clerk.click("cmd_save");
    EXPECT_EQ(script.shown(), (std::vector{info("Do you want to save record ?", "Save?", kQuestion),
                                           info("Record Saved Successfully.", "Saved")}));
    EXPECT_EQ(Module1::reply + form->valid_flag, "6OK");
    expect_mode(Mode::idle);
    const Row row = rows().at(0);
    for (const EntryControl& e : kEntryControls) {
        const bool left_blank = e.need == Need::optional && e.column != QString("ovill");
        EXPECT_TRUE(e.kind != Kind::text ||
                    row.at(e.column).text() == (left_blank ? kDashMarker : e.column))
            << e.name;
    }
    EXPECT_EQ(row.at("dependpay"), FieldValue(std::int64_t{3500}));
    EXPECT_EQ(row.at("amthealth"), FieldValue(std::int64_t{138000}));
    clerk.click("cmd_addnew");
    EXPECT_EQ(shown("txt_refno"), "102");
    form->Form_Load();
    expect_loaded();
}

// Amounts lose their commas and blanks; any other amount, or a text no statement can store, is
// refused naming its box, before the question; what a box holds is stored exactly.
TEST_F(EntryForm, WhatTheBoxesHoldIsStoredExactlyOrRefusedNamingTheBox) {
    using Texts = std::vector<std::pair<const char*, QString>>; // what each tries, and the text
    // Pasted into an amount box, none is a number the register can write. Most are junk within
    // their first three characters, so a three-character box keeps junk.
    const Texts junk_numbers{{"a second statement", "1;2; Delete from detail"},
                             {"a comment", "1--"},
                             {"a quote", "1'2"},
                             {"a date literal", "#05-Mar-2007#"},
                             {"a sign", "-50"},
                             {"an exponent", "1e5"},
                             {"a hexadecimal number", "0x1"},
                             {"two points", "1.."},
                             {"Gurmukhi digits", QString::fromUtf8("੧੨੩")},
                             {"a NUL", QString("1") + QChar(0) + "2"},
                             {"a tab and a letter", "1\ta"},
                             {"more digits than a number holds", QString(400, '9')}};
    // No text box can store these.
    const Texts unstorable{{"a NUL", QString("Ram") + QChar(0) + "Lal"},
                           {"a NUL alone", QString(QChar(0))},
                           {"the first half of a surrogate pair", QString("Ram ") + QChar(0xD83D)}};
    // A text box stores these exactly as it holds them (trimmed).
    const Texts storable{
        {"apostrophes", "D'Souza's 'own' ''"},
        {"a quote that closes the literal", "x'); Delete from detail; --"},
        {"double quotes", "\"Guru Nanak\" Dev \"Hospital"},
        {"semicolons", "Ward 3; Block B;"},
        {"a comment mark", "Sector 17 -- near bus stand"},
        {"a date literal", "#05-Mar-2007#"},
        {"a lone hash", "House # 12"},
        {"Gurmukhi", QString::fromUtf8("ਹਰਪ੍ਰੀਤ ਕੌਰ ਸੰਧੂ")},
        {"a line break inside", "Ram\r\nLal\nSingh"},
        {"other control characters", QString::fromUtf8("a\x01\x02\x1b[31m\x7f\x1f z")},
        {"blanks and a tab around", "\t  Kuldip Singh  "},
        {"Gurmukhi longer than any box", QString::fromUtf8("ਸੁਖਵਿੰਦਰ ਸਿੰਘ ").repeated(30)}};
    clerk.click("cmd_addnew");
    type_claim("Dependent", "Yes");
    for (const EntryControl& e : kEntryControls) {
        if (e.kind != Kind::number && e.kind != Kind::text)
            continue;
        auto* box = clerk.find<QLineEdit>(e.name);
        const QString typed = box->text();
        for (const auto& [kind, junk] : e.kind == Kind::number ? junk_numbers : unstorable) {
            if (junk.size() > box->maxLength())
                continue; // what the limit keeps of it is tried by the shorter ones
            clerk.paste(e.name, junk);
            script.clear_shown();
            clerk.click("cmd_save");
            ASSERT_EQ(script.shown().size(), 1u) << kind << " in " << e.name;
            EXPECT_EQ(script.shown()[0].title, "Invalid");
            EXPECT_TRUE(script.shown()[0].text.startsWith(QString(e.label) + " ")) << e.name;
            EXPECT_EQ(QApplication::focusWidget(), box) << kind << " in " << e.name;
        }
        box->setText(typed);
    }
    clerk.find<QLineEdit>("txt_Pay")->setText(" 1,20,000 ");
    clerk.find<QLineEdit>("txt_AmtClaimed")->setText("12 500.50");
    for (const auto& [kind, text] : storable) {
        for (const EntryControl& e : kEntryControls)
            if (e.kind == Kind::text)
                clerk.paste(e.name, text);
        script.answer(vbYes);
        clerk.click("cmd_save");
        find("101");
        const Row row = rows().at(0);
        EXPECT_EQ(row.at("basicpay"), FieldValue(std::int64_t{120000}));
        EXPECT_EQ(row.at("amtclaimed"), FieldValue(12500.5));
        for (const EntryControl& e : kEntryControls) {
            const QString held = text.left(e.max_length).trimmed();
            if (e.kind == Kind::text) {
                EXPECT_EQ(row.at(e.column).text() + "|" + shown(e.name), held + "|" + held)
                    << kind << " in " << e.name;
            }
        }
        clerk.click("cmd_edit");
    }
}

// Each write, made to fail at its 1st, 2nd, ... statement until it succeeds: nothing of it is
// stored and the form keeps what the clerk typed, the blank optional boxes without dashes.
TEST_F(EntryForm, AWriteFailingAtAnyOfItsStatementsStoresNothingAndKeepsTheInput) {
    store_claim(12);
    // The button, the statements of its write, how the write is started and the mode it leaves.
    const std::tuple<const char*, int, std::function<void()>, Mode> writes[] = {
        {"cmd_save", 11, [&] { clerk.click("cmd_addnew"), type_claim(); }, Mode::new_claim},
        {"cmd_save", 10,
         [&] {
             find("12"), clerk.click("cmd_edit"),
                 clerk.find<QLineEdit>("txt_EmpName")->setText("Changed");
         },
         Mode::editing},
        {"cmd_delete", 1, [&] { find("12"); }, Mode::viewing}};
    for (const auto& [command, statements, start, mode] : writes) {
        start();
        const auto before = rows();
        const QString typed = shown("txt_EmpName") + shown("txt_OTehsil");
        int n = 1;
        for (; n <= statements + 1; ++n) {
            store::TemporaryRegister::fail_nth_statement(n);
            script.clear_shown();
            script.answer(vbYes);
            clerk.click(command);
            Module1::db_conn.set_statement_hook({});
            if (script.shown().back().title != "Database Error")
                break;
            SCOPED_TRACE(testing::Message() << statements << " statements, failing at " << n);
            EXPECT_EQ(rows(), before);
            EXPECT_FALSE(Module1::db_conn.InTransaction());
            expect_mode(mode);
            EXPECT_EQ(shown("txt_EmpName") + shown("txt_OTehsil"), typed);
        }
        EXPECT_EQ(n - 1, statements) << "then it succeeds";
        EXPECT_NE(rows(), before);
    }
}

// An edit is written back and keeps the claim's decision. A change or deletion another program
// made between FIND and UPDATE stands, the clerk is told, and the edit stays in the form.
TEST_F(EntryForm, AnEditedClaimIsUpdatedUnlessChangedMeanwhile) {
    clerk.click("cmd_addnew");
    type_claim("Dependent", "Yes");
    script.answer(vbYes);
    clerk.click("cmd_save");
    Module1::db_conn.Execute("Update detail set billstatus='Sanctioned', amtapproved=125000, "
                             "appdate=#02-Apr-2007#, remarks='Passed' where refno=101");
    store::Connection other;
    other.Open(Module1::db_conn.ConnectionString());
    const std::pair<const char*, const char*> meanwhile[] = {
        {"Update detail set design='Principal' where refno=101", "was changed by another user"},
        {"", "Record Updated Successfully."},
        {"Delete from detail where refno=101", "is no longer stored"}};
    for (const auto& [statement, told] : meanwhile) {
        find("101");
        clerk.click("cmd_edit");
        EXPECT_TRUE(clerk.find("txt_HAmount")->isEnabled());
        EXPECT_EQ(clerk.find("txt_DIncome")->isEnabled(), !shown("txt_DIncome").isEmpty());
        clerk.find<QLineEdit>("txt_OVillage")->clear();
        clerk.choose("cmb_Type", "Self");
        if (*statement)
            other.Execute(statement);
        const auto before = rows();
        script.clear_shown();
        script.answer(vbYes);
        clerk.click("cmd_save");
        EXPECT_TRUE(script.shown().back().text.contains(told));
        if (*statement) {
            EXPECT_EQ(rows(), before);
            expect_mode(Mode::editing);
            EXPECT_EQ(shown("txt_OVillage") + shown("cmb_Type"), "Self");
            clerk.click("cmd_reset");
        } else {
            EXPECT_EQ(script.shown(),
                      (std::vector{info("Do you want to update record ?", "Update?", kQuestion),
                                   info("Record Updated Successfully.", "Updated")}));
            QStringList stored;
            for (const char* column :
                 {"ovill", "design", "dependpay", "amthealth", "billstatus", "appdate", "remarks"})
                stored << rows().at(0).at(column).text();
            EXPECT_EQ(stored.join('|'), "-|Principal|0|138000|Sanctioned|2007-04-02|Passed");
            expect_mode(Mode::idle);
        }
    }
}

// Each text column holds its own name (store_claim), so each box names the column it shows.
TEST_F(EntryForm, AStoredClaimIsShownByTheDisplayRules) {
    const std::string kLong(400, 'H');
    const std::pair<Columns, std::vector<std::pair<const char*, const char*>>> cases[] = {
        {{}, {{"txt_AmtClaimed", "142300.5"}, {"txt_DIncome", "3500"}, {"txt_HAmount", "138000"}}},
        {{{"ovill", "'-'"}, {"oteh", "'  -  '"}, {"oblkname", "'--'"}, {"raddress", "Null"}},
         {{"txt_OVillage", ""}, {"txt_OTehsil", ""}, {"txt_OEBlock", "--"}, {"txt_PAddress", ""}}},
        {{{"rvill", "' Nabha '"}, {"officer", "'  S. K. Sharma '"}, {"intime", "' No '"}},
         {{"txt_PVillage", " Nabha "}, {"txt_DOfficer", "S. K. Sharma"}, {"cmb_BillTime", "No"}}},
        {{{"claimtype", "' Self '"}, {"dependpay", "0"}}, {{"txt_DIncome", ""}}},
        {{{"claimtype", "'self'"}, {"dependpay", "0"}}, {{"txt_DIncome", "0"}}},
        {{{"apphealth", "'Yes '"}}, {{"txt_HAmount", "138000"}}},
        {{{"apphealth", "'yes'"}}, {{"txt_HAmount", ""}}},
        // longer than the box takes: shown whole, so UPDATE writes it back unchanged
        {{{"hospital", "'" + QString::fromStdString(kLong) + "'"}},
         {{"txt_Hospital", kLong.c_str()}}},
        {{{"empname", "Null"}, {"basicpay", "Null"}, {"odist", "Null"}, {"refdate", "Null"}},
         {{"txt_EmpName", ""}, {"txt_Pay", ""}, {"cmb_district", ""}, {"txt_RefDate", ""}}},
    };
    std::int64_t refno = 101;
    for (const auto& [columns, boxes] : cases) {
        store_claim(refno, columns);
        find(QString::number(refno++));
        for (const auto& [name, text] : boxes)
            EXPECT_EQ(shown(name), text) << name << " of " << refno - 1;
        for (const EntryControl& e : kEntryControls)
            EXPECT_TRUE(!columns.empty() || e.kind != Kind::text || shown(e.name) == e.column)
                << e.name;
        expect_mode(Mode::viewing);
    }
}

// FIND takes the leading number, rounded half to even, and Cancel drops what was shown; RESET
// drops an edit unasked; DELETE asks, and never for a claim without an employee name.
TEST_F(EntryForm, FindResetAndDelete) {
    store_claim(12);
    store_claim(14, {{"claimtype", "'Self'"}});
    store_claim(30, {{"empname", "'   '"}});
    store_claim(5000000000);
    // The number is read as the platform's Val and RoundHalfEven read it (tried there).
    const std::pair<const char*, QString> inputs[] = {{"  12abc", "12"},
                                                      {"13.5", "14"},
                                                      {"abc", ""},
                                                      {"5000000000", "5000000000"},
                                                      {"99999999999999999999999", ""}};
    for (const auto& [typed, found] : inputs) {
        script.clear_shown();
        find(typed);
        EXPECT_EQ(shown("txt_refno"), found) << typed;
        EXPECT_EQ(script.shown().back(),
                  found.isEmpty() ? info("No Record Found!", "Sorry") : script.shown()[0]);
        expect_mode(found.isEmpty() ? Mode::idle : Mode::viewing);
    }
    find("");
    expect_mode(Mode::idle);
    EXPECT_EQ(shown("txt_EmpName"), "");
    find("14");
    clerk.click("cmd_edit");
    clerk.find<QLineEdit>("txt_EmpName")->setText("Changed");
    script.clear_shown();
    clerk.click("cmd_reset");
    EXPECT_TRUE(script.shown().empty());
    expect_mode(Mode::idle);
    find("14");
    script.answer(vbNo);
    clerk.click("cmd_delete");
    EXPECT_EQ(script.shown().back(), info("Do you want to Delete Record?", "Delete?", kQuestion));
    expect_mode(Mode::viewing);
    script.answer(vbYes);
    clerk.click("cmd_delete");
    EXPECT_EQ(script.shown().back(), info("Record Deleted Successfully", "Deleted!"));
    expect_mode(Mode::idle);
    find("30");
    script.clear_shown();
    clerk.click("cmd_delete");
    EXPECT_TRUE(script.shown().empty());
    EXPECT_EQ(rows().size(), 3u);
}

// A complete date typed into a picker is taken as typed, in every display pattern the forms
// use; one the calendar lacks is refused, and the picker keeps the date it had.
TEST_F(EntryForm, APickerTakesATypedDateAsTyped) {
    clerk.click("cmd_addnew");
    auto* picker = clerk.find<QDateEdit>("txt_from");
    const std::tuple<const char*, const char*, QDate> cases[] = {
        {"dd-MM-yyyy", "29022024", {2024, 2, 29}},
        {"dd-MMM-yyyy", "29Feb2024", {2024, 2, 29}},
        {"dd - MMM - yyyy", "31Mar2025", {2025, 3, 31}},
        {"dd-MM-yyyy", "30022024", {2026, 12, 7}},
        {"dd-MMM-yyyy", "29Feb2023", {2026, 12, 7}}};
    for (const auto& [pattern, typed, taken] : cases) {
        picker->setDisplayFormat(pattern);
        picker->setDate({2026, 12, 7});
        picker->setFocus();
        picker->setSelectedSection(QDateTimeEdit::DaySection);
        QTest::keyClicks(picker, typed);
        clerk.find("txt_Hospital")->setFocus();
        EXPECT_EQ(picker->date(), taken) << typed;
    }
}

// On a screen smaller than the form (also a real X screen at 125 % and 200 %, see CMakeLists),
// the form stays on the screen and scrolls every button into reach; on a larger one, the form
// keeps its own size.
TEST_F(EntryForm, EveryButtonCanBeReachedOnTheScreen) {
    const QRect screen = form->screen()->availableGeometry();
    auto* scroll = clerk.find<QScrollArea>("formScroll");
    EXPECT_TRUE(screen.contains(form->frameGeometry()));
    EXPECT_TRUE(screen.width() < 1400 || screen.height() < 900 ||
                form->size() == scroll->widget()->size());
    for (QPushButton* button : form->findChildren<QPushButton*>(QRegularExpression("^cmd_"))) {
        scroll->ensureWidgetVisible(button);
        const QPoint centre = button->mapToGlobal(button->rect().center());
        EXPECT_TRUE(screen.contains(centre)) << button->objectName().toStdString();
        EXPECT_EQ(QApplication::widgetAt(centre), button) << button->objectName().toStdString();
    }
}

// No field uses `only_alpha`, so this is its only proof: over every 16-bit code it admits exactly
// its characters, leaving the code as it was and returning it, and sets every other code to 0.
TEST(EntryClass1, OnlyAlphaAdmitsExactlyItsKeys) {
    const std::string admitted = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ. ()-\b\r";
    for (int c = -32768; c <= 32767; ++c) {
        qint16 code = static_cast<qint16>(c);
        const qint16 result = Module1::key_check.only_alpha(code, nullptr);
        const bool admits = c > 0 && c < 128 && admitted.find(char(c)) != std::string::npos;
        ASSERT_EQ(code, admits ? c : 0) << c;
        ASSERT_EQ(result, code);
    }
}

} // namespace
