// Test fixture: a bill entry form of its own on a register of its own, shown and active, used
// through its controls as a clerk does; the form's table of controls says what each box is.
#pragma once

#include "clerk.h"
#include "control_text.h"
#include "dialogs.h"
#include "entry_controls.h"
#include "field_value.h"
#include "frmBillEntry.h"
#include "module1.h"
#include "temporary_register.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <map>
#include <memory>

class EntryForm : public ::testing::Test {
protected:
    void SetUp() override {
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QApplication::setActiveWindow(form.get()); // on an X screen without a window manager too
        (void)QTest::qWaitForWindowActive(form.get(), 1000);
    }

    // What a box, list or date picker shows; nothing for a picker standing empty.
    QString shown(const QString& name) const {
        if (const auto* date = form->findChild<QDateEdit*>(name))
            return date->text().trimmed();
        return control_text(clerk.find(name));
    }
    void enter(const QString& name, const QString& text) {
        if (form->findChild<QComboBox*>(name) != nullptr)
            clerk.choose(name, text);
        else
            clerk.type(name, text);
    }

    struct Typed {
        const char* control;
        QString text;
    };
    // A complete claim: each text box holds its column's name, the office village the only
    // optional box filled; the income and the approved amount only when the type and the
    // approval ask for them.
    static std::vector<Typed> claim(const QString& type = "Self", const QString& approval = "No") {
        QStringList amounts{"18,450", "67", "1,42,300", "3,500", "1,38,000"};
        QStringList choices{"Patiala", type, "Incomplete", approval, "Yes", "No"};
        std::vector<Typed> typed;
        for (const EntryControl& e : kEntryControls) {
            const QString value = e.kind == Kind::number ? amounts.takeFirst()
                                  : e.kind == Kind::list ? choices.takeFirst()
                                                         : e.column;
            if (e.need == Need::required || value == "ovill" ||
                (e.need == Need::dependent && type == "Dependent") ||
                (e.need == Need::approved && approval == "Yes"))
                typed.push_back({e.name, value});
        }
        return typed;
    }
    // Types a claim (see claim) and its dates.
    void type_claim(const QString& type = "Self", const QString& approval = "No") {
        for (const Typed& t : claim(type, approval))
            enter(t.control, t.text);
        type_dates();
    }
    // Reference date 5 March 2007, treatment 12 to 27 January 2007.
    void type_dates() {
        clerk.type_date("txt_RefDate", QDate(2007, 3, 5));
        clerk.type_date("txt_from", QDate(2007, 1, 12));
        clerk.type_date("txt_to", QDate(2007, 1, 27));
    }
    // Add New Bill, a claim typed and saved: stored as 101 on an empty register.
    void save_claim(const QString& type = "Self", const QString& approval = "No") {
        clerk.click("cmd_addnew");
        type_claim(type, approval);
        script.answer(platform::vbYes);
        clerk.click("cmd_save");
    }

    using Columns = std::map<QString, QString>; // column values as statement literals
    // A complete claim written straight into the table, every text column holding its own name.
    static void store_claim(std::int64_t refno, const Columns& changes = {}) {
        Columns claim = changes;
        claim.try_emplace("refno", QString::number(refno));
        for (const QString& pair :
             QString("refdate=#05-Mar-2007# basicpay=18450 page=67 dfrom=#12-Jan-2007# "
                     "dto=#27-Jan-2007# amtclaimed=142300.5 claimtype='Dependent' dependpay=3500 "
                     "apphealth='Yes' amthealth=138000 billstatus='Pending'")
                 .split(' '))
            claim.try_emplace(pair.section('=', 0, 0), pair.section('=', 1));
        for (const EntryControl& e : kEntryControls)
            claim.try_emplace(e.column, QStringLiteral("'%1'").arg(e.column));
        QStringList names, values;
        for (const auto& [name, value] : claim)
            names << name, values << value;
        Module1::db_conn.Execute("Insert into detail (" + names.join(',') + ") values (" +
                                 values.join(',') + ")");
    }
    using Row = std::map<QString, store::FieldValue>;
    // The stored claims (those `where` picks), column by column, in the order of their numbers.
    static std::vector<Row> rows(const QString& where = {}) {
        store::Recordset rows;
        rows.Open("Select * from detail " + where + " order by refno", Module1::db_conn);
        std::vector<Row> all;
        for (; !rows.Eof(); rows.MoveNext()) {
            Row& row = all.emplace_back();
            for (int i = 0; i < rows.FieldCount(); ++i)
                row[rows.FieldName(i)] = rows.Fields(i);
        }
        return all;
    }
    void record_statements() {
        Module1::db_conn.set_statement_hook([this](const QString& s) { statements << s; });
    }
    static platform::ShownBox
    info(const QString& text, const QString& title,
         platform::MsgBoxStyle style = platform::MsgBoxStyle::Information) {
        return {platform::ShownBox::Kind::Message, text, title, style};
    }

    enum class Mode { idle, new_claim, viewing, editing };
    // The state of every control that the mode fixes.
    void expect_mode(Mode mode) const {
        const bool entry = mode == Mode::new_claim || mode == Mode::editing;
        for (const EntryControl& e : kEntryControls) {
            if (e.need == Need::dependent || e.need == Need::approved)
                EXPECT_TRUE(entry || !clerk.find(e.name)->isEnabled()) << e.name;
            else
                EXPECT_EQ(clerk.find(e.name)->isEnabled(),
                          entry && !(mode == Mode::editing && e.column == QString("refdate")))
                    << e.name;
        }
        // Add New Bill, SAVE, FIND, EDIT, DELETE, RESET, CLOSE: 1 where enabled.
        const char* const buttons[] = {"1010011", "0110011", "1011111", "1100011"};
        QString enabled;
        for (const char* name : {"cmd_addnew", "cmd_save", "cmd_find", "cmd_edit", "cmd_delete",
                                 "cmd_reset", "cmd_close"})
            enabled += clerk.find(name)->isEnabled() ? '1' : '0';
        EXPECT_EQ(enabled + clerk.find<QPushButton>("cmd_save")->text(),
                  buttons[int(mode)] + QString(mode == Mode::editing ? "UPDATE" : "SAVE"));
    }
    void find(const QString& typed) {
        script.type(typed);
        clerk.click("cmd_find");
    }

    QStringList statements;
    store::TemporaryRegister register_;
    platform::DialogScript script{
        [](const QString& fault) { ADD_FAILURE() << fault.toStdString(); }};
    std::unique_ptr<frmBillEntry> form = std::make_unique<frmBillEntry>();
    vetra_testing::Clerk clerk{*form};
};
