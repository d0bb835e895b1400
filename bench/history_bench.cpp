// Times the claim history on a register of 200,000 claims whose history holds 1,000,000 changes:
// saving a new claim with its history (insert and nine updates in one transaction, as the entry
// form does), recording a decision, and showing the history of one claim in its window.
//
// Seeding that much history through the triggers takes long on a shared machine, so the register
// is seeded without the claim triggers and its history written directly (one change per claim
// saved, the rest earlier edits of two fields each); the triggers are back before anything is
// timed, and what is timed is the program's own path.
#include "claim_history.h"
#include "claims_seed.h"
#include "connection_string.h"
#include "frmClaimHistory.h"
#include "history_triggers.h"
#include "module1.h"
#include "schema.h"
#include "store_error.h"
#include "timing.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kClaims = 200'000;
constexpr std::int64_t kChanges = 1'000'000;

using bench::time_it;

// Earlier edits of the seeded claims, two fields each, until the history holds kChanges changes.
void add_older_changes(store::Connection& db) {
    const std::int64_t have = db.ReadNumber("SELECT count(*) FROM claim_history").value_or(0);
    const QString more = QString::number(std::max<std::int64_t>(0, kChanges - have));
    store::Transaction transaction(db);
    db.Execute("WITH RECURSIVE n(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM n WHERE k < " + more +
               ") INSERT INTO claim_history (txn, refno, at_utc, who, kind) SELECT k, 101 + k % " +
               QString::number(kClaims) +
               ", '2020-01-01 10:00:00.000', 'clerk@office', 'updated' FROM n");
    for (const char* field : {"remarks", "hospital"})
        db.Execute(QStringLiteral("INSERT INTO claim_history_fields (change, field, before_value, "
                                  "after_value) SELECT id, '%1', 'before', 'after' FROM "
                                  "claim_history WHERE txn > 0 AND who = 'clerk@office'")
                       .arg(field));
    transaction.commit();
}

bool on_detail(const QString& statement) {
    return statement.contains(QStringLiteral(" ON detail "));
}

// The history's triggers on `detail`, not those that guard the history tables.
bool on_claims(const QString& trigger) {
    return !trigger.endsWith("kept") && !trigger.endsWith("removed");
}

// The claims without the history's triggers, then history rows written straight, then the
// triggers back: seeding through the triggers would take far longer.
void fill_register(store::Connection& db) {
    for (const QString& trigger : store::claim_history_triggers())
        if (on_claims(trigger))
            db.Execute("DROP TRIGGER " + trigger);
    bench::seed_claims(db, 101, kClaims);
    store::Transaction transaction(db);
    db.Execute("INSERT INTO claim_history (txn, refno, at_utc, who, kind) SELECT -id, "
               "refno, '2019-01-01 10:00:00.000', 'clerk@office', 'saved new' FROM detail");
    transaction.commit();
    add_older_changes(db);
    for (const QString& statement : store::claim_history_statements())
        if (on_detail(statement))
            db.Execute(statement);
}

} // namespace

int main(int argc, char** argv) {
    bench::default_to_offscreen();
    QApplication app(argc, argv);
    QTemporaryDir folder;
    const auto seeding = bench::Clock::now();
    bench::copy_seeded_register(QStringLiteral("history-%1.mdb").arg(kClaims), folder.path(),
                                fill_register);
    Module1::app_path = folder.path();
    Module1::open_database();
    using Module1::db_conn;
    std::printf(
        "register of %d claims and %lld history changes (%lld field rows) ready in %.1f s\n",
        kClaims,
        static_cast<long long>(
            db_conn.ReadNumber("SELECT count(*) FROM claim_history").value_or(0)),
        static_cast<long long>(
            db_conn.ReadNumber("SELECT count(*) FROM claim_history_fields").value_or(0)),
        bench::seconds_since(seeding));

    std::mt19937 random(99);
    const long long first_new = Module1::allocate_reference_number().toLongLong();
    time_it("save a new claim with its history (insert + 9 updates)", 200, [&](int i) {
        bench::save_new_claim(db_conn, bench::sample_claim(first_new + i, random));
    });
    const auto statements_only = [&](const char* what, long long from) {
        time_it(what, 200, [&](int i) {
            bench::save_new_claim(db_conn, bench::sample_claim(from + i, random), false);
        });
    };
    statements_only("  its ten statements with the history, no commit", first_new + 1000);
    // The same save on the same file without the claim triggers: what the history itself costs.
    {
        store::Transaction transaction(db_conn);
        for (const QString& trigger : store::claim_history_triggers())
            if (on_claims(trigger) && !trigger.endsWith("delete"))
                db_conn.Execute(QStringLiteral("DROP TRIGGER ") + trigger);
        transaction.commit();
    }
    time_it("the same save without the history triggers", 200, [&](int i) {
        bench::save_new_claim(db_conn, bench::sample_claim(first_new + 200 + i, random));
    });
    statements_only("  its ten statements without the history, no commit", first_new + 1000);
    {
        store::Transaction transaction(db_conn);
        for (const QString& statement : store::claim_history_statements())
            if (on_detail(statement) && !statement.contains("AFTER DELETE"))
                db_conn.Execute(statement);
        transaction.commit();
    }
    time_it("record a decision with its history (one update)", 200, [&](int i) {
        store::Transaction transaction(db_conn);
        db_conn.Execute(QStringLiteral("Update detail set billstatus='Sanctioned', amtapproved=%1, "
                                       "appdate=#01-Apr-2024#, remarks='-' where refno=%2 ")
                            .arg(1000 + i)
                            .arg(101 + random() % kClaims));
        transaction.commit();
    });

    frmClaimHistory window;
    window.show();
    auto* refno = window.findChild<QLineEdit*>("txt_refno");
    auto* show = window.findChild<QPushButton*>("cmd_show");
    auto* list = window.findChild<QTreeWidget*>("lst_history");
    time_it("history of one claim shown in its window", 200, [&](int) {
        refno->setText(QString::number(101 + random() % kClaims));
        show->click();
        if (list->topLevelItemCount() == 0)
            std::printf("a claim without history\n");
    });
    return 0;
}
