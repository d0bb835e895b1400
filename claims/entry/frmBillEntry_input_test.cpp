// The entry form's controls, key rules, lists, selection switches and load routine, driven
// through the real widgets.
#include "VETRA.h"
#include "entry_form_fixture.h"
#include "schema.h"

#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QTimer>
#include <QWheelEvent>

namespace {

const QStringList kTextBoxes{"txt_EmpName",  "txt_Fname",    "txt_Design",    "txt_OAddress",
                             "txt_OVillage", "txt_OTehsil",  "txt_OEBlock",   "txt_PAddress",
                             "txt_PVillage", "txt_PTehsil",  "txt_PDistrict", "txt_State",
                             "txt_pname",    "txt_Relation", "txt_Disease",   "txt_Hospital",
                             "txt_DOfficer", "txt_DDesign",  "txt_DBranch"};
const QStringList kNumberBoxes{"txt_Pay", "txt_age", "txt_AmtClaimed", "txt_DIncome",
                               "txt_HAmount"};
const QStringList kComboBoxes{"cmb_district",  "cmb_Type",   "cmb_Documents",
                              "cmb_HApproval", "cmb_doctor", "cmb_BillTime"};

TEST_F(EntryFormTest, CaptionFramesLabelsAndButtons) {
    EXPECT_EQ(form->windowTitle(), "Entry Form");
    EXPECT_TRUE(form->windowFlags().testFlag(Qt::Tool)); // narrow title bar, not in the task bar
    EXPECT_FALSE(form->windowFlags().testFlag(Qt::WindowMinMaxButtonsHint));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());

    const std::pair<const char*, const char*> frames[] = {{"Frame1", "Reference"},
                                                          {"Frame3", ""},
                                                          {"Frame4", "Office Address"},
                                                          {"Frame5", "Residence Address"},
                                                          {"Frame6", ""},
                                                          {"Frame7", "For Office Use"},
                                                          {"Frame8", ""},
                                                          {"Frame2", ""}};
    for (const auto& [name, caption] : frames)
        EXPECT_EQ(control<QGroupBox>(name)->title(), caption) << name;

    // Each entry control with its label's text, exactly, in its frame.
    const std::tuple<const char*, const char*, const char*> labels[] = {
        {"Frame1", "txt_refno", "Number"},
        {"Frame1", "txt_RefDate", "Date"},
        {"Frame3", "txt_EmpName", "Employee Name :"},
        {"Frame3", "txt_Fname", "Father's Name :"},
        {"Frame3", "txt_Design", "Designaiton :"},
        {"Frame3", "txt_Pay", "Basic Pay :"},
        {"Frame4", "txt_OAddress", "Address :"},
        {"Frame4", "txt_OVillage", "Village / City :"},
        {"Frame4", "txt_OTehsil", "Tehsil :"},
        {"Frame4", "txt_OEBlock", "Education Block :"},
        {"Frame4", "cmb_district", "District :"},
        {"Frame5", "txt_PAddress", "Address :"},
        {"Frame5", "txt_PVillage", "Village / City :"},
        {"Frame5", "txt_PTehsil", "Tehsil :"},
        {"Frame5", "txt_PDistrict", "District :"},
        {"Frame5", "txt_State", "State :"},
        {"Frame6", "txt_pname", "Patient Name :"},
        {"Frame6", "txt_age", "Age :"},
        {"Frame6", "txt_Relation", "Relation with Employee"},
        {"Frame6", "txt_Disease", "Name of Disease :"},
        {"Frame6", "txt_from", "From"},
        {"Frame6", "txt_to", "To"},
        {"Frame6", "txt_Hospital", "Name of Hospital :"},
        {"Frame6", "txt_AmtClaimed", "Amount Claimed :"},
        {"Frame6", "cmb_Type", "Type of Claim :"},
        {"Frame6", "txt_DIncome", "Income of Dependent :"},
        {"Frame7", "cmb_Documents", "Are all required documents attached ? :"},
        {"Frame7", "cmb_HApproval", "Approval From Health Dept.  Received ? :"},
        {"Frame7", "txt_HAmount", "If Yes >> Amount approved :"},
        {"Frame7", "cmb_doctor", "Is Medical Certificate of doctor attached ? :"},
        {"Frame8", "cmb_BillTime", "Has the bill been submitted in time :"},
        {"Frame8", "txt_DOfficer", "Name of Dealing Officer :"},
        {"Frame8", "txt_DDesign", "Designation :"},
        {"Frame8", "txt_DBranch", "Branch :"},
    };
    for (const auto& [frame, name, text] : labels) {
        QWidget* entry = control(name);
        EXPECT_TRUE(control<QGroupBox>(frame)->isAncestorOf(entry)) << name;
        // The label stands to the left of its control, on the same line.
        const QLabel* label = nullptr;
        for (const QLabel* candidate : form->findChildren<QLabel*>())
            if (candidate->text() == text && candidate->parentWidget() == entry->parentWidget() &&
                std::abs(candidate->geometry().center().y() - entry->geometry().center().y()) < 4 &&
                candidate->geometry().right() < entry->geometry().left())
                label = candidate;
        EXPECT_NE(label, nullptr) << name << " has no label " << text;
    }
    EXPECT_NE(form->findChild<QLabel*>("lbl_TreatmentPeriod"), nullptr);
    EXPECT_EQ(form->findChild<QLabel*>("lbl_TreatmentPeriod")->text(), "Treatment Period :");

