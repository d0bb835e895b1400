// Showing a stored claim: rows written straight into the detail table, read into rs_aux as the
// find does, and put into the form.
#include "entry_form_fixture.h"

namespace {

class ShowingAClaim : public EntryFormTest {
protected:
    // Stores the claim and shows it as the find does: load routine, rs_aux on the row, show.
    void show_stored(const Columns& columns) {
        store_row(columns);
        Module1::rs_aux.Close();
        Module1::rs_aux.Open("Select * from detail where refno=" + columns.at("refno"),
                             Module1::db_conn, store::adOpenKeyset, store::adLockPessimistic);
        form->Form_Load();
        form->show_record();
    }

    Columns claim = typical_claim(101);
};

TEST_F(ShowingAClaim, EveryColumnGoesToItsControl) {
    show_stored(claim);
    const std::pair<const char*, const char*> shown[] = {
        {"txt_refno", "101"},
        {"txt_EmpName", "Harpreet Kaur"},
        {"txt_Fname", "Gurdev Singh"},
        {"txt_Design", "Lecturer"},
        {"txt_Pay", "18450"},
        {"txt_OAddress", "Govt. School, Mall Road"},
        {"txt_OVillage", "Nabha"},
        {"txt_OTehsil", "Nabha"},
        {"txt_OEBlock", "Nabha-2"},
        {"txt_PAddress", "House 214"},
        {"txt_PVillage", "Nabha"},
        {"txt_PTehsil", "Nabha"},
        {"txt_PDistrict", "Patiala"},
        {"txt_State", "Punjab"},
        {"txt_pname", "Gurdev Singh"},
        {"txt_age", "67"},
        {"txt_Relation", "Father"},
        {"txt_Disease", "Angina"},
        {"txt_Hospital", "Rajindra Hospital"},
        {"txt_AmtClaimed", "142300.5"},
        {"txt_DIncome", "3500"},
        {"txt_HAmount", "138000"},
        {"txt_DOfficer", "S. K. Sharma"},
        {"txt_DDesign", "Superintendent"},
        {"txt_DBranch", "Medical"}};
    for (const auto& [name, text] : shown)
        EXPECT_EQ(txt(name)->text(), text) << name;
    const std::pair<const char*, const char*> chosen[] = {
        {"cmb_district", "Patiala"}, {"cmb_Type", "Dependent"}, {"cmb_Documents", "Yes"},
        {"cmb_HApproval", "Yes"},    {"cmb_doctor", "No"},      {"cmb_BillTime", "Yes"}};
    for (const auto& [name, text] : chosen)
        EXPECT_EQ(cmb(name)->currentText(), text) << name;
    EXPECT_EQ(picker("txt_RefDate")->date(), QDate(2007, 3, 5));
    EXPECT_EQ(picker("txt_from")->date(), QDate(2007, 1, 12));
    EXPECT_EQ(picker("txt_to")->date(), QDate(2007, 1, 27));

    // Showing switches nothing on: the amounts stay disabled even with their values.
    for (QWidget* w : form->findChildren<QWidget*>(QRegularExpression("^(txt|cmb)_")))
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
}

TEST_F(ShowingAClaim, TheDashMarkerShowsAsAnEmptyBox) {
    claim["ovill"] = "'-'";
    claim["oteh"] = "'  -  '";
    claim["oblkname"] = "'--'";
    claim["raddress"] = "Null";
    claim["rvill"] = "' Nabha '";
    show_stored(claim);
    EXPECT_EQ(txt("txt_OVillage")->text(), "");
    EXPECT_EQ(txt("txt_OTehsil")->text(), "");
    EXPECT_EQ(txt("txt_OEBlock")->text(), "--");
    EXPECT_EQ(txt("txt_PAddress")->text(), "");
    EXPECT_EQ(txt("txt_PVillage")->text(), " Nabha "); // as stored, not trimmed
}

TEST_F(ShowingAClaim, TheIncomeOnlyForAClaimThatIsNotSelf) {
    claim["claimtype"] = "'Self'";
    claim["dependpay"] = "0";
    show_stored(claim);
    EXPECT_EQ(txt("txt_DIncome")->text(), "");

    for (const auto& [type, shown] :
         {std::pair{"'Dependent'", "0"}, std::pair{"'self'", "0"}, std::pair{"' Self '", ""}}) {
        Columns other = typical_claim(claim.at("refno").toInt() + 1);
        other["claimtype"] = type;
        other["dependpay"] = "0";
        claim = other;
        show_stored(other);
        EXPECT_EQ(txt("txt_DIncome")->text(), shown) << type;
        EXPECT_EQ(cmb("cmb_Type")->currentText(), QString(type).remove('\'')) << type;
        EXPECT_FALSE(txt("txt_DIncome")->isEnabled());
    }
}

TEST_F(ShowingAClaim, TheApprovedAmountOnlyWhenApproved) {
    for (const auto& [approval, shown] :
         {std::pair{"'Yes '", "138000"}, std::pair{"'No'", ""}, std::pair{"'yes'", ""}}) {
        Columns other = typical_claim(claim.at("refno").toInt() + 1);
        other["apphealth"] = approval;
        claim = other;
        show_stored(other);
        EXPECT_EQ(txt("txt_HAmount")->text(), shown) << approval;
        EXPECT_FALSE(txt("txt_HAmount")->isEnabled());
    }
}

TEST_F(ShowingAClaim, OfficerAndChecklistAreTrimmedOtherTextIsNot) {
    claim["empname"] = "'   Ravi Kumar'";
    claim["officer"] = "'   S. K. Sharma  '";
    claim["branch"] = "' Medical'";
    claim["medicalcrt"] = "' Yes '";
    claim["intime"] = "'No  '";
    claim["odist"] = "'Chandigarh'"; // not one of the list's entries
    show_stored(claim);
    EXPECT_EQ(txt("txt_EmpName")->text(), "   Ravi Kumar");
    EXPECT_EQ(txt("txt_DOfficer")->text(), "S. K. Sharma");
    EXPECT_EQ(txt("txt_DBranch")->text(), "Medical");
    EXPECT_EQ(cmb("cmb_doctor")->currentText(), "Yes");
    EXPECT_EQ(cmb("cmb_BillTime")->currentText(), "No");
    EXPECT_EQ(cmb("cmb_district")->currentText(), "Chandigarh");
}

TEST_F(ShowingAClaim, NullsShowAsEmptyBoxes) {
    for (const char* column : {"empname", "basicpay", "odist", "page", "dependpay", "officer",
                               "refdate", "dfrom", "medicalcrt"})
        claim[column] = "Null";
    show_stored(claim);
    for (const char* name : {"txt_EmpName", "txt_Pay", "txt_age", "txt_DIncome", "txt_DOfficer"})
        EXPECT_EQ(txt(name)->text(), "") << name;
    EXPECT_EQ(cmb("cmb_district")->currentText(), "");
    EXPECT_EQ(cmb("cmb_doctor")->currentText(), "");
    // A date without a value shows nothing rather than a date that was never stored.
    EXPECT_EQ(picker("txt_RefDate")->text().trimmed(), "");
    EXPECT_EQ(picker("txt_from")->text().trimmed(), "");
    EXPECT_EQ(picker("txt_to")->date(), QDate(2007, 1, 27));
}

} // namespace
