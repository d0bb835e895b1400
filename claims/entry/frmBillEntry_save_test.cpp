// Add New Bill, the field check and SAVE/UPDATE through the real form, read back from the table.
#include "connection.h"
#include "control_text.h"
#include "entry_form_fixture.h"
#include "store_error.h"

using platform::vbNo;
using platform::vbYes;
using store::FieldValue;

namespace {

using Saving = EntryFormTest;

const QStringList kSelfClaimStatements{
    "Select refno from detail where refno=101",
    "Insert into detail (refno,refdate,billstatus) values(101, #05-Mar-2007#,'Pending')",
    "Update detail set empname='Harpreet Kaur', fname='Gurdev Singh', design='Lecturer', "
    "basicpay=18450 where refno=101",
    "Update detail set oaddress='Govt. School, Mall Road', ovill='Nabha', oteh='-', "
    "oblkname='-', odist='Patiala' where refno=101",
    "Update detail set raddress='-', rvill='-', rteh='-', rdist='-', rstate='-' where refno=101",
    "Update detail set pname='Gurdev Singh', page=67, relation='Father' where refno=101",
    "Update detail set disease='Angina', dfrom=#12-Jan-2007#, dto=#27-Jan-2007#, "
    "hospital='Rajindra Hospital', amtclaimed=142300, claimtype='Self' where refno=101",
    "Update detail set dependpay=0 where refno=101",
    "Update detail set documents='Yes', apphealth='No', medicalcrt='Yes' where refno=101",
    "Update detail set amthealth=0 where refno=101",
    "Update detail set intime='No', officer='S. K. Sharma', offdesign='Superintendent', "
    "branch='Medical' where refno=101"};

TEST_F(Saving, TheRoadOfOneNewClaim) {
    click("cmd_addnew");
    EXPECT_EQ(txt("txt_refno")->text(), "101");
    expect_mode(Mode::new_claim);
    EXPECT_FALSE(txt("txt_DIncome")->isEnabled());
    EXPECT_FALSE(txt("txt_HAmount")->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), txt("txt_EmpName"));

    type_claim();
    record_statements();
    script.answer(vbYes);
    click("cmd_save");

    EXPECT_EQ(script.shown(), (std::vector{question("Do you want to save record ?", "Save?"),
                                           info("Record Saved Successfully.", "Saved")}));
    EXPECT_EQ(Module1::reply, "6");
    EXPECT_EQ(statements, kSelfClaimStatements);
    EXPECT_EQ(Module1::sql_text, kSelfClaimStatements.last());

    const auto row = stored(101);
    const std::map<QString, FieldValue> expected{
        {"refno", FieldValue(std::int64_t{101})},
        {"refdate", FieldValue(QDate(2007, 3, 5))},
        {"empname", FieldValue(QString("Harpreet Kaur"))},
        {"fname", FieldValue(QString("Gurdev Singh"))},
        {"design", FieldValue(QString("Lecturer"))},
        {"basicpay", FieldValue(std::int64_t{18450})},
        {"oaddress", FieldValue(QString("Govt. School, Mall Road"))},
        {"ovill", FieldValue(QString("Nabha"))},
        {"oteh", FieldValue(QString("-"))},
        {"oblkname", FieldValue(QString("-"))},
        {"odist", FieldValue(QString("Patiala"))},
        {"raddress", FieldValue(QString("-"))},
        {"rvill", FieldValue(QString("-"))},
        {"rteh", FieldValue(QString("-"))},
        {"rdist", FieldValue(QString("-"))},
        {"rstate", FieldValue(QString("-"))},
        {"pname", FieldValue(QString("Gurdev Singh"))},
        {"page", FieldValue(std::int64_t{67})},
        {"relation", FieldValue(QString("Father"))},
        {"disease", FieldValue(QString("Angina"))},
        {"dfrom", FieldValue(QDate(2007, 1, 12))},
        {"dto", FieldValue(QDate(2007, 1, 27))},
        {"hospital", FieldValue(QString("Rajindra Hospital"))},
        {"amtclaimed", FieldValue(std::int64_t{142300})},
        {"claimtype", FieldValue(QString("Self"))},
        {"dependpay", FieldValue(std::int64_t{0})},
        {"documents", FieldValue(QString("Yes"))},
        {"apphealth", FieldValue(QString("No"))},
        {"amthealth", FieldValue(std::int64_t{0})},
        {"medicalcrt", FieldValue(QString("Yes"))},
        {"intime", FieldValue(QString("No"))},
        {"officer", FieldValue(QString("S. K. Sharma"))},
        {"offdesign", FieldValue(QString("Superintendent"))},
        {"branch", FieldValue(QString("Medical"))},
        {"billstatus", FieldValue(QString("Pending"))},
        {"amtapproved", FieldValue()},
        {"appdate", FieldValue()},
        {"remarks", FieldValue()}};
    for (const auto& [column, value] : expected) {
        ASSERT_TRUE(row.count(column)) << column.toStdString();
        EXPECT_EQ(row.at(column), value)
            << column.toStdString() << " holds " << row.at(column).text().toStdString();
    }

