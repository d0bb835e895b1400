// Showing a stored claim: rows written straight into the detail table, found with FIND and put
// into the form by column position.
#include "entry_form_fixture.h"

#include <QRegularExpression>

namespace {

using ShowingAClaim = EntryFormTest;

// Each text column holds its own name (store_claim), so each box names the column it shows.
TEST_F(ShowingAClaim, EveryColumnGoesToItsControlAndNothingIsSwitchedOn) {
    store_claim(101);
    find("101");
    const std::pair<const char*, const char*> expected[] = {
        {"txt_refno", "101"},      {"txt_RefDate", "05-03-2007"},  {"txt_Pay", "18450"},
        {"txt_age", "67"},         {"cmb_district", "odist"},      {"txt_from", "12-01-2007"},
        {"txt_to", "27-01-2007"},  {"txt_AmtClaimed", "142300.5"}, {"cmb_Type", "Dependent"},
        {"txt_DIncome", "3500"},   {"cmb_Documents", "documents"}, {"cmb_HApproval", "Yes"},
        {"txt_HAmount", "138000"}, {"cmb_doctor", "medicalcrt"},   {"cmb_BillTime", "intime"}};
    for (const auto& [name, text] : expected)
        EXPECT_EQ(shown(name), text) << name;
    for (const TextBox& t : kTextBoxes)
        EXPECT_EQ(shown(t.box), t.column) << t.box;
    expect_mode(Mode::viewing);
}

TEST_F(ShowingAClaim, DashesBlanksNullsAndTheAmountsFollowTheDisplayRules) {
    const struct {
        const char* what;
        Columns stored;
        std::vector<std::pair<const char*, const char*>> shown;
    } cases[] = {
        {"the dash marker, also with blanks around it, shows as an empty box",
         {{"ovill", "'-'"}, {"oteh", "'  -  '"}, {"oblkname", "'--'"}, {"raddress", "Null"}},
         {{"txt_OVillage", ""}, {"txt_OTehsil", ""}, {"txt_OEBlock", "--"}, {"txt_PAddress", ""}}},
        {"text is shown as stored, but the officer and the checklist trimmed",
         {{"rvill", "' Nabha '"},
          {"empname", "'   Ravi Kumar'"},
          {"officer", "'   S. K. Sharma  '"},
          {"branch", "' Medical'"},
          {"medicalcrt", "' Yes '"},
          {"intime", "'No  '"},
          {"odist", "'Chandigarh'"}},
         {{"txt_PVillage", " Nabha "},
          {"txt_EmpName", "   Ravi Kumar"},
          {"txt_DOfficer", "S. K. Sharma"},
          {"txt_DBranch", "Medical"},
          {"cmb_doctor", "Yes"},
          {"cmb_BillTime", "No"},
          {"cmb_district", "Chandigarh"}}},
        {"a Self claim shows no income",
         {{"claimtype", "' Self '"}, {"dependpay", "0"}},
         {{"txt_DIncome", ""}}},
        {"any other type shows it, 0 included",
         {{"claimtype", "'self'"}, {"dependpay", "0"}},
         {{"txt_DIncome", "0"}, {"cmb_Type", "self"}}},
        {"an approval of Yes with blanks shows the amount",
         {{"apphealth", "'Yes '"}},
         {{"txt_HAmount", "138000"}}},
        {"no other approval does", {{"apphealth", "'yes'"}}, {{"txt_HAmount", ""}}},
        {"a Null shows as an empty box, a Null date as an empty picker",
         {{"empname", "Null"},
          {"basicpay", "Null"},
          {"odist", "Null"},
          {"dependpay", "Null"},
          {"officer", "Null"},
          {"medicalcrt", "Null"},
          {"refdate", "Null"}},
         {{"txt_EmpName", ""},
          {"txt_Pay", ""},
          {"cmb_district", ""},
          {"txt_DIncome", ""},
          {"txt_DOfficer", ""},
          {"cmb_doctor", ""},
          {"txt_RefDate", ""},
          {"txt_to", "27-01-2007"}}},
    };
    std::int64_t refno = 101;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        store_claim(refno, c.stored);
        find(QString::number(refno++));
        for (const auto& [name, text] : c.shown)
            EXPECT_EQ(shown(name), text) << name;
        EXPECT_FALSE(txt("txt_DIncome")->isEnabled());
        EXPECT_FALSE(txt("txt_HAmount")->isEnabled());
    }
}

} // namespace
