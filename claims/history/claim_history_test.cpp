// The claim history: every statement the program sends that changes `detail` leaves exactly one
// change naming exactly the fields it changed; a failed save leaves neither; an older file gets
// the history and keeps its claims; the window shows a claim's changes and puts a deleted one back.
#include "claim_history.h"
#include "claim_statements.h"
#include "clerk.h"
#include "dialogs.h"
#include "engine.h"
#include "frmClaimHistory.h"
#include "history_triggers.h"
#include "module1.h"
#include "recordset.h"
#include "schema.h"
#include "store_error.h"
#include "temporary_register.h"

#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <map>

using namespace store;
using Module1::db_conn;

namespace {

using Row = std::map<QString, QString>; // recorded column -> value as text, nulls left out

Row stored_claim(const QString& refno) {
    Recordset row;
    row.Open("Select * from detail where refno=" + refno, db_conn);
    Row values;
    for (int i = 0; !row.Eof() && i < row.FieldCount(); ++i)
        if (!row.Fields(i).is_null() && row.FieldName(i) != "id" && row.FieldName(i) != "changes")
            values[row.FieldName(i)] = row.Fields(i).text();
    return values;
}

void run(const QStringList& statements) {
    Transaction transaction(db_conn);
    for (const QString& statement : statements)
        db_conn.Execute(statement);
    transaction.commit();
}

demo::SampleClaim sample() {
    demo::SampleClaim c;
    c.refno = "101", c.refdate = {2007, 3, 5}, c.dfrom = {2007, 1, 12}, c.dto = {2007, 1, 27};
    c.empname = "Sant 'Ram' \"Ji\"", c.fname = QString::fromUtf8("ਹਰਪ੍ਰੀਤ ਕੌਰ");
    c.design = "Teacher", c.basicpay = "12000", c.odist = "Patiala", c.page = "67";
    c.dependpay = "0", c.amthealth = "0", c.amtclaimed = "900";
    c.disease = QString::fromUtf8("ਸੁਖ '").repeated(96); // 480 characters
    return c;
}

} // namespace

TEST(ClaimHistory, EveryWritePathLeavesOneChangeWithExactlyTheFieldsItChanged) {
    TemporaryRegister reg;
    demo::SampleClaim edited = sample(), decided = sample();
    edited.empname = QString::fromUtf8("ਗੁਰਪ੍ਰੀਤ 'Singh'"), edited.design = "Lecturer";
    QStringList edit = demo::new_claim_statements(edited);
    edit[0] = "Update detail set refdate=#05-Mar-2007# where refno=101";
    decided.billstatus = "Sanctioned", decided.amtapproved = "850", decided.appdate = {2007, 4, 2};
    const QString sanction = demo::decision_statement(decided);
    const std::pair<const char*, std::function<void()>> paths[] = {
        {kSavedNew, [] { run(demo::new_claim_statements(sample())); }},
        {kUpdated, [&] { run(edit); }},
        {kStatusRecorded, [&] { run({sanction}); }},
        {kDeleted, [] { db_conn.Execute("Delete from detail where refno=101"); }},
        {kRestored, [] { // through the window, which shows the deletion as the newest change
             platform::DialogScript script{
                 [](const QString& fault) { ADD_FAILURE() << fault.toStdString(); }};
             script.answer(platform::vbYes);
             frmClaimHistory form;
             vetra_testing::Clerk clerk(form);
             clerk.type("txt_refno", "101");
             clerk.click("cmd_show");
             auto* list = clerk.find<QTreeWidget>("lst_history");
             EXPECT_EQ(list->topLevelItem(0)->text(2), kDeleted);
             clerk.click("cmd_restore");
             EXPECT_EQ(list->topLevelItem(0)->text(2), kRestored);
             EXPECT_FALSE(clerk.find<QPushButton>("cmd_restore")->isEnabled());
         }}};
    Row deleted;
    for (const auto& [kind, write] : paths) {
        const Row before = stored_claim("101");
        const size_t changes = history::read_history(db_conn, 101).size();
        write();
        const Row after = stored_claim("101");
        const auto history = history::read_history(db_conn, 101);
        ASSERT_EQ(history.size(), changes + 1) << kind;
        EXPECT_EQ(history.front().kind, kind);
        EXPECT_TRUE(history.front().who.contains('@'));
        const auto text = [](const Row& row, const QString& column) {
            return row.count(column) ? row.at(column) : QStringLiteral("null");
        };
        Row expected, listed; // field -> "before => after"
        for (const QString& column : claim_columns())
            if (text(before, column) != text(after, column))
                expected[column] = text(before, column) + " => " + text(after, column);
        for (const history::FieldChange& f : history.front().fields)
            listed[f.field] = (f.before.is_null() ? "null" : f.before.text()) + " => " +
                              (f.after.is_null() ? "null" : f.after.text());
        EXPECT_EQ(listed, expected) << kind;
        if (kind == std::string(kDeleted))
            deleted = before;
    }
    EXPECT_EQ(stored_claim("101"), deleted); // put back whole: quotes, Gurmukhi, 480 characters
    EXPECT_THROW(history::restore_claim(db_conn, 101), StoreError);
}

TEST(ClaimHistory, AFailedSaveLeavesNoHistoryTheHistoryIsKeptAndAnOlderRegisterGetsIt) {
    TemporaryRegister reg(Backend::File); // the file's engine is opened, and an older file made
    TemporaryRegister::fail_nth_statement(6);
    EXPECT_THROW(run(demo::new_claim_statements(sample())), StoreError);
    db_conn.set_statement_hook({});
    EXPECT_EQ(db_conn.ReadNumber("Select count(*) from detail"), 0);
    EXPECT_EQ(db_conn.ReadNumber("Select count(*) from claim_history"), 0);
    run(demo::new_claim_statements(sample()));
    for (const char* tamper :
         {"Update claim_history set who='x'", "Delete from claim_history",
          "Update claim_history_fields set after_value=1", "Delete from claim_history_fields"})
        EXPECT_THROW(db_conn.Execute(tamper), StoreError) << tamper;
    // A program that does not write the history cannot write a claim at all.
    sqlite3* other = nullptr;
    sqlite3_open_v2(reg.database_path().toUtf8(), &other, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_key(other, Module1::kDatabasePassword, int(strlen(Module1::kDatabasePassword)));
    engine::exec(other, "PRAGMA cipher_page_size = 4096");
    EXPECT_THROW(engine::exec(other, "DELETE FROM detail"), StoreError);
    engine::close(other);
    EXPECT_EQ(db_conn.ReadNumber("Select count(*) from detail"), 1);

    // An older register keeps every claim and gets the history.
    const Row claim = stored_claim("101");
    // Back to layout 2: everything the later layouts brought goes.
    Recordset later;
    later.Open("SELECT type, name FROM sqlite_master WHERE (type = 'trigger' AND name <> "
               "'detail_changes') OR name LIKE 'claim_history%' OR sql LIKE 'CREATE VIRTUAL%' "
               "ORDER BY type DESC",
               db_conn);
    for (; !later.Eof(); later.MoveNext())
        if (later.Fields(0).text() != "index")
            db_conn.Execute("DROP " + later.Fields(0).text() + " " + later.Fields(1).text());
    db_conn.Execute("PRAGMA user_version = 2");
    reg.restart();
    EXPECT_EQ(stored_claim("101"), claim);
    EXPECT_TRUE(history::read_history(db_conn, 101).empty());
    db_conn.Execute("Delete from detail where refno=101");
    EXPECT_EQ(history::read_history(db_conn, 101).front().fields.size(), claim.size());
}