    expect_mode(Mode::idle);
    click("cmd_addnew");
    EXPECT_EQ(txt("txt_refno")->text(), "102");
}

TEST_F(Saving, TheChecksRunInOrderAndReportOnlyTheFirstGap) {
    click("cmd_addnew");
    const std::tuple<const char*, const char*, const char*> checks[] = {
        {"txt_EmpName", "Enter Employee Name Please", "Ravi"},
        {"txt_Fname", "Enter Father's Name Please", "Mohan"},
        {"txt_Design", "Enter Designation Please", "Clerk"},
        {"txt_Pay", "Enter Basic Pay Please", "9000"},
        {"txt_OAddress", "Enter Office Address Please", "Mall Road"},
        {"cmb_district", "Select District Please", "Moga"},
        {"txt_pname", "Enter Patient Name Please", "Ravi"},
        {"txt_age", "Enter Patient's age Please", "40"},
        {"txt_Relation", "Enter Relation Please", "Self"},
        {"txt_Disease", "Enter Disease Name Please", "Fever"},
        {"txt_Hospital", "Enter Hospital Name Please", "Civil Hospital"},
        {"txt_AmtClaimed", "Enter Amount Claimed Please", "1200"},
        {"cmb_Type", "Select Type of Claim Please", "Dependent"},
        {"txt_DIncome", "Enter Dependent's Income Please", "2000"},
        {"cmb_Documents", "Select The Status of Documents", "Incomplete"},
        {"cmb_HApproval", "Select The Status of Health Dept. Approval", "Yes"},
        {"txt_HAmount", "Enter the Amount Approved By Health Dept.", "1000"},
        {"cmb_doctor", "Select The Status Medical Certificate", "No"},
        {"cmb_BillTime", "Select The Status Submission of Bill", "Yes"},
        {"txt_DOfficer", "Enter the Name of Dealing Officer", "Gill"},
        {"txt_DDesign", "Enter the Designation of Dealing Officer", "Assistant"},
        {"txt_DBranch", "Enter the Branch of Dealing Officer", "Accounts"}};
    // A box of blanks counts as empty, and the check empties it.
    txt("txt_Fname")->setText("   ");
    for (const auto& [name, message, value] : checks) {
        script.clear_shown();
        click("cmd_save");
        EXPECT_EQ(script.shown(), std::vector{info(message, "Field Required")}) << name;
        EXPECT_EQ(form->valid_flag, "");
        EXPECT_EQ(control_text(control(name)), "") << name;
        if (auto* combo = qobject_cast<QComboBox*>(control(name))) {
            EXPECT_TRUE(combo->view()->isVisible()) << name << ": its list is open";
            combo->hidePopup();
            EXPECT_EQ(QApplication::focusWidget(), combo) << name;
            choose(name, value);
        } else {
            EXPECT_EQ(QApplication::focusWidget(), control(name)) << name;
            QTest::keyClicks(txt(name), value);
        }
    }
    EXPECT_EQ(claims_stored(), 0);
    expect_mode(Mode::new_claim);

    script.clear_shown();
    script.answer(vbYes);
    click("cmd_save");
    EXPECT_EQ(form->valid_flag, "OK");
    EXPECT_EQ(claims_stored(), 1);
    const auto row = stored(101);
    EXPECT_EQ(row.at("dependpay"), FieldValue(std::int64_t{2000}));
    EXPECT_EQ(row.at("amthealth"), FieldValue(std::int64_t{1000}));
    EXPECT_EQ(row.at("documents").text(), "Incomplete");
}