    const std::pair<const char*, const char*> buttons[] = {
        {"cmd_close", "CLOSE"},  {"cmd_save", "SAVE"}, {"cmd_addnew", "Add New Bill"},
        {"cmd_reset", "RESET"},  {"cmd_edit", "EDIT"}, {"cmd_find", "FIND"},
        {"cmd_delete", "DELETE"}};
    for (const auto& [name, caption] : buttons) {
        EXPECT_EQ(button(name)->text(), caption);
        EXPECT_TRUE(control<QGroupBox>("Frame2")->isAncestorOf(button(name)));
        EXPECT_FALSE(button(name)->autoDefault()) << name << ": Enter in a box must not press it";
    }
}

TEST_F(EntryFormTest, LengthLimitsAndPickers) {
    const std::pair<const char*, int> limits[] = {
        {"txt_EmpName", 50},   {"txt_Fname", 50},    {"txt_Design", 50},    {"txt_OAddress", 150},
        {"txt_OVillage", 50},  {"txt_OTehsil", 50},  {"txt_OEBlock", 50},   {"txt_PAddress", 150},
        {"txt_PVillage", 50},  {"txt_PTehsil", 50},  {"txt_PDistrict", 50}, {"txt_State", 50},
        {"txt_pname", 50},     {"txt_age", 3},       {"txt_Relation", 50},  {"txt_Disease", 100},
        {"txt_Hospital", 150}, {"txt_DOfficer", 50}, {"txt_DDesign", 50},   {"txt_DBranch", 50}};
    for (const auto& [name, limit] : limits)
        EXPECT_EQ(txt(name)->maxLength(), limit) << name;
    for (const char* unlimited :
         {"txt_refno", "txt_Pay", "txt_AmtClaimed", "txt_DIncome", "txt_HAmount"})
        EXPECT_GE(txt(unlimited)->maxLength(), 32767) << unlimited;

    for (const char* name : {"txt_RefDate", "txt_from", "txt_to"}) {
        picker(name)->setDate(QDate(2007, 3, 5));
        EXPECT_EQ(picker(name)->text(), "05-03-2007") << name;
        EXPECT_TRUE(picker(name)->calendarPopup());
    }
}

TEST_F(EntryFormTest, TabOrderRunsFromTheEmployeeThroughCloseToTheReferenceAndTheButtons) {
    for (QWidget* w : form->findChildren<QWidget*>())
        w->setEnabled(true);
    const QStringList expected{
        "txt_EmpName",   "txt_Fname",      "txt_Design",    "txt_Pay",      "txt_OAddress",
        "txt_OVillage",  "txt_OTehsil",    "txt_OEBlock",   "cmb_district", "txt_PAddress",
        "txt_PVillage",  "txt_PTehsil",    "txt_PDistrict", "txt_State",    "txt_pname",
        "txt_age",       "txt_Relation",   "txt_Disease",   "txt_from",     "txt_to",
        "txt_Hospital",  "txt_AmtClaimed", "cmb_Type",      "txt_DIncome",  "cmb_Documents",
        "cmb_HApproval", "txt_HAmount",    "cmb_doctor",    "cmb_BillTime", "txt_DOfficer",
        "txt_DDesign",   "txt_DBranch",    "cmd_close",     "txt_refno",    "txt_RefDate",
        "cmd_save",      "cmd_addnew",     "cmd_reset",     "cmd_edit",     "cmd_find",
        "cmd_delete"};
    QStringList chain;
    QWidget* w = txt("txt_EmpName");
    do {
        if (expected.contains(w->objectName()) && !chain.contains(w->objectName()))
            chain << w->objectName();
        w = w->nextInFocusChain();
    } while (w != txt("txt_EmpName"));
    EXPECT_EQ(chain, expected);

    // Tab really moves along it, here from the last dealing-officer box to CLOSE.
    txt("txt_DBranch")->setFocus();
    QTest::keyClick(txt("txt_DBranch"), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), button("cmd_close"));
}

