// The demo's claims: what a newcomer's first look at the reports relies on, that the same day and
// seed give the same claims, and that the forms' statements store them.
#include "demo_claims.h"
#include "module1.h"
#include "schema.h"
#include "temporary_register.h"

#include <gtest/gtest.h>
#include <set>

namespace {

const QDate kToday(2025, 3, 31);

TEST(DemoClaims, EveryDistrictAndStatusOverFourYearsUpToTodayStoredByTheFormsStatements) {
    const std::vector<demo::SampleClaim> claims = demo::demo_claims(kToday);
    const std::vector<demo::SampleClaim> again = demo::demo_claims(kToday);
    ASSERT_EQ(claims.size(), std::size_t{demo::kDemoClaimCount});
    std::set<QString> districts, today;
    QStringList decided, stored;
    for (std::size_t i = 0; i < claims.size(); ++i) {
        const demo::SampleClaim& c = claims[i];
        EXPECT_EQ(c.refno, QString::number(101 + i));
        // Numbers rise with the dates; a claim's stay, entry and decision follow each other.
        EXPECT_TRUE((i == 0 || claims[i - 1].refdate <= c.refdate) && c.dfrom <= c.dto &&
                    c.dto < c.refdate && c.appdate <= kToday)
            << c.refno.toStdString();
        EXPECT_EQ(demo::new_claim_statements(c) << demo::decision_statement(c),
                  demo::new_claim_statements(again[i]) << demo::decision_statement(again[i]))
            << "the same day gives the same claims";
        districts.insert(c.odist);
        decided << c.billstatus;
        if (c.refdate == kToday)
            today.insert(c.billstatus);
    }
    EXPECT_TRUE(kToday.addYears(-4) <= claims.front().refdate && claims.back().refdate == kToday);
    EXPECT_EQ(districts.size(), store::district_names().size());
    EXPECT_EQ(today, (std::set<QString>{"Pending", "Sanctioned", "Rejected"}));

    store::TemporaryRegister temporary;
    demo::save_claims(Module1::db_conn, claims);
    store::Recordset rows;
    for (rows.Open("Select billstatus from detail order by refno", Module1::db_conn); !rows.Eof();
         rows.MoveNext())
        stored << rows.Fields(0).text();
    EXPECT_EQ(stored, decided);
}

} // namespace