TEST_F(Saving, AnsweringNoKeepsEverythingAndStoresNothing) {
    click("cmd_addnew");
    type_claim("Dependent", "Yes");
    script.answer(vbNo);
    click("cmd_save");
    EXPECT_EQ(Module1::reply, "7");
    EXPECT_EQ(claims_stored(), 0);
    expect_mode(Mode::new_claim);
    EXPECT_EQ(txt("txt_EmpName")->text(), "Harpreet Kaur");
    EXPECT_EQ(txt("txt_DIncome")->text(), "3,500");
    EXPECT_EQ(txt("txt_HAmount")->text(), "1,38,000");
    EXPECT_EQ(txt("txt_OTehsil")->text(), ""); // the dash fill only follows a Yes
    EXPECT_EQ(txt("txt_refno")->text(), "101");
}

TEST_F(Saving, AmountsAreStoredAsPlainNumbers) {
    click("cmd_addnew");
    type_claim("Dependent", "Yes");
    txt("txt_Pay")->setText(" 1,20,000 ");
    txt("txt_age")->setText("4 5");
    txt("txt_AmtClaimed")->setText("12 500.50");
    script.answer(vbYes);
    click("cmd_save");
    const auto row = stored(101);
    EXPECT_EQ(row.at("basicpay"), FieldValue(std::int64_t{120000}));
    EXPECT_EQ(row.at("page"), FieldValue(std::int64_t{45}));
    EXPECT_EQ(row.at("amtclaimed"), FieldValue(12500.5));
    EXPECT_EQ(row.at("dependpay"), FieldValue(std::int64_t{3500}));
    EXPECT_EQ(row.at("amthealth"), FieldValue(std::int64_t{138000}));
}

TEST_F(Saving, AnAmountThatIsNoNumberIsRefusedBeforeTheQuestion) {
    click("cmd_addnew");
    type_claim("Dependent", "Yes");
    const std::pair<const char*, const char*> fields[] = {{"txt_Pay", "Basic Pay"},
                                                          {"txt_age", "Age"},
                                                          {"txt_AmtClaimed", "Amount Claimed"},
                                                          {"txt_DIncome", "Income of Dependent"},
                                                          {"txt_HAmount", "Amount approved"}};
    for (const auto& [name, label] : fields) {
        const QString typed = txt(name)->text();
        txt(name)->setText(name == std::string("txt_age") ? "1.." : "1.2.3");
        script.clear_shown();
        record_statements().clear();
        click("cmd_save");
        ASSERT_EQ(script.shown().size(), 1u) << name;
        EXPECT_EQ(script.shown()[0].title, "Invalid");
        EXPECT_TRUE(script.shown()[0].text.startsWith(QString(label) + " is not a valid number"))
            << script.shown()[0].text.toStdString();
        EXPECT_EQ(QApplication::focusWidget(), txt(name));
        EXPECT_TRUE(statements.isEmpty()) << name;
        txt(name)->setText(typed);
    }
    // The required fields are checked first.
    txt("txt_Pay")->setText("1.2.3");
    txt("txt_DBranch")->clear();
    script.clear_shown();
    click("cmd_save");
    EXPECT_EQ(script.shown(),
              std::vector{info("Enter the Branch of Dealing Officer", "Field Required")});
    EXPECT_EQ(claims_stored(), 0);
}

