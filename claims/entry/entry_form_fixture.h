// Test fixture: a bill entry form of its own on a register of its own, shown and active, with
// every box scripted, and helpers that reach its controls by name and use them as a clerk does.
#pragma once

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

    // Types a complete claim as a clerk does, the optional address boxes but the office village
    // left blank; the income and the approved amount only when the type and approval ask for them.
    void type_claim(const QString& type = "Self", const QString& approval = "No") {
        const auto type_into = [this](const char* name, const char* text) {
            QTest::keyClicks(txt(name), text);
        };
        type_into("txt_EmpName", "Harpreet Kaur");
        type_into("txt_Fname", "Gurdev Singh");
        type_into("txt_Design", "Lecturer");
        type_into("txt_Pay", "18,450");
        type_into("txt_OAddress", "Govt. School, Mall Road");
        type_into("txt_OVillage", "Nabha");
        choose("cmb_district", "Patiala");
        type_into("txt_pname", "Gurdev Singh");
        type_into("txt_age", "67");
        type_into("txt_Relation", "Father");
        type_into("txt_Disease", "Angina");
        type_into("txt_Hospital", "Rajindra Hospital");
        type_into("txt_AmtClaimed", "1,42,300");
        choose("cmb_Type", type);
        if (type == "Dependent")
            type_into("txt_DIncome", "3,500");
        choose("cmb_Documents", "Yes");
        choose("cmb_HApproval", approval);
        if (approval == "Yes")
            type_into("txt_HAmount", "1,38,000");
        choose("cmb_doctor", "Yes");
        choose("cmb_BillTime", "No");
        type_into("txt_DOfficer", "S. K. Sharma");
        type_into("txt_DDesign", "Superintendent");
        type_into("txt_DBranch", "Medical");
        picker("txt_RefDate")->setDate(QDate(2007, 3, 5));
        picker("txt_from")->setDate(QDate(2007, 1, 12));
        picker("txt_to")->setDate(QDate(2007, 1, 27));
    }

    // A complete claim as statement literals, column by column.
    using Columns = std::map<QString, QString>;
    static Columns typical_claim(std::int64_t refno) {
        return {{"refno", QString::number(refno)},
                {"refdate", "#05-Mar-2007#"},
                {"empname", "'Harpreet Kaur'"},
                {"fname", "'Gurdev Singh'"},
                {"design", "'Lecturer'"},
                {"basicpay", "18450"},
                {"oaddress", "'Govt. School, Mall Road'"},
                {"ovill", "'Nabha'"},
                {"oteh", "'Nabha'"},
                {"oblkname", "'Nabha-2'"},
                {"odist", "'Patiala'"},
                {"raddress", "'House 214'"},
                {"rvill", "'Nabha'"},
                {"rteh", "'Nabha'"},
                {"rdist", "'Patiala'"},
                {"rstate", "'Punjab'"},
                {"pname", "'Gurdev Singh'"},
                {"page", "67"},
                {"relation", "'Father'"},
                {"disease", "'Angina'"},
                {"dfrom", "#12-Jan-2007#"},
                {"dto", "#27-Jan-2007#"},
                {"hospital", "'Rajindra Hospital'"},
                {"amtclaimed", "142300.5"},
                {"claimtype", "'Dependent'"},
                {"dependpay", "3500"},
                {"documents", "'Yes'"},
                {"apphealth", "'Yes'"},
                {"amthealth", "138000"},
                {"medicalcrt", "'No'"},
                {"intime", "'Yes'"},
                {"officer", "'S. K. Sharma'"},
                {"offdesign", "'Superintendent'"},
                {"branch", "'Medical'"},
                {"billstatus", "'Pending'"}};
    }

    // Writes a row straight into the table, as another program could.
    static void store_row(const Columns& columns) {
        QStringList names;
        QStringList values;
        for (const auto& [name, value] : columns) {
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
    platform::DialogScript script;
    std::unique_ptr<frmBillEntry> form;
};
