// Times "Show Detail" of the consolidated report over one year of a register of 200,000 claims
// (the district list and the 84 counts, run by the form itself into its grid) against the one
// grouped query that yields the same figures, both in every iteration of the same run. Reports
// the time of each, their ratio and the number of statements "Show Detail" ran. The grid's state
// total is checked against the grouped query, so a fast but wrong count cannot pass unnoticed.
#include "module1.h"
#include "recordset.h"
#include "reports/RptPendancy.h"
#include "values.h"

#include <QDateEdit>
#include <benchmark/benchmark.h>
#include <chrono>

namespace {

const QDate kFrom(2020, 4, 1);
const QDate kTo(2021, 3, 31);

// The form counting over the seeded register that the benchmark's entry opened.
struct PendencyForm {
    PendencyForm() {
        form.txt_from()->setDate(kFrom);
        form.txt_to()->setDate(kTo);
    }
    RptPendancy form;
};

// The same figures in one statement: claims of the year per district and status.
long long grouped_query() {
    using Module1::rs_aux;
    if (rs_aux.State() == store::adStateOpen)
        rs_aux.Close();
    rs_aux.Open("Select odist, billstatus, count(*) from detail where refdate between " +
                    store::date_literal(kFrom) + " and " + store::date_literal(kTo) +
                    " group by odist, billstatus",
                Module1::db_conn, store::adOpenKeyset, store::adLockOptimistic);
    long long claims = 0;
    for (; !rs_aux.Eof(); rs_aux.MoveNext())
        claims += static_cast<long long>(rs_aux.Fields(2).number());
    return claims;
}

void ShowDetailOneYearAgainstGroupedQuery(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    static PendencyForm seeded;
    reports::FlexGrid& grid = seeded.form.GRD();
    int statements = 0;
    int show_detail_statements = 0;
    Module1::db_conn.set_statement_hook([&statements](const QString&) { ++statements; });

    double show_detail_s = 0;
    double grouped_s = 0;
    for (auto _ : state) {
        statements = 0;
        const auto start = Clock::now();
        seeded.form.cmd_show_Click();
        const auto counted = Clock::now();
        show_detail_statements = statements;
        const long long claims = grouped_query();
        const auto grouped = Clock::now();

        const double show_detail = std::chrono::duration<double>(counted - start).count();
        show_detail_s += show_detail;
        grouped_s += std::chrono::duration<double>(grouped - counted).count();
        state.SetIterationTime(show_detail);
        const QString state_total = grid.TextMatrix(grid.Rows() - 1, 2);
        if (state_total.toLongLong() != claims) {
            state.SkipWithError("the grid's state total differs from the grouped query");
            break;
        }
    }
    Module1::db_conn.set_statement_hook({});
    const double runs = static_cast<double>(state.iterations());
    state.counters["show_detail_ms"] = 1000 * show_detail_s / runs;
    state.counters["grouped_ms"] = 1000 * grouped_s / runs;
    state.counters["ratio"] = grouped_s > 0 ? show_detail_s / grouped_s : 0;
    state.counters["statements"] = show_detail_statements;
}

BENCHMARK(ShowDetailOneYearAgainstGroupedQuery)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

} // namespace
