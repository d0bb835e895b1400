// Seeding of claims databases for the register's benchmarks.
//
// Claims are written through the store with the very statements the entry form uses to save a
// new claim (one insert, nine updates) and, for decided claims, the status form's update, so the
// rows look like a clerk's. Reference dates spread over ten years, odist over the twenty
// districts, billstatus over the three statuses. The same seed always gives the same claims.
#pragma once

#include "claim_statements.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <random>

namespace store {
class Connection;
}

namespace bench {

// One claim as the entry form holds it when "SAVE" is pressed, and the statements that save it.
using demo::decision_statement;
using demo::new_claim_statements;
using demo::SampleClaim;

// Reference dates lie in the ten years from kFirstDay to kLastDay.
inline const QDate kFirstDay{2015, 1, 1};
inline const QDate kLastDay{2024, 12, 31};

SampleClaim sample_claim(long long refno, std::mt19937& random);

// Saves `claim` as the entry form's SAVE does: its ten statements in one transaction, rolled back
// instead of committed when `commit` is false (the statements' cost without the disk's wait).
void save_new_claim(store::Connection& connection, const SampleClaim& claim, bool commit = true);

// Saves `count` claims numbered from `first_refno` in one transaction.
void seed_claims(store::Connection& connection, long long first_refno, int count,
                 unsigned seed = 7);

// Puts a database of `count` seeded claims into `folder` as VETRA.mdb. The seeded file is made
// once per layout of the register and kept in the `seed-cache` folder beside the bench program;
// later calls copy it.
void copy_seeded_register(int count, const QString& folder);
// The same for a register that `fill` makes from a new, empty one, cached as `name`.
void copy_seeded_register(const QString& name, const QString& folder,
                          const std::function<void(store::Connection&)>& fill);
// Copies the seeded register into `folder` and opens it as the program's own register.
void open_seeded_register(int count, const QString& folder);

// The benches drive the real forms; unless a screen is named they run without one.
void default_to_offscreen();

} // namespace bench