TEST_F(Saving, APastedQuoteIsStoredAsTyped) {
    click("cmd_addnew");
    type_claim();
    txt("txt_EmpName")->clear();
    txt("txt_EmpName")->insert("D'Souza");          // pasted, not typed
    txt("txt_Hospital")->insert(" ''; drop table"); // a quote that would end the literal
    record_statements();
    script.answer(vbYes);
    click("cmd_save");
    EXPECT_TRUE(statements.filter("empname='D''Souza'").size() == 1);
    const auto row = stored(101);
    EXPECT_EQ(row.at("empname").text(), "D'Souza");
    EXPECT_EQ(row.at("hospital").text(), "Rajindra Hospital ''; drop table");

    find("101");
    EXPECT_EQ(txt("txt_EmpName")->text(), "D'Souza");
}

TEST_F(Saving, AStatementFailingMidwayLeavesNoRowAndTheFormAsTyped) {
    click("cmd_addnew");
    type_claim();
    txt("txt_PTehsil")->setText("   ");
    store::TemporaryRegister::fail_nth_statement(6); // the fourth update
    script.answer(vbYes);
    click("cmd_save");

    ASSERT_EQ(script.shown().size(), 2u);
    EXPECT_EQ(script.shown()[1].title, "Database Error");
    EXPECT_TRUE(script.shown()[1].text.contains("injected failure"))
        << script.shown()[1].text.toStdString();
    EXPECT_EQ(claims_stored(), 0);
    EXPECT_FALSE(Module1::db_conn.InTransaction());
    expect_mode(Mode::new_claim);
    EXPECT_EQ(txt("txt_refno")->text(), "101");
    EXPECT_EQ(txt("txt_EmpName")->text(), "Harpreet Kaur");
    EXPECT_EQ(cmb("cmb_district")->currentText(), "Patiala");
    EXPECT_EQ(txt("txt_OVillage")->text(), "Nabha");
    for (const char* name : {"txt_OTehsil", "txt_OEBlock", "txt_PAddress", "txt_PVillage",
                             "txt_PDistrict", "txt_State"})
        EXPECT_EQ(txt(name)->text(), "") << name << " shows the dash of the failed save";
    EXPECT_EQ(txt("txt_PTehsil")->text(), "   ");

    // Once the fault is gone the same input saves whole.
    script.clear_shown();
    script.answer(vbYes);
    click("cmd_save");
    EXPECT_EQ(script.shown().back(), info("Record Saved Successfully.", "Saved"));
    EXPECT_EQ(claims_stored(), 1);
    EXPECT_EQ(stored(101).at("branch").text(), "Medical");
    EXPECT_EQ(stored(101).at("rteh").text(), "-");
}

TEST_F(Saving, ANumberTakenMeanwhileGivesTheClaimTheNextFreeOne) {
    click("cmd_addnew");
    ASSERT_EQ(txt("txt_refno")->text(), "101");
    type_claim();
    {
        // Another program on the same file stores claim 101 first.
        store::Connection other;
        other.Open(Module1::db_conn.ConnectionString());
        other.Execute("Insert into detail (refno,refdate,billstatus,empname) "
                      "values(101, #01-Mar-2007#,'Pending','Other Clerk')");
    }
    script.answer(vbYes);
    click("cmd_save");
    EXPECT_EQ(script.shown().back(),
              info("Record Saved Successfully.\nNumber 101 was given to another bill meanwhile, "
                   "so this bill is saved under number 102.",
                   "Saved"));
    EXPECT_EQ(stored(101).at("empname").text(), "Other Clerk");
    EXPECT_EQ(stored(101).at("branch"), FieldValue());
    EXPECT_EQ(stored(102).at("empname").text(), "Harpreet Kaur");
    EXPECT_EQ(stored(102).at("branch").text(), "Medical");
    expect_mode(Mode::idle);
}