TEST_F(EntryFormTest, NumberBoxesTakeOnlyDigitsPointCommaAndBlank) {
    form->enable_fields(true);
    for (const QString& name : kNumberBoxes) {
        txt(name)->setEnabled(true);
        txt(name)->clear();
        QTest::keyClicks(txt(name), name == "txt_age" ? "a1-b2'" : "1a2,3X4 5.6'-");
        EXPECT_EQ(txt(name)->text(), name == "txt_age" ? "12" : "12,34 5.6") << name.toStdString();
    }
    QTest::keyClick(txt("txt_Pay"), Qt::Key_Backspace);
    EXPECT_EQ(txt("txt_Pay")->text(), "12,34 5.");

    // Age holds at most three characters.
    txt("txt_age")->clear();
    QTest::keyClicks(txt("txt_age"), "1234");
    EXPECT_EQ(txt("txt_age")->text(), "123");
}

TEST_F(EntryFormTest, NameAndAddressBoxesDropOnlyTheApostrophe) {
    form->enable_fields(true);
    for (const QString& name : kTextBoxes) {
        QTest::keyClicks(txt(name), "D'Souza, H.No. 12-B (2nd)");
        EXPECT_EQ(txt(name)->text(), "DSouza, H.No. 12-B (2nd)") << name.toStdString();
    }
    // Pasted text is not typed: it keeps its apostrophe (the save writes it safely).
    txt("txt_EmpName")->clear();
    txt("txt_EmpName")->insert("O'Brien");
    EXPECT_EQ(txt("txt_EmpName")->text(), "O'Brien");
}

TEST_F(EntryFormTest, NoKeyChangesAComboBoxButF4AndAltDownOpenItsList) {
    form->enable_fields(true);
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
        {Qt::Key_Backspace, Qt::NoModifier}, {Qt::Key_Return, Qt::NoModifier},
        {Qt::Key_Enter, Qt::KeypadModifier}, {Qt::Key_Delete, Qt::NoModifier},
        {Qt::Key_Up, Qt::NoModifier},        {Qt::Key_Down, Qt::NoModifier},
        {Qt::Key_Left, Qt::NoModifier},      {Qt::Key_Right, Qt::NoModifier},
        {Qt::Key_Home, Qt::NoModifier},      {Qt::Key_End, Qt::NoModifier},
        {Qt::Key_PageUp, Qt::NoModifier},    {Qt::Key_PageDown, Qt::NoModifier},
        {Qt::Key_Space, Qt::NoModifier},     {Qt::Key_Y, Qt::NoModifier},
        {Qt::Key_Down, Qt::ControlModifier}};
    for (const QString& name : kComboBoxes) {
        QComboBox* combo = cmb(name);
        for (const QString& start : {QString(), QStringLiteral("Yes")}) {
            choose(name, combo->itemText(1));
            if (start.isEmpty())
                form->clear_fields();
            const int index = combo->currentIndex();
            const QString text = combo->currentText();
            combo->setFocus();
            for (const auto& [key, modifiers] : keys)
                QTest::keyClick(combo, key, modifiers);
            QTest::keyClicks(combo, "Ludhiana No");
            QWheelEvent wheel(QPointF(5, 5), combo->mapToGlobal(QPointF(5, 5)), QPoint(),
                              QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                              false);
            QApplication::sendEvent(combo, &wheel);
            EXPECT_EQ(combo->currentIndex(), index) << name.toStdString();
            EXPECT_EQ(combo->currentText(), text) << name.toStdString();
            EXPECT_FALSE(combo->view()->isVisible());
        }
        QTest::keyClick(combo, Qt::Key_F4);
        EXPECT_TRUE(combo->view()->isVisible()) << name.toStdString();
        combo->hidePopup();
        QTest::keyClick(combo, Qt::Key_Down, Qt::AltModifier);
        EXPECT_TRUE(combo->view()->isVisible()) << name.toStdString();
        combo->hidePopup();
        // A click on the text opens the list too.
        QTest::mouseClick(combo->lineEdit(), Qt::LeftButton);
        EXPECT_TRUE(combo->view()->isVisible()) << name.toStdString();
        combo->hidePopup();
    }
    // Tab still leaves a combo box.
    cmb("cmb_district")->setFocus();
    QTest::keyClick(cmb("cmb_district"), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), txt("txt_PAddress"));
}

