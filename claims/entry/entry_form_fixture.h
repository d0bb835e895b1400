// Test fixture: a bill entry form of its own on a register of its own, shown and active, with
// every box scripted, and helpers that reach its controls by name and use them as a clerk does.
#pragma once

#include "control_text.h"
#include "dialogs.h"
#include "field_value.h"
#include "frmBillEntry.h"
#include "module1.h"
#include "temporary_register.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <stdexcept>

// Every name or address box with the column it fills and the name an "Invalid" box gives it.
struct TextBox {
    const char* box;
    const char* column;
    const char* name;
};
inline const TextBox kTextBoxes[] = {
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
// The amount boxes with the name an "Invalid" box gives them.
inline const std::pair<const char*, const char*> kNumberBoxes[] = {
    {"txt_Pay", "Basic Pay"},
    {"txt_age", "Age"},
    {"txt_AmtClaimed", "Amount Claimed"},
    {"txt_DIncome", "Income of Dependent"},
    {"txt_HAmount", "Amount approved"}};
inline const char* const kComboBoxes[] = {"cmb_district",  "cmb_Type",   "cmb_Documents",
                                          "cmb_HApproval", "cmb_doctor", "cmb_BillTime"};

class EntryFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<frmBillEntry>();
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void TearDown() override { form.reset(); }

    template <typename Control = QWidget> Control* control(const QString& name) const {
        auto* found = form->findChild<Control*>(name);
        if (found == nullptr)
            throw std::runtime_error("the form has no control " + name.toStdString());
        return found;
    }
    QLineEdit* txt(const QString& name) const { return control<QLineEdit>(name); }
    QComboBox* cmb(const QString& name) const { return control<QComboBox>(name); }
    QDateEdit* picker(const QString& name) const { return control<QDateEdit>(name); }
    QPushButton* button(const QString& name) const { return control<QPushButton>(name); }

    // What a box, list or date picker shows; nothing for a picker standing empty.
    QString shown(const QString& name) const {
        if (const auto* date = form->findChild<QDateEdit*>(name))
            return date->text().trimmed();
        return control_text(control(name));
    }

    void click(const QString& name) { QTest::mouseClick(button(name), Qt::LeftButton); }

    // Opens the combo box's list and chooses `entry` there, as a clerk does.
    void choose(const QString& combo_name, const QString& entry) {
        QComboBox* combo = cmb(combo_name);
        const int row = combo->findText(entry);
        if (row < 0)
            throw std::runtime_error("no entry " + entry.toStdString() + " in " +
                                     combo_name.toStdString());
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_F4);
        QAbstractItemView* list = combo->view();
        list->setCurrentIndex(list->model()->index(row, 0));
        QTest::keyClick(list, Qt::Key_Return);
    }

    // One control of a typed claim: its name and the text typed or the entry chosen.
    struct Typed {
        QString control;
        QString text;
    };
    // A complete claim, a different value in every box, the optional address boxes but the
    // office village left blank; the income and the approved amount only when the type and the
    // approval ask for them. Reference date 5 March 2007, treatment 12 to 27 January 2007.
    static std::vector<Typed> claim_entries(const QString& type, const QString& approval) {
        std::vector<Typed> entries{{"txt_EmpName", "Harpreet Kaur"},
                                   {"txt_Fname", "Gurdev Singh"},
                                   {"txt_Design", "Lecturer"},
                                   {"txt_Pay", "18,450"},
                                   {"txt_OAddress", "Govt. School, Mall Road"},
                                   {"txt_OVillage", "Nabha"},
                                   {"cmb_district", "Patiala"},
                                   {"txt_pname", "Jaswant Kaur"},
                                   {"txt_age", "67"},
                                   {"txt_Relation", "Mother"},
                                   {"txt_Disease", "Angina"},
                                   {"txt_Hospital", "Rajindra Hospital"},
                                   {"txt_AmtClaimed", "1,42,300"},
                                   {"cmb_Type", type}};
        if (type == "Dependent")
            entries.push_back({"txt_DIncome", "3,500"});
        entries.insert(entries.end(),
                       {{"cmb_Documents", "Incomplete"}, {"cmb_HApproval", approval}});
        if (approval == "Yes")
            entries.push_back({"txt_HAmount", "1,38,000"});
        entries.insert(entries.end(), {{"cmb_doctor", "Yes"},
                                       {"cmb_BillTime", "No"},
                                       {"txt_DOfficer", "S. K. Sharma"},
                                       {"txt_DDesign", "Superintendent"},
                                       {"txt_DBranch", "Medical"}});
        return entries;
    }

    // What FIND shows of an entry once it is saved: an amount as a plain number.
    static QString as_stored(const Typed& entry) {
        for (const auto& [box, label] : kNumberBoxes) {
            if (entry.control == box)
                return QString(entry.text).remove(',');
        }
        return entry.text;
    }

    // Types a complete claim as a clerk does (see claim_entries).
    void type_claim(const QString& type = "Self", const QString& approval = "No") {
        for (const Typed& entry : claim_entries(type, approval)) {
            if (form->findChild<QComboBox*>(entry.control))
                choose(entry.control, entry.text);
            else
                QTest::keyClicks(txt(entry.control), entry.text);
        }
        picker("txt_RefDate")->setDate(QDate(2007, 3, 5));
        picker("txt_from")->setDate(QDate(2007, 1, 12));
        picker("txt_to")->setDate(QDate(2007, 1, 27));
    }

    // Add New Bill, a complete claim typed and saved: stored as 101 on an empty register.
    void save_claim(const QString& type = "Self", const QString& approval = "No") {
        click("cmd_addnew");
        type_claim(type, approval);
        script.answer(platform::vbYes);
        click("cmd_save");
    }

    // Column values as statement literals.
    using Columns = std::map<QString, QString>;

    // A complete claim written straight into the table, as another program could, with `changes`
    // applied. Every text column holds its own name, so a value shown in the wrong box is plain.
    static void store_claim(std::int64_t refno, const Columns& changes = {}) {
        Columns claim{{"refno", QString::number(refno)},
                      {"refdate", "#05-Mar-2007#"},
                      {"basicpay", "18450"},
                      {"page", "67"},
                      {"dfrom", "#12-Jan-2007#"},
                      {"dto", "#27-Jan-2007#"},
                      {"amtclaimed", "142300.5"},
                      {"claimtype", "'Dependent'"},
                      {"dependpay", "3500"},
                      {"apphealth", "'Yes'"},
                      {"amthealth", "138000"},
                      {"billstatus", "'Pending'"}};
        for (const char* column :
             {"empname",    "fname",  "design",   "oaddress",  "ovill",    "oteh",
              "oblkname",   "odist",  "raddress", "rvill",     "rteh",     "rdist",
              "rstate",     "pname",  "relation", "disease",   "hospital", "documents",
              "medicalcrt", "intime", "officer",  "offdesign", "branch"})
            claim[column] = QStringLiteral("'%1'").arg(column);
        for (const auto& [column, value] : changes)
            claim[column] = value;
        QStringList names;
        QStringList values;
        for (const auto& [name, value] : claim) {
            names << name;
            values << value;
        }
        Module1::db_conn.Execute("Insert into detail (" + names.join(',') + ") values (" +
                                 values.join(',') + ")");
    }

    // The stored row of a claim, column by column, read through a recordset of the test's own.
    static std::map<QString, store::FieldValue> stored(std::int64_t refno) {
        store::Recordset row;
        row.Open("Select * from detail where refno=" + QString::number(refno), Module1::db_conn);
        std::map<QString, store::FieldValue> columns;
        if (row.Eof())
            return columns;
        for (int i = 0; i < row.FieldCount(); ++i)
            columns[row.FieldName(i)] = row.Fields(i);
        return columns;
    }
    static std::int64_t claims_stored() {
        store::Recordset count;
        count.Open("Select count(*) from detail", Module1::db_conn);
        return static_cast<std::int64_t>(count.Fields(0).number());
    }

    // Records every statement the shared connection is given from now on.
    QStringList& record_statements() {
        Module1::db_conn.set_statement_hook(
            [this](const QString& statement) { statements << statement; });
        return statements;
    }

    static platform::ShownBox info(const QString& text, const QString& title) {
        return {platform::ShownBox::Kind::Message, text, title, platform::MsgBoxStyle::Information};
    }
    static platform::ShownBox question(const QString& text, const QString& title) {
        return {platform::ShownBox::Kind::Message, text, title, platform::MsgBoxStyle::Question};
    }

    enum class Mode { idle, new_claim, viewing, editing };

    // The state of every control that the mode fixes, as the form's mode table gives it.
    void expect_mode(Mode mode) const {
        const bool entry = mode == Mode::new_claim || mode == Mode::editing;
        for (const char* name :
             {"txt_refno",     "txt_RefDate",   "txt_EmpName",  "txt_Fname",      "txt_Design",
              "txt_Pay",       "txt_OAddress",  "txt_OVillage", "txt_OTehsil",    "txt_OEBlock",
              "cmb_district",  "txt_PAddress",  "txt_PVillage", "txt_PTehsil",    "txt_PDistrict",
              "txt_State",     "txt_pname",     "txt_age",      "txt_Relation",   "txt_Disease",
              "txt_from",      "txt_to",        "txt_Hospital", "txt_AmtClaimed", "cmb_Type",
              "cmb_Documents", "cmb_HApproval", "cmb_doctor",   "cmb_BillTime",   "txt_DOfficer",
              "txt_DDesign",   "txt_DBranch"}) {
            const bool expected =
                entry && !(mode == Mode::editing && name == std::string("txt_RefDate"));
            EXPECT_EQ(control(name)->isEnabled(), expected) << name;
        }
        EXPECT_EQ(button("cmd_addnew")->isEnabled(), mode != Mode::new_claim);
        EXPECT_EQ(button("cmd_save")->isEnabled(), entry);
        EXPECT_EQ(button("cmd_save")->text(), mode == Mode::editing ? "UPDATE" : "SAVE");
        EXPECT_EQ(button("cmd_find")->isEnabled(), mode != Mode::editing);
        EXPECT_EQ(button("cmd_edit")->isEnabled(), mode == Mode::viewing);
        EXPECT_EQ(button("cmd_delete")->isEnabled(), mode == Mode::viewing);
        EXPECT_TRUE(button("cmd_reset")->isEnabled());
        EXPECT_TRUE(button("cmd_close")->isEnabled());
        if (mode == Mode::idle || mode == Mode::viewing) {
            EXPECT_FALSE(txt("txt_DIncome")->isEnabled());
            EXPECT_FALSE(txt("txt_HAmount")->isEnabled());
        }
        if (mode == Mode::idle) {
            for (const char* name : {"txt_refno", "txt_EmpName", "txt_DBranch"})
                EXPECT_EQ(txt(name)->text(), "") << name;
        }
    }

    // Looks a claim up through FIND as the clerk does.
    void find(const QString& typed) {
        script.type(typed);
        click("cmd_find");
    }

    QStringList statements;
    store::TemporaryRegister register_;
    platform::DialogScript script{
        [](const QString& fault) { ADD_FAILURE() << fault.toStdString(); }};
    std::unique_ptr<frmBillEntry> form;
};