TEST_F(Saving, AnEditedClaimKeepsItsDecision) {
    click("cmd_addnew");
    type_claim("Dependent", "Yes");
    script.answer(vbYes);
    click("cmd_save");
    Module1::db_conn.Execute("Update detail set billstatus='Sanctioned', amtapproved=125000, "
                             "appdate=#02-Apr-2007#, remarks='Passed' where refno=101");

    find("101");
    click("cmd_edit");
    expect_mode(Mode::editing);
    EXPECT_TRUE(txt("txt_DIncome")->isEnabled());
    EXPECT_TRUE(txt("txt_HAmount")->isEnabled());
    txt("txt_Design")->setText("Senior Lecturer");
    txt("txt_OVillage")->clear();
    choose("cmb_Type", "Self");
    picker("txt_to")->setDate(QDate(2007, 1, 30));
    script.clear_shown();
    record_statements();
    script.answer(vbYes);
    click("cmd_save");

    EXPECT_EQ(script.shown(), (std::vector{question("Do you want to update record ?", "Update?"),
                                           info("Record Updated Successfully.", "Updated")}));
    ASSERT_EQ(statements.size(), 10);
    EXPECT_EQ(statements[0], "Update detail set refdate=#05-Mar-2007# where refno=101");
    EXPECT_EQ(statements[6], "Update detail set dependpay=0 where refno=101");
    EXPECT_EQ(statements[8], "Update detail set amthealth=138000 where refno=101");
    const auto row = stored(101);
    EXPECT_EQ(row.at("design").text(), "Senior Lecturer");
    EXPECT_EQ(row.at("ovill").text(), "-");
    EXPECT_EQ(row.at("claimtype").text(), "Self");
    EXPECT_EQ(row.at("dependpay"), FieldValue(std::int64_t{0}));
    EXPECT_EQ(row.at("dto"), FieldValue(QDate(2007, 1, 30)));
    EXPECT_EQ(row.at("billstatus").text(), "Sanctioned");
    EXPECT_EQ(row.at("amtapproved"), FieldValue(std::int64_t{125000}));
    EXPECT_EQ(row.at("appdate"), FieldValue(QDate(2007, 4, 2)));
    EXPECT_EQ(row.at("remarks").text(), "Passed");
    EXPECT_EQ(claims_stored(), 1);
    expect_mode(Mode::idle);
}

TEST_F(Saving, AnUpdateFailingMidwayChangesNothing) {
    click("cmd_addnew");
    type_claim();
    script.answer(vbYes);
    click("cmd_save");
    find("101");
    click("cmd_edit");
    txt("txt_EmpName")->setText("Changed Name");
    txt("txt_DBranch")->setText("Changed Branch");
    store::TemporaryRegister::fail_nth_statement(10); // the last update
    script.clear_shown();
    script.answer(vbYes);
    click("cmd_save");
    EXPECT_EQ(script.shown().back().title, "Database Error");
    EXPECT_EQ(stored(101).at("empname").text(), "Harpreet Kaur");
    expect_mode(Mode::editing);
    EXPECT_EQ(txt("txt_EmpName")->text(), "Changed Name");
}

TEST_F(Saving, UpdatingAClaimDeletedMeanwhileIsNoSuccess) {
    click("cmd_addnew");
    type_claim();
    script.answer(vbYes);
    click("cmd_save");
    find("101");
    click("cmd_edit");
    Module1::db_conn.Execute("Delete from detail where refno=101");
    script.clear_shown();
    script.answer(vbYes);
    click("cmd_save");
    ASSERT_EQ(script.shown().size(), 2u);
    EXPECT_EQ(script.shown()[1].title, "Database Error");
    EXPECT_TRUE(script.shown()[1].text.contains("no longer stored"));
    EXPECT_EQ(claims_stored(), 0);
    expect_mode(Mode::editing);
}

TEST_F(Saving, AddNewBillThatCannotReadTheNumbersChangesNothing) {
    click("cmd_addnew");
    txt("txt_EmpName")->setText("Typed");
    store::TemporaryRegister::fail_nth_statement(1);
    click("cmd_addnew"); // disabled in new claim mode: nothing happens
    EXPECT_TRUE(script.shown().empty());
    click("cmd_reset");
    click("cmd_addnew");
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, "Database Error");
    expect_mode(Mode::idle);
}

TEST_F(Saving, CloseAsksNothingAndSavesNothing) {
    click("cmd_addnew");
    type_claim();
    click("cmd_close");
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(script.shown().empty());
    EXPECT_EQ(claims_stored(), 0);
}

} // namespace
