// A claim as the entry form holds it when "SAVE" is pressed, and the statements that save it:
// the entry form's insert and nine updates, then the status form's update for a decided claim.
// Seeded registers (the demo, the pictures, the benchmarks) are written with these, so their rows
// are the rows a clerk's work leaves.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

namespace store {
class Connection;
}

namespace demo {

struct SampleClaim {
    QString refno;
    QDate refdate, dfrom, dto;
    QString empname, fname, design, basicpay;
    QString oaddress, ovill, oteh, oblkname, odist;
    QString raddress, rvill, rteh, rdist, rstate;
    QString pname, page, relation, disease, hospital, amtclaimed, claimtype, dependpay;
    QString documents, apphealth, amthealth, medicalcrt, intime;
    QString officer, offdesign, branch;
    QString billstatus; // the decision made later: Pending, Sanctioned or Rejected
    QString amtapproved;
    QDate appdate;
    QString remarks = QStringLiteral("-"); // of a decided claim
};

// The ten statements that save `claim` as a new claim.
QStringList new_claim_statements(const SampleClaim& claim);

// The statement that records a Sanctioned or Rejected decision; empty for Pending.
QString decision_statement(const SampleClaim& claim);

// Saves the claim as a new claim and then its decision, statement by statement.
void save_claim(store::Connection& connection, const SampleClaim& claim);

// Saves the claims as one transaction: all of them or none.
void save_claims(store::Connection& connection, const std::vector<SampleClaim>& claims);

} // namespace demo
