// The entry form's texts, key rules, lists, selection switches and load routine, driven through
// the real widgets.
#include "entry_form_fixture.h"
#include "schema.h"

#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>

namespace {

// Every text the form shows on its frames, labels and buttons, in the order of the form.
std::string captions(const QWidget* form) {
    QStringList texts;
    for (const QWidget* widget : form->findChildren<QWidget*>()) {
        if (const auto* frame = qobject_cast<const QGroupBox*>(widget))
            texts << frame->title();
        else if (const auto* label = qobject_cast<const QLabel*>(widget))
            texts << label->text();
        else if (const auto* command = qobject_cast<const QPushButton*>(widget))
            texts << command->text();
    }
    texts.removeAll(QString());
    return texts.join(" | ").toStdString();
}

TEST_F(EntryFormTest, ShowsTheCaptionsLabelsAndLimitsOfTheForm) {
    EXPECT_EQ(form->windowTitle(), "Entry Form");
    EXPECT_TRUE(form->windowFlags().testFlag(Qt::Tool)); // narrow title bar, not in the task bar
    EXPECT_EQ(captions(form.get()),
              "Reference | Number | Date | Employee Name : | Father's Name : | Designaiton : | "
              "Basic Pay : | Office Address | Address : | Village / City : | Tehsil : | "
              "Education Block : | District : | Residence Address | Address : | "
              "Village / City : | Tehsil : | District : | State : | Patient Name : | Age : | "
              "Relation with Employee | Name of Disease : | Treatment Period : | From | To | "
              "Name of Hospital : | Amount Claimed : | Type of Claim : | Income of Dependent : | "
              "For Office Use | Are all required documents attached ? : | "
              "Approval From Health Dept.  Received ? : | If Yes >> Amount approved : | "
              "Is Medical Certificate of doctor attached ? : | "
              "Has the bill been submitted in time : | Name of Dealing Officer : | "
              "Designation : | Branch : | Add New Bill | SAVE | EDIT | FIND | DELETE | RESET | "
              "CLOSE");
    for (QPushButton* command : form->findChildren<QPushButton*>(QRegularExpression("^cmd_")))
        EXPECT_FALSE(command->autoDefault()) << "Enter in a box must not press a button";

    const std::pair<const char*, int> limits[] = {
        {"txt_EmpName", 50},   {"txt_Fname", 50},    {"txt_Design", 50},    {"txt_OAddress", 150},
        {"txt_OVillage", 50},  {"txt_OTehsil", 50},  {"txt_OEBlock", 50},   {"txt_PAddress", 150},
        {"txt_PVillage", 50},  {"txt_PTehsil", 50},  {"txt_PDistrict", 50}, {"txt_State", 50},
        {"txt_pname", 50},     {"txt_age", 3},       {"txt_Relation", 50},  {"txt_Disease", 100},
        {"txt_Hospital", 150}, {"txt_DOfficer", 50}, {"txt_DDesign", 50},   {"txt_DBranch", 50}};
    for (const auto& [name, limit] : limits)
        EXPECT_EQ(txt(name)->maxLength(), limit) << name;
    for (const auto& [name, label] : kNumberBoxes) // 1,20,000 and more fit the amounts
        EXPECT_GE(txt(name)->maxLength(), name == std::string("txt_age") ? 3 : 32767) << name;
    for (const char* name : {"txt_RefDate", "txt_from", "txt_to"}) {
        picker(name)->setDate(QDate(2007, 3, 5));
        EXPECT_EQ(picker(name)->text(), "05-03-2007") << name;
        EXPECT_TRUE(picker(name)->calendarPopup());
    }
}

TEST_F(EntryFormTest, TabRunsFromTheEmployeeThroughCloseToTheReferenceAndTheButtons) {
    for (QWidget* w : form->findChildren<QWidget*>())
        w->setEnabled(true);
    const QStringList expected =
        QString("txt_EmpName txt_Fname txt_Design txt_Pay txt_OAddress txt_OVillage txt_OTehsil "
                "txt_OEBlock cmb_district txt_PAddress txt_PVillage txt_PTehsil txt_PDistrict "
                "txt_State txt_pname txt_age txt_Relation txt_Disease txt_from txt_to "
                "txt_Hospital txt_AmtClaimed cmb_Type txt_DIncome cmb_Documents cmb_HApproval "
                "txt_HAmount cmb_doctor cmb_BillTime txt_DOfficer txt_DDesign txt_DBranch "
                "cmd_close txt_refno txt_RefDate cmd_save cmd_addnew cmd_reset cmd_edit cmd_find "
                "cmd_delete")
            .split(' ');
    QStringList chain;
    QWidget* w = txt("txt_EmpName");
    do {
        if (expected.contains(w->objectName()) && !chain.contains(w->objectName()))
            chain << w->objectName();
        w = w->nextInFocusChain();
    } while (w != txt("txt_EmpName"));
    EXPECT_EQ(chain, expected);
    // Tab really moves along it, also out of a pick-only list.
    txt("txt_DBranch")->setFocus();
    QTest::keyClick(txt("txt_DBranch"), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), button("cmd_close"));
    cmb("cmb_district")->setFocus();
    QTest::keyClick(cmb("cmb_district"), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), txt("txt_PAddress"));
}