TEST_F(EntryFormTest, LoadFillsEachListOnceWithNothingSelected) {
    const std::pair<const char*, QStringList> lists[] = {
        {"cmb_district", store::district_names()}, {"cmb_Documents", {"No", "Yes", "Incomplete"}},
        {"cmb_HApproval", {"No", "Yes"}},          {"cmb_Type", {"Self", "Dependent"}},
        {"cmb_BillTime", {"No", "Yes"}},           {"cmb_doctor", {"No", "Yes"}}};
    const auto entries = [](const QComboBox* combo) {
        QStringList texts;
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
        return texts;
    };
    for (int load = 1; load <= 3; ++load) {
        for (const auto& [name, expected] : lists) {
            EXPECT_EQ(entries(cmb(name)), expected) << name << " after load " << load;
            EXPECT_EQ(cmb(name)->currentIndex(), -1) << name;
            EXPECT_EQ(cmb(name)->currentText(), "") << name;
        }
        choose("cmb_district", "Mohali");
        form->Form_Load();
    }
    const QStringList districts = entries(cmb("cmb_district"));
    EXPECT_EQ(districts.size(), 20);
    EXPECT_EQ(districts.first(), "Amritsar");
    EXPECT_EQ(districts.last(), "Tarn Taran");
    EXPECT_LT(districts.indexOf("Muktsar"), districts.indexOf("Mohali"));
    EXPECT_LT(districts.indexOf("Ferozepur"), districts.indexOf("Faridkot"));
}

TEST_F(EntryFormTest, LoadEmptiesAndDisablesEverythingItOwns) {
    const auto boxes = form->findChildren<QLineEdit*>(QRegularExpression("^txt_"));
    ASSERT_EQ(boxes.size(), 25);
    for (QWidget* w : form->findChildren<QWidget*>(QRegularExpression("^(txt|cmb|cmd)_")))
        w->setEnabled(true);
    for (QLineEdit* box : boxes)
        box->setText("x");
    for (const QString& name : kComboBoxes)
        cmb(name)->setCurrentIndex(1);
    picker("txt_from")->setDate(QDate(2001, 1, 1));
    button("cmd_save")->setText("UPDATE");

    form->Form_Load();
    expect_mode(Mode::idle);
    for (QLineEdit* box : boxes)
        EXPECT_EQ(box->text(), "") << box->objectName().toStdString();
    for (const QString& name : kComboBoxes)
        EXPECT_EQ(cmb(name)->currentText(), "") << name.toStdString();
    for (const char* name : {"txt_RefDate", "txt_from", "txt_to"})
        EXPECT_EQ(picker(name)->date(), QDate::currentDate()) << name;
}

TEST_F(EntryFormTest, ClearAndEnableLeaveWhatTheyDoNotOwn) {
    picker("txt_to")->setDate(QDate(2007, 3, 5));
    cmb("cmb_Type")->setCurrentIndex(1);
    form->clear_fields();
    EXPECT_EQ(picker("txt_to")->date(), QDate(2007, 3, 5));
    EXPECT_EQ(cmb("cmb_Type")->count(), 2);
    EXPECT_EQ(cmb("cmb_Type")->currentIndex(), -1);

    form->enable_fields(true);
    EXPECT_FALSE(txt("txt_DIncome")->isEnabled());
    EXPECT_FALSE(txt("txt_HAmount")->isEnabled());
    EXPECT_FALSE(button("cmd_save")->isEnabled());
    txt("txt_HAmount")->setEnabled(true);
    form->enable_fields(false);
    EXPECT_TRUE(txt("txt_HAmount")->isEnabled());
    EXPECT_TRUE(button("cmd_find")->isEnabled());
}

