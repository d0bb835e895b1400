// FIND, EDIT, DELETE and RESET through the real form, on claims written straight into the table.
#include "entry_form_fixture.h"

using platform::vbNo;
using platform::vbYes;

namespace {

class StoredClaims : public EntryFormTest {
protected:
    void SetUp() override {
        EntryFormTest::SetUp();
        for (std::int64_t refno : {12LL, 14LL, 70000LL, 5000000000LL})
            store_claim(refno);
    }

    // A claim with the typical values, not approved by the health department, and `changes`.
    static void store_claim(std::int64_t refno, const Columns& changes = {}) {
        Columns claim = typical_claim(refno);
        claim["apphealth"] = "'No'";
        for (const auto& [column, value] : changes)
            claim[column] = value;
        store_row(claim);
    }

    QStringList lookups() const { return statements.filter("Select * from detail"); }
};

TEST_F(StoredClaims, TheFindNumberIsTheLeadingNumberRoundedHalfToEven) {
    record_statements();
    const std::pair<const char*, const char*> inputs[] = {
        {"12", "12"},   {"  12", "12"}, {"12abc", "12"}, {"12.4", "12"},
        {"12.5", "12"}, {"13.5", "14"}, {"1 2", "12"},   {"-3", "-3"}};
    for (const auto& [typed, number] : inputs) {
        statements.clear();
        find(typed);
        EXPECT_EQ(lookups(), QStringList{QString("Select * from detail where refno=") + number})
            << typed;
        EXPECT_EQ(form->find_text, typed);
    }
    // The input prompt as the clerk sees it.
    EXPECT_EQ(script.shown().front(),
              (platform::ShownBox{platform::ShownBox::Kind::Input, "Enter Reference Number",
                                  "Find Bill By Ref. No.", platform::MsgBoxStyle::Information}));

    script.clear_shown();
    find("12");
    EXPECT_EQ(txt("txt_refno")->text(), "12");
    EXPECT_EQ(txt("txt_EmpName")->text(), "Harpreet Kaur");
    EXPECT_EQ(script.shown().size(), 1u); // only the prompt
    expect_mode(Mode::viewing);
    EXPECT_EQ(Module1::rs_aux.State(), store::adStateOpen);
}

TEST_F(StoredClaims, InputWithoutANumberLooksUpZero) {
    record_statements();
    find("abc");
    EXPECT_EQ(lookups(), QStringList{"Select * from detail where refno=0"});
    EXPECT_EQ(script.shown().back(), info("No Record Found!", "Sorry"));
    expect_mode(Mode::idle);
}

TEST_F(StoredClaims, NumbersBeyondSixteenBitsAreFound) {
    find("70000");
    EXPECT_EQ(txt("txt_refno")->text(), "70000");
    find("5000000000");
    EXPECT_EQ(txt("txt_refno")->text(), "5000000000");
    expect_mode(Mode::viewing);

    script.clear_shown();
    find("99999999999999999999999"); // beyond any stored number
    EXPECT_EQ(script.shown().back(), info("No Record Found!", "Sorry"));
    expect_mode(Mode::idle);
}

TEST_F(StoredClaims, NoRecordFoundLeavesTheFormIdle) {
    find("12");
    script.clear_shown();
    find("13");
    EXPECT_EQ(script.shown().back(), info("No Record Found!", "Sorry"));
    expect_mode(Mode::idle);
}

TEST_F(StoredClaims, CancelAtThePromptLeavesAnEmptyIdleForm) {
    find("12");
    script.clear_shown();
    find("");
    EXPECT_EQ(script.shown().size(), 1u); // the prompt, no message
    expect_mode(Mode::idle);
    EXPECT_EQ(txt("txt_EmpName")->text(), "");

    // FIND in new-claim mode drops the unsaved claim before the prompt.
    click("cmd_addnew");
    QTest::keyClicks(txt("txt_EmpName"), "Unsaved");
    find("");
    expect_mode(Mode::idle);
    EXPECT_EQ(claims_stored(), 4);
}

TEST_F(StoredClaims, EditOpensTheAmountsThatShowAValue) {
    store_claim(20, {{"claimtype", "'Self'"}, {"dependpay", "0"}, {"apphealth", "'Yes'"}});
    find("20");
    EXPECT_EQ(txt("txt_DIncome")->text(), "");
    EXPECT_EQ(txt("txt_HAmount")->text(), "138000");
    click("cmd_edit");
    expect_mode(Mode::editing);
    EXPECT_FALSE(txt("txt_DIncome")->isEnabled());
    EXPECT_TRUE(txt("txt_HAmount")->isEnabled());
    EXPECT_FALSE(picker("txt_RefDate")->isEnabled());
    EXPECT_TRUE(picker("txt_from")->isEnabled());

    find("12"); // FIND is disabled while editing: the prompt waits for the FIND after RESET
    EXPECT_EQ(txt("txt_refno")->text(), "20");
    click("cmd_reset");
    click("cmd_find");
    EXPECT_EQ(txt("txt_refno")->text(), "12");
    click("cmd_edit");
    EXPECT_TRUE(txt("txt_DIncome")->isEnabled());
    EXPECT_FALSE(txt("txt_HAmount")->isEnabled());
}

TEST_F(StoredClaims, ResetAndAddNewBillDropEditsWithoutAQuestion) {
    find("12");
    click("cmd_edit");
    txt("txt_EmpName")->setText("Changed");
    script.clear_shown();
    click("cmd_reset");
    EXPECT_TRUE(script.shown().empty());
    expect_mode(Mode::idle);
    EXPECT_EQ(stored(12).at("empname").text(), "Harpreet Kaur");

    find("12");
    click("cmd_edit");
    txt("txt_EmpName")->setText("Changed");
    click("cmd_addnew");
    expect_mode(Mode::new_claim);
    EXPECT_EQ(txt("txt_refno")->text(), "5000000001");
    EXPECT_EQ(txt("txt_EmpName")->text(), "");
    EXPECT_EQ(stored(12).at("empname").text(), "Harpreet Kaur");
}

TEST_F(StoredClaims, DeleteAsksAndRemovesOnlyOnYes) {
    find("14");
    script.clear_shown();
    script.answer(vbNo);
    click("cmd_delete");
    EXPECT_EQ(script.shown(), std::vector{question("Do you want to Delete Record?", "Delete?")});
    EXPECT_EQ(Module1::reply, "7");
    expect_mode(Mode::viewing);
    EXPECT_EQ(txt("txt_refno")->text(), "14");
    EXPECT_EQ(claims_stored(), 4);

    script.clear_shown();
    record_statements();
    script.answer(vbYes);
    click("cmd_delete");
    EXPECT_EQ(script.shown().back(), info("Record Deleted Successfully", "Deleted!"));
    EXPECT_EQ(Module1::reply, "6");
    EXPECT_EQ(statements, QStringList{"Delete from detail where refno=14"});
    EXPECT_TRUE(stored(14).empty());
    EXPECT_EQ(claims_stored(), 3);
    expect_mode(Mode::idle);
}

TEST_F(StoredClaims, DeletingTheLargestNumberMakesItTheNextAgain) {
    find("5000000000");
    script.answer(vbYes);
    click("cmd_delete");
    click("cmd_addnew");
    EXPECT_EQ(txt("txt_refno")->text(), "70001");
}

TEST_F(StoredClaims, DeleteDoesNothingForABlankEmployeeName) {
    store_claim(30, {{"empname", "'   '"}});
    find("30");
    script.clear_shown();
    click("cmd_delete");
    EXPECT_TRUE(script.shown().empty());
    EXPECT_EQ(stored(30).at("refno").text(), "30");
    expect_mode(Mode::viewing);
}

TEST_F(StoredClaims, DatabaseFailuresAreReportedAndLeaveTheFormUsable) {
    find("12");
    store::TemporaryRegister::fail_nth_statement(1);
    script.clear_shown();
    script.answer(vbYes);
    click("cmd_delete");
    EXPECT_EQ(script.shown().back().title, "Database Error");
    expect_mode(Mode::viewing);
    EXPECT_EQ(claims_stored(), 4);

    store::TemporaryRegister::fail_nth_statement(1);
    script.clear_shown();
    find("12");
    EXPECT_EQ(script.shown().back().title, "Database Error");
    expect_mode(Mode::idle);
    find("12");
    expect_mode(Mode::viewing);
}

} // namespace
