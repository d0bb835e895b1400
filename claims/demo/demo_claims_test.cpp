// The demo's claims: what a newcomer's first look at the reports relies on, and that the forms'
// statements store them.
#include "demo_claims.h"
#include "module1.h"
#include "schema.h"
#include "temporary_register.h"

#include <gtest/gtest.h>
#include <set>

using demo::demo_claims;
using demo::SampleClaim;

namespace {

const QDate kToday(2025, 3, 31);

TEST(DemoClaims, EveryDistrictAndStatusOverFourYearsUpToToday) {
    const std::vector<SampleClaim> claims = demo_claims(kToday);
    ASSERT_EQ(claims.size(), std::size_t{demo::kDemoClaimCount});
    std::set<QString> districts, statuses, today_statuses, years;
    for (std::size_t i = 0; i < claims.size(); ++i) {
        const SampleClaim& c = claims[i];
        SCOPED_TRACE(c.refno.toStdString());
        EXPECT_EQ(c.refno, QString::number(101 + static_cast<int>(i)));
        if (i > 0) {
            EXPECT_LE(claims[i - 1].refdate, c.refdate) << "numbers rise with the dates";
        }
        EXPECT_GE(c.refdate, kToday.addYears(-4));
        EXPECT_LE(c.refdate, kToday);
        districts.insert(c.odist);
        statuses.insert(c.billstatus);
        years.insert(QString::number(c.refdate.year()));
        if (c.refdate == kToday)
            today_statuses.insert(c.billstatus);
        // What a clerk's entry and a decision leave.
        EXPECT_LE(c.dfrom, c.dto);
        EXPECT_LT(c.dto, c.refdate);
        EXPECT_EQ(c.claimtype == "Self", c.relation == "Self");
        if (c.claimtype == "Self") {
            EXPECT_EQ(c.dependpay, "0");
        }
        EXPECT_EQ(c.apphealth == "Yes", c.amthealth != "0");
        if (c.billstatus == "Sanctioned") {
            EXPECT_GT(c.amtapproved.toInt(), 0);
            EXPECT_LE(c.amtapproved.toInt(), c.amtclaimed.toInt());
            EXPECT_GE(c.appdate, c.refdate);
            EXPECT_LE(c.appdate, kToday);
        } else {
            EXPECT_EQ(c.amtapproved, "0");
        }
    }
    EXPECT_EQ(districts,
              std::set<QString>(store::district_names().begin(), store::district_names().end()));
    EXPECT_EQ(statuses, (std::set<QString>{"Pending", "Sanctioned", "Rejected"}));
    EXPECT_EQ(today_statuses, statuses) << "a report of today shows every status";
    EXPECT_EQ(years.size(), 5u);
}

TEST(DemoClaims, TheSameDayAndSeedGiveTheSameClaims) {
    const auto first = demo_claims(kToday);
    const auto again = demo_claims(kToday);
    const auto other = demo_claims(kToday, demo::kDemoClaimCount, 11);
    ASSERT_EQ(first.size(), again.size());
    bool all_same = true;
    bool other_same = true;
    for (std::size_t i = 0; i < first.size(); ++i) {
        all_same = all_same &&
                   demo::new_claim_statements(first[i]) == demo::new_claim_statements(again[i]) &&
                   demo::decision_statement(first[i]) == demo::decision_statement(again[i]);
        other_same = other_same &&
                     demo::new_claim_statements(first[i]) == demo::new_claim_statements(other[i]);
    }
    EXPECT_TRUE(all_same);
    EXPECT_FALSE(other_same);
}

TEST(DemoClaims, TheFormsStatementsStoreThemAll) {
    store::TemporaryRegister temporary;
    const std::vector<SampleClaim> claims = demo_claims(kToday);
    demo::save_claims(Module1::db_conn, claims);
    store::Recordset counts;
    counts.Open("Select billstatus, count(*), sum(amtapproved) from detail group by billstatus "
                "order by billstatus",
                Module1::db_conn);
    std::map<QString, std::pair<int, double>> stored;
    for (; !counts.Eof(); counts.MoveNext())
        stored[counts.Fields(0).text()] = {static_cast<int>(counts.Fields(1).number()),
                                           counts.Fields(2).number()};
    std::map<QString, std::pair<int, double>> expected;
    for (const SampleClaim& c : claims) {
        ++expected[c.billstatus].first;
        expected[c.billstatus].second += c.amtapproved.toDouble();
    }
    EXPECT_EQ(stored, expected);
}

} // namespace
