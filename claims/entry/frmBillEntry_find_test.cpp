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
};

TEST_F(StoredClaims, TheFindNumberIsTheLeadingNumberRoundedHalfToEvenInSixtyFourBits) {
    record_statements();
    const std::pair<const char*, const char*> inputs[] = {{"12", "12"},
                                                          {"  12", "12"},
                                                          {"12abc", "12"},
                                                          {"12.4", "12"},
                                                          {"1 2", "12"},
                                                          {"12.5", "12"},
                                                          {"13.5", "14"},
                                                          {"-3", "-3"},
                                                          {"abc", "0"},
                                                          {"70000", "70000"},
                                                          {"5000000000", "5000000000"}};
    for (const auto& [typed, number] : inputs) {
        SCOPED_TRACE(typed);
        statements.clear();
        script.clear_shown();
        find(typed);
        EXPECT_EQ(statements, QStringList{QString("Select * from detail where refno=") + number});
        EXPECT_EQ(
            script.shown().front(),
            (platform::ShownBox{platform::ShownBox::Kind::Input, "Enter Reference Number",
                                "Find Bill By Ref. No.", platform::MsgBoxStyle::Information}));
        const bool found = std::string(number) != "0" && std::string(number) != "-3";
        if (found) {
            EXPECT_EQ(txt("txt_refno")->text(), number);
            EXPECT_EQ(script.shown().size(), 1u); // only the prompt
            expect_mode(Mode::viewing);
        } else {
            EXPECT_EQ(script.shown().back(), info("No Record Found!", "Sorry"));
            expect_mode(Mode::idle);
        }
    }
    statements.clear();
    find("99999999999999999999999"); // beyond any number a claim can carry
    EXPECT_TRUE(statements.isEmpty());
    EXPECT_EQ(script.shown().back(), info("No Record Found!", "Sorry"));
    expect_mode(Mode::idle);
}

TEST_F(StoredClaims, CancelAtThePromptDropsWhatWasShownOrTyped) {
    find("12");
    script.clear_shown();
    find("");
    EXPECT_EQ(script.shown().size(), 1u); // the prompt, no message
    expect_mode(Mode::idle);
    EXPECT_EQ(txt("txt_EmpName")->text(), "");

    click("cmd_addnew");
    QTest::keyClicks(txt("txt_EmpName"), "Unsaved");
    find("");
    expect_mode(Mode::idle);
    EXPECT_EQ(claims_stored(), 4);
}

TEST_F(StoredClaims, EditOpensTheAmountsThatShowAValue) {
    store_claim(20, {{"claimtype", "'Self'"}});
    find("20");
    click("cmd_edit");
    expect_mode(Mode::editing);
    EXPECT_FALSE(txt("txt_DIncome")->isEnabled());
    EXPECT_TRUE(txt("txt_HAmount")->isEnabled());

    find("12"); // FIND is disabled while editing: the prompt waits for the FIND after RESET
    EXPECT_EQ(txt("txt_refno")->text(), "20");
    click("cmd_reset");
    click("cmd_find");
    EXPECT_EQ(txt("txt_refno")->text(), "12");
    store_claim(21, {{"apphealth", "'No'"}});
    find("21");
    click("cmd_edit");
    EXPECT_TRUE(txt("txt_DIncome")->isEnabled());
    EXPECT_FALSE(txt("txt_HAmount")->isEnabled());
}

TEST_F(StoredClaims, ResetAndAddNewBillDropEditsWithoutAQuestion) {
    for (const char* command : {"cmd_reset", "cmd_addnew"}) {
        SCOPED_TRACE(command);
        find("12");
        click("cmd_edit");
        txt("txt_EmpName")->setText("Changed");
        script.clear_shown();
        click(command);
        EXPECT_EQ(script.shown().size(), 0u);
        expect_mode(command == std::string("cmd_reset") ? Mode::idle : Mode::new_claim);
        EXPECT_EQ(txt("txt_EmpName")->text(), "");
        EXPECT_EQ(stored(12).at("empname").text(), "empname");
    }
    EXPECT_EQ(txt("txt_refno")->text(), "5000000001");
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

    // A claim shown with a blank employee name is not deleted, and nothing is asked.
    store_claim(30, {{"empname", "'   '"}});
    find("30");
    script.clear_shown();
    click("cmd_delete");
    EXPECT_TRUE(script.shown().empty());
    EXPECT_FALSE(stored(30).empty());
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

    // Add New Bill that cannot read the numbers leaves the form as it was.
    store::TemporaryRegister::fail_nth_statement(1);
    script.clear_shown();
    click("cmd_addnew");
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, "Database Error");
    expect_mode(Mode::idle);

    find("12");
    expect_mode(Mode::viewing);
}

} // namespace