TEST_F(EntryFormTest, AmountBoxesTakeOnlyNumberKeysAndNameBoxesDropOnlyTheApostrophe) {
    form->enable_fields(true);
    for (const auto& [name, label] : kNumberBoxes) {
        txt(name)->setEnabled(true);
        QTest::keyClicks(txt(name), "1a2,X 5.6'-");
        EXPECT_EQ(txt(name)->text(), name == std::string("txt_age") ? "12," : "12, 5.6") << name;
    }
    QTest::keyClick(txt("txt_Pay"), Qt::Key_Backspace);
    EXPECT_EQ(txt("txt_Pay")->text(), "12, 5.");
    for (const TextBox& t : kTextBoxes) {
        QTest::keyClicks(txt(t.box), "D'Souza, H.No. 12-B (2nd)");
        EXPECT_EQ(txt(t.box)->text(), "DSouza, H.No. 12-B (2nd)") << t.box;
    }
    // The reference number is the program's: it takes no key at all.
    txt("txt_refno")->setText("101");
    QTest::keyClicks(txt("txt_refno"), "9");
    QTest::keyClick(txt("txt_refno"), Qt::Key_Backspace);
    EXPECT_EQ(txt("txt_refno")->text(), "101");
}

TEST_F(EntryFormTest, NoKeyChangesAListButF4OpensIt) {
    form->enable_fields(true);
    for (const char* name : kComboBoxes) {
        QComboBox* combo = cmb(name);
        choose(name, combo->itemText(1));
        combo->setFocus();
        for (const auto key : {Qt::Key_Backspace, Qt::Key_Return, Qt::Key_Delete, Qt::Key_Down,
                               Qt::Key_Home, Qt::Key_PageUp})
            QTest::keyClick(combo, key);
        QTest::keyClicks(combo, "Ludhiana No");
        EXPECT_EQ(combo->currentIndex(), 1) << name;
        EXPECT_EQ(combo->currentText(), combo->itemText(1)) << name;
        EXPECT_FALSE(combo->view()->isVisible()) << name;
        QTest::keyClick(combo, Qt::Key_F4);
        EXPECT_TRUE(combo->view()->isVisible()) << name;
        combo->hidePopup();
    }
}

TEST_F(EntryFormTest, EveryLoadEmptiesDisablesAndFillsEachListOnce) {
    const std::pair<const char*, QStringList> lists[] = {
        {"cmb_district", store::district_names()}, {"cmb_Documents", {"No", "Yes", "Incomplete"}},
        {"cmb_HApproval", {"No", "Yes"}},          {"cmb_Type", {"Self", "Dependent"}},
        {"cmb_BillTime", {"No", "Yes"}},           {"cmb_doctor", {"No", "Yes"}}};
    const auto boxes = form->findChildren<QLineEdit*>(QRegularExpression("^txt_"));
    ASSERT_EQ(boxes.size(), 25);
    for (int load = 1; load <= 2; ++load) {
        for (const auto& [name, expected] : lists) {
            QStringList entries;
            for (int i = 0; i < cmb(name)->count(); ++i)
                entries << cmb(name)->itemText(i);
            EXPECT_EQ(entries, expected) << name << " after load " << load;
            EXPECT_EQ(cmb(name)->currentText(), "") << name;
        }
        expect_mode(Mode::idle);
        for (QLineEdit* box : boxes)
            EXPECT_EQ(box->text(), "") << box->objectName().toStdString();
        for (const char* name : {"txt_RefDate", "txt_from", "txt_to"})
            EXPECT_EQ(picker(name)->date(), QDate::currentDate()) << name;

        for (QWidget* w : form->findChildren<QWidget*>(QRegularExpression("^(txt|cmb|cmd)_")))
            w->setEnabled(true);
        for (QLineEdit* box : boxes)
            box->setText("x");
        for (const char* name : kComboBoxes)
            choose(name, cmb(name)->itemText(1));
        picker("txt_from")->setDate(QDate(2001, 1, 1));
        button("cmd_save")->setText("UPDATE");
        form->Form_Load();
    }
}

// Each switch runs on a choice from its list, every time, and never on text the program writes.
TEST_F(EntryFormTest, ChoosingTheTypeOrTheApprovalSwitchesItsAmountBox) {
    form->enable_fields(true);
    const std::tuple<const char*, const char*, const char*, const char*> switches[] = {
        {"cmb_Type", "Dependent", "Self", "txt_DIncome"},
        {"cmb_HApproval", "Yes", "No", "txt_HAmount"}};
    for (const auto& [list, on, off, box] : switches) {
        SCOPED_TRACE(list);
        for (const char* choice : {on, on, off}) {
            txt(box)->setText("4500");
            choose(list, choice);
            EXPECT_EQ(txt(box)->isEnabled(), std::string(choice) == on) << choice;
            EXPECT_EQ(txt(box)->text(), "") << choice;
        }
        txt(box)->setText("100");
        cmb(list)->setEditText(on);
        QTest::keyClick(cmb(list), Qt::Key_Tab); // the focus passes on through the list
        EXPECT_FALSE(txt(box)->isEnabled());
        EXPECT_EQ(txt(box)->text(), "100");
    }
}

TEST_F(EntryFormTest, EscapeKeepsTheFormAndCloseDropsItUnsaved) {
    click("cmd_addnew");
    type_claim();
    QTest::keyClick(txt("txt_EmpName"), Qt::Key_Escape);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(txt("txt_EmpName")->text(), "Harpreet Kaur");
    click("cmd_close");
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_TRUE(script.shown().empty());
    EXPECT_EQ(claims_stored(), 0);
}

} // namespace