TEST_F(EntryFormTest, ChoosingTheClaimTypeSwitchesTheDependentIncome) {
    form->enable_fields(true);
    choose("cmb_Type", "Dependent");
    EXPECT_TRUE(txt("txt_DIncome")->isEnabled());
    QTest::keyClicks(txt("txt_DIncome"), "4500");
    choose("cmb_Type", "Dependent"); // chosen again: emptied again
    EXPECT_EQ(txt("txt_DIncome")->text(), "");
    QTest::keyClicks(txt("txt_DIncome"), "4500");
    choose("cmb_Type", "Self");
    EXPECT_FALSE(txt("txt_DIncome")->isEnabled());
    EXPECT_EQ(txt("txt_DIncome")->text(), "");

    // Text the program writes is no choice: the switch does not run, not even when the focus
    // later passes through the box.
    txt("txt_DIncome")->setText("100");
    cmb("cmb_Type")->setEditText("Dependent");
    QTest::keyClick(cmb("cmb_Type"), Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), cmb("cmb_Type"));
    EXPECT_FALSE(txt("txt_DIncome")->isEnabled());
    EXPECT_EQ(txt("txt_DIncome")->text(), "100");
}

TEST_F(EntryFormTest, ChoosingTheHealthApprovalSwitchesTheApprovedAmount) {
    form->enable_fields(true);
    choose("cmb_HApproval", "Yes");
    EXPECT_TRUE(txt("txt_HAmount")->isEnabled());
    EXPECT_EQ(txt("txt_HAmount")->text(), "");
    QTest::keyClicks(txt("txt_HAmount"), "9000");
    choose("cmb_HApproval", "No");
    EXPECT_FALSE(txt("txt_HAmount")->isEnabled());
    EXPECT_EQ(txt("txt_HAmount")->text(), "");

    txt("txt_HAmount")->setText("100");
    cmb("cmb_HApproval")->setEditText("Yes");
    QTest::keyClick(cmb("cmb_HApproval"), Qt::Key_Tab);
    EXPECT_FALSE(txt("txt_HAmount")->isEnabled());
    EXPECT_EQ(txt("txt_HAmount")->text(), "100");
}

TEST_F(EntryFormTest, TheReferenceNumberTakesNoTyping) {
    form->enable_fields(true);
    txt("txt_refno")->setText("101");
    QTest::keyClicks(txt("txt_refno"), "9");
    QTest::keyClick(txt("txt_refno"), Qt::Key_Backspace);
    EXPECT_EQ(txt("txt_refno")->text(), "101");
    EXPECT_TRUE(txt("txt_refno")->isReadOnly());
}

TEST_F(EntryFormTest, EscapeDoesNotCloseTheForm) {
    form->enable_fields(true);
    QTest::keyClicks(txt("txt_EmpName"), "Ravi");
    QTest::keyClick(txt("txt_EmpName"), Qt::Key_Escape);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(txt("txt_EmpName")->text(), "Ravi");
    click("cmd_close");
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Rejected);
}

// "Case Detail" opens a fresh entry form modally each time; CLOSE unloads it.
TEST(CaseDetailMenu, OpensAFreshEntryFormEachTime) {
    store::TemporaryRegister register_;
    VETRA window;
    window.show();
    window.attach_form(window.mnuAddCase,
                       [](QWidget* parent) { return std::make_unique<frmBillEntry>(parent); });
    for (int showing = 1; showing <= 2; ++showing) {
        QString seen_name;
        bool closed = false;
        QTimer::singleShot(0, [&] {
            auto* form = qobject_cast<frmBillEntry*>(QApplication::activeModalWidget());
            ASSERT_NE(form, nullptr);
            EXPECT_EQ(form->parentWidget(), &window);
            auto* name = form->findChild<QLineEdit*>("txt_EmpName");
            seen_name = name->text();
            form->enable_fields(true);
            name->setText("typed before closing");
            QObject::connect(form, &QObject::destroyed, [&] { closed = true; });
            QTest::mouseClick(form->findChild<QPushButton*>("cmd_close"), Qt::LeftButton);
        });
        window.mnuAddCase->trigger();
        EXPECT_EQ(seen_name, "") << "showing " << showing;
        EXPECT_TRUE(closed) << "showing " << showing;
    }
}

} // namespace
