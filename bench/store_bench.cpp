// Times the store's hot paths on a register of 200,000 claims: saving one new claim (insert and
// nine updates in one transaction), allocating a reference number, looking a claim up by its
// number, and the 84 counts of the consolidated report for one year.
#include "claims_seed.h"
#include "module1.h"
#include "recordset.h"
#include "schema.h"
#include "timing.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int kClaims = 200'000;

using bench::time_it;

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
    const auto seeding = bench::Clock::now();
    bench::open_seeded_register(kClaims, folder.path());
    std::printf("register of %d claims ready in %.1f s (seeded once, then copied)\n", kClaims,
                bench::seconds_since(seeding));
    using Module1::db_conn;

    // What the program's start does with the file: open, check it whole, open the reports' side.
    time_it("open the register (program start)", 5, [](int) { Module1::open_database(); });

    std::mt19937 random(99);
    const long long first_new = Module1::allocate_reference_number().toLongLong();
    time_it("save a new claim (insert + 9 updates)", 200, [&](int i) {
        bench::save_new_claim(db_conn, bench::sample_claim(first_new + i, random));
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
