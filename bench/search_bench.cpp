// Times finding claims by name on a register of 200,000 claims: the first lines and the count of
// further matches for typed texts of two characters and more, with and without the filters; the
// save of one new claim with its search words kept; and the upgrade that builds the search words
// of an older register. Prints the engine's plan of each search statement.
#include "claim_search.h"
#include "claims_seed.h"
#include "connection.h"
#include "connection_string.h"
#include "module1.h"
#include "recordset.h"
#include "timing.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kClaims = 200'000;

// Runs `step` once unmeasured (the cold cache), then `times` times; prints the median.
void time_it(const QString& what, int times, const std::function<QString()>& step) {
    const QString outcome = step();
    const std::vector<double> ms = bench::times_ms(times, [&](int) { step(); });
    std::printf("%-52s median %8.3f ms  max %8.3f ms  %s\n", qPrintable(what), ms[ms.size() / 2],
                ms.back(), qPrintable(outcome));
}

void print_plan(const QString& statement) {
    store::Recordset plan;
    plan.Open("EXPLAIN QUERY PLAN " + statement, Module1::db_conn);
    for (; !plan.Eof(); plan.MoveNext())
        std::printf("    %s\n", qPrintable(plan.Fields(3).text()));
}

// Takes the register back to layout 3, before the search words, as an older program left it.
void remove_search_words(const QString& file) {
    store::Connection raw; // no layout check
    raw.Open(
        "Provider=Microsoft.jet.oledb.4.0; data source=" + store::connection_string_value(file) +
        ";Jet OLEDB:Database Password=" + Module1::kDatabasePassword);
    for (const char* statement : {"DROP TRIGGER IF EXISTS detail_search_insert",
                                  "DROP TRIGGER IF EXISTS detail_search_update",
                                  "DROP TRIGGER IF EXISTS detail_search_delete",
                                  "DROP TABLE IF EXISTS detail_search", "PRAGMA user_version = 3"})
        raw.Execute(statement);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    bench::copy_seeded_register(kClaims, folder.path());
    Module1::app_path = folder.path();
    using Module1::db_conn;

    remove_search_words(Module1::database_path());
    const auto upgrade = bench::Clock::now();
    Module1::open_database();
    std::printf(
        "upgrade of %d claims to the search words: %.0f ms; claims with words %lld of "
        "%lld\n",
        kClaims, 1000 * bench::seconds_since(upgrade),
        static_cast<long long>(
            db_conn.ReadNumber("SELECT count(*) FROM detail_search").value_or(0)),
        static_cast<long long>(db_conn.ReadNumber("SELECT count(*) FROM detail").value_or(0)));

    struct Search {
        const char* typed;
        search::Filters filters;
    };
    const Search searches[] = {
        {"si", {}},
        {"ka", {}},
        {"kaur", {}},
        {"harpreet", {}},
        {"s singh", {}},
        {"ram lal", {}},
        {"lu", {}},
        {"civil hos", {}},
        {"12", {}},
        {"19876", {}},
        {"zz", {}},
        {"si", {"Moga", {}}},
        {"ka", {{}, "Pending"}},
        {"kaur", {"Mansa", "Rejected"}},
    };
    for (const Search& one : searches) {
        const auto& [typed, filters] = one; // lambdas capture `one`: clang refuses bindings
        const QString what =
            QStringLiteral("search \"%1\"%2%3")
                .arg(typed, filters.district.isEmpty() ? "" : " in " + filters.district,
                     filters.status.isEmpty() ? "" : ", " + filters.status);
        time_it(what + ": first lines", 21, [&] {
            store::Recordset lines;
            lines.Open(search::lines_statement(one.typed, one.filters), db_conn);
            return QStringLiteral("%1 lines").arg(lines.RecordCount());
        });
        time_it(what + ": lines and count", 21, [&] {
            const search::Findings found = search::find_claims(db_conn, one.typed, one.filters);
            return QStringLiteral("%1 lines, %2 more").arg(found.lines.size()).arg(found.more);
        });
    }
    std::printf("plan of the lines of \"s singh\" in Moga:\n");
    print_plan(search::lines_statement("s singh", {"Moga", {}}));
    std::printf("plan of the count of \"s singh\" in Moga:\n");
    print_plan(search::count_statement("s singh", {"Moga", {}}));

    std::mt19937 random(99);
    long long next = Module1::allocate_reference_number().toLongLong();
    const auto save = [&] {
        bench::save_new_claim(db_conn, bench::sample_claim(next++, random));
        return QString();
    };
    time_it("save a new claim (insert + 9 updates) with its words", 201, save);
    for (const char* trigger : {"detail_search_insert", "detail_search_update"})
        db_conn.Execute(QStringLiteral("DROP TRIGGER %1").arg(trigger));
    time_it("the same save without the search words", 201, save);
    return 0;
}
