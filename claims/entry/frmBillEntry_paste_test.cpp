// Awkward text pasted into every box of the entry form: what a box holds is stored exactly, read
// back from the table and shown again by FIND; what cannot be stored, and junk in a number box,
// is refused with an "Invalid" box naming it before any statement is built.
#include "entry_form_fixture.h"
#include "pasted_text.h"

using platform::vbYes;
using vetra_testing::paste;

namespace {

using PastedInput = EntryFormTest;

// Every text box with the column it fills and the name an "Invalid" box gives it.
struct TextBox {
    const char* box;
    const char* column;
    const char* name;
};
const TextBox kTextBoxes[] = {
    {"txt_EmpName", "empname", "Employee Name"},
    {"txt_Fname", "fname", "Father's Name"},
    {"txt_Design", "design", "Designation"},
    {"txt_OAddress", "oaddress", "Office Address"},
    {"txt_OVillage", "ovill", "Office Village / City"},
    {"txt_OTehsil", "oteh", "Office Tehsil"},
    {"txt_OEBlock", "oblkname", "Education Block"},
    {"txt_PAddress", "raddress", "Residence Address"},
    {"txt_PVillage", "rvill", "Residence Village / City"},
    {"txt_PTehsil", "rteh", "Residence Tehsil"},
    {"txt_PDistrict", "rdist", "Residence District"},
    {"txt_State", "rstate", "State"},
    {"txt_pname", "pname", "Patient Name"},
    {"txt_Relation", "relation", "Relation with Employee"},
    {"txt_Disease", "disease", "Name of Disease"},
    {"txt_Hospital", "hospital", "Name of Hospital"},
    {"txt_DOfficer", "officer", "Name of Dealing Officer"},
    {"txt_DDesign", "offdesign", "Designation of Dealing Officer"},
    {"txt_DBranch", "branch", "Branch"},
};

const std::pair<const char*, const char*> kNumberBoxes[] = {{"txt_Pay", "Basic Pay"},
                                                            {"txt_age", "Age"},
                                                            {"txt_AmtClaimed", "Amount Claimed"},
                                                            {"txt_DIncome", "Income of Dependent"},
                                                            {"txt_HAmount", "Amount approved"}};

} // namespace

TEST_F(PastedInput, EveryTextBoxStoresExactlyWhatItHolds) {
    std::int64_t refno = 101;
    for (const auto& [kind, text] : vetra_testing::storable_texts()) {
        SCOPED_TRACE(kind);
        click("cmd_addnew");
        type_claim();
        std::map<QString, QString> held;
        for (const TextBox& t : kTextBoxes) {
            paste(txt(t.box), text);
            held[t.column] = txt(t.box)->text();
            // Pasting is cut at the box's length limit, and only there.
            EXPECT_EQ(held[t.column], text.left(txt(t.box)->maxLength())) << t.box;
        }
        script.clear_shown();
        script.answer(vbYes);
        click("cmd_save");
        ASSERT_EQ(script.shown().size(), 2u) << script.shown().back().text.toStdString();
        ASSERT_EQ(script.shown()[1], info("Record Saved Successfully.", "Saved"));

        const auto row = stored(refno);
        for (const TextBox& t : kTextBoxes)
            EXPECT_EQ(row.at(t.column).text(), held[t.column].trimmed()) << t.column;

        find(QString::number(refno));
        for (const TextBox& t : kTextBoxes)
            EXPECT_EQ(txt(t.box)->text(), held[t.column].trimmed()) << t.box;
        ++refno;
    }
    EXPECT_EQ(claims_stored(), refno - 101);
}

TEST_F(PastedInput, TextThatCannotBeStoredIsRefusedNamingItsBox) {
    click("cmd_addnew");
    type_claim();
    for (const auto& [kind, text] : vetra_testing::unstorable_texts()) {
        for (const TextBox& t : kTextBoxes) {
            SCOPED_TRACE(std::string(kind) + " in " + t.box);
            const QString typed = txt(t.box)->text();
            paste(txt(t.box), text);
            script.clear_shown();
            record_statements().clear();
            click("cmd_save");
            ASSERT_EQ(script.shown().size(), 1u);
            EXPECT_EQ(script.shown()[0],
                      info(QString(t.name) +
                               " holds a character that cannot be stored. Type its text again.",
                           "Invalid"));
            EXPECT_EQ(QApplication::focusWidget(), txt(t.box));
            EXPECT_EQ(txt(t.box)->text(), text) << "the box keeps what was pasted";
            EXPECT_TRUE(statements.isEmpty());
            txt(t.box)->setText(typed);
        }
    }
    EXPECT_EQ(claims_stored(), 0);
}

TEST_F(PastedInput, ALengthLimitThatCutsACharacterPairIsRefusedNotStoredChanged) {
    click("cmd_addnew");
    type_claim();
    // 49 letters and a pair of UTF-16 units: the fifty-character limit keeps only its first half.
    paste(txt("txt_EmpName"), QString(49, 'a') + QString::fromUtf8("😀"));
    ASSERT_EQ(txt("txt_EmpName")->text().size(), 50);
    script.clear_shown();
    click("cmd_save");
    ASSERT_EQ(script.shown().size(), 1u);
    EXPECT_EQ(script.shown()[0].title, "Invalid");
    EXPECT_EQ(claims_stored(), 0);
}

TEST_F(PastedInput, JunkInANumberBoxIsRefusedBeforeAnyStatement) {
    click("cmd_addnew");
    type_claim("Dependent", "Yes");
    for (const auto& [name, label] : kNumberBoxes) {
        QLineEdit* box = txt(name);
        const QString typed = box->text();
        for (const auto& [kind, junk] : vetra_testing::junk_numbers()) {
            if (junk.size() > box->maxLength())
                continue; // what the limit keeps of it is tried by the shorter ones
            SCOPED_TRACE(std::string(kind) + " in " + name);
            paste(box, junk);
            script.clear_shown();
            record_statements().clear();
            click("cmd_save");
            ASSERT_EQ(script.shown().size(), 1u);
            EXPECT_EQ(script.shown()[0].title, "Invalid");
            EXPECT_TRUE(
                script.shown()[0].text.startsWith(QString(label) + " is not a valid number"))
                << script.shown()[0].text.toStdString();
            EXPECT_EQ(QApplication::focusWidget(), box);
            EXPECT_TRUE(statements.isEmpty());
        }
        box->setText(typed);
    }
    // The age box keeps three characters of a longer paste, and those are stored.
    paste(txt("txt_age"), "1234");
    EXPECT_EQ(txt("txt_age")->text(), "123");
    script.clear_shown();
    script.answer(vbYes);
    click("cmd_save");
    EXPECT_EQ(stored(101).at("page"), store::FieldValue(std::int64_t{123}));
}
