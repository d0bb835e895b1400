// Times the store's hot paths on a register of 200,000 claims: saving one new claim (insert and
// nine updates in one transaction), allocating a reference number, looking a claim up by its
// number, and the 84 counts of the consolidated report for one year.
#include "claims_seed.h"
#include "module1.h"
#include "recordset.h"
#include "schema.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kClaims = 200'000;

using Clock = std::chrono::steady_clock;

// Runs `step` `times` times and prints the median and the mean in milliseconds.
void time_it(const char* what, int times, const std::function<void(int)>& step) {
    std::vector<double> ms;
    ms.reserve(static_cast<std::size_t>(times));
    for (int i = 0; i < times; ++i) {
        const auto start = Clock::now();
        step(i);
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    double total = 0;
    for (const double m : ms)
        total += m;
    std::sort(ms.begin(), ms.end());
    std::printf("%-44s median %8.3f ms   mean %8.3f ms   (%d runs)\n", what, ms[ms.size() / 2],
                total / times, times);
}

void reopen(store::Recordset& recordset, const QString& statement) {
    if (recordset.State() == store::adStateOpen)
        recordset.Close();
    recordset.Open(statement, Module1::db_conn, store::adOpenKeyset, store::adLockOptimistic,
                   store::adCmdUnspecified);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    const auto seeding = Clock::now();
    bench::copy_seeded_register(QCoreApplication::applicationDirPath() + "/seed-cache", kClaims,
                                folder.path());
    std::printf("register of %d claims ready in %.1f s (seeded once, then copied)\n", kClaims,
                std::chrono::duration<double>(Clock::now() - seeding).count());

    Module1::app_path = folder.path();
    Module1::open_database();
    using Module1::db_conn;

    // What the program's start does with the file: open, check it whole, open the reports' side.
    time_it("open the register (program start)", 5, [](int) { Module1::open_database(); });

    std::mt19937 random(99);
    const long long first_new = Module1::allocate_reference_number().toLongLong();
    time_it("save a new claim (insert + 9 updates)", 200, [&](int i) {
        const bench::SampleClaim claim = bench::sample_claim(first_new + i, random);
        store::Transaction transaction(db_conn);
        for (const QString& statement : bench::new_claim_statements(claim))
            db_conn.Execute(statement);
        transaction.commit();
    });

    time_it("allocate a reference number", 1000, [](int) { Module1::allocate_reference_number(); });

    time_it("look a claim up by refno (whole row)", 1000, [&](int) {
        reopen(Module1::rs_aux,
               "Select * from detail where refno=" + QString::number(101 + random() % kClaims));
        if (Module1::rs_aux.RecordCount() != 1 || Module1::rs_aux.Fields(3).text().isEmpty())
            std::printf("lookup found no claim\n");
    });

    const QString period = " refdate between #01-Apr-2020# and #31-Mar-2021#";
    time_it("consolidated report: 84 counts over a year", 10, [&](int) {
        const auto count = [&](const QString& statement) {
            reopen(Module1::rs_aux, statement);
            return Module1::rs_aux.Fields(0).text();
        };
        for (const QString& district : store::district_names()) {
            const QString where = "Select count(*) from detail where odist='" + district + "'";
            count(where + " and" + period);
            for (const char* status : {"Sanctioned", "Rejected"})
                count(where + " and billstatus='" + status + "' and" + period);
            count(where + " and billstatus='Pending'and" + period);
        }
        count("Select count(*) from detail where" + period + " ");
        for (const char* status : {"Sanctioned", "Rejected", "Pending"})
            count(QStringLiteral("Select count(*) from detail where billstatus='%1' and")
                      .arg(status) +
                  period);
    });

    time_it("case list: one district, all cases, a year", 10, [&](int) {
        reopen(Module1::rs_aux, "SELECT refno,refdate,empname,fname,design,basicpay,odist,pname,"
                                "page,relation,disease,dfrom,dto,amtclaimed,billstatus,"
                                "amtapproved,appdate FROM detail where" +
                                    period + " and odist in ('Moga') order by refno");
        Module1::rs_aux.RecordCount();
        for (; !Module1::rs_aux.Eof(); Module1::rs_aux.MoveNext()) {
        }
    });
    return 0;
}
