// The stored form of an entered claim, and numbered claims for the writers.
#include "claim_entries.h"

#include "schema.h"
#include "values.h"

namespace acceptance {
namespace {

store::FieldValue text(const QString& typed) {
    const QString trimmed = typed.trimmed();
    return store::FieldValue(trimmed.isEmpty() ? QStringLiteral("-") : trimmed);
}

// A typed amount as the table holds it: whole numbers as integers.
store::FieldValue amount(const QString& typed) {
    const QString plain = store::number_literal(typed).value_or(QStringLiteral("invalid"));
    bool whole = false;
    const qlonglong integer = plain.toLongLong(&whole);
    return whole ? store::FieldValue(std::int64_t{integer}) : store::FieldValue(plain.toDouble());
}

} // namespace

StoredRow saved_row(const ClaimEntries& e, std::int64_t refno) {
    const bool dependent = e.type == "Dependent";
    const bool approved = e.approval == "Yes";
    return {
        {"refno", store::FieldValue(refno)},
        {"refdate", store::FieldValue(e.refdate)},
        {"empname", text(e.empname)},
        {"fname", text(e.fname)},
        {"design", text(e.design)},
        {"basicpay", amount(e.pay)},
        {"oaddress", text(e.oaddress)},
        {"ovill", text(e.ovill)},
        {"oteh", text(e.oteh)},
        {"oblkname", text(e.oblkname)},
        {"odist", text(e.district)},
        {"raddress", text(e.raddress)},
        {"rvill", text(e.rvill)},
        {"rteh", text(e.rteh)},
        {"rdist", text(e.rdist)},
        {"rstate", text(e.rstate)},
        {"pname", text(e.pname)},
        {"page", amount(e.age)},
        {"relation", text(e.relation)},
        {"disease", text(e.disease)},
        {"dfrom", store::FieldValue(e.dfrom)},
        {"dto", store::FieldValue(e.dto)},
        {"hospital", text(e.hospital)},
        {"amtclaimed", amount(e.claimed)},
        {"claimtype", text(e.type)},
        {"dependpay", dependent ? amount(e.dependent_income) : store::FieldValue(std::int64_t{0})},
        {"documents", text(e.documents)},
        {"apphealth", text(e.approval)},
        {"amthealth", approved ? amount(e.health_amount) : store::FieldValue(std::int64_t{0})},
        {"medicalcrt", text(e.doctor)},
        {"intime", text(e.in_time)},
        {"officer", text(e.officer)},
        {"offdesign", text(e.offdesign)},
        {"branch", text(e.branch)},
        {"billstatus", store::FieldValue(QStringLiteral("Pending"))},
    };
}

ClaimEntries numbered_claim(const QString& tag, int n) {
    const QString id = QStringLiteral("%1-%2").arg(tag).arg(n);
    const QStringList& districts = store::district_names();
    const QDate day = QDate(2023, 1, 1).addDays(n % 700);
    ClaimEntries c;
    c.refdate = day;
    c.empname = "Employee " + id;
    c.fname = "Father " + id;
    c.design = "Clerk " + id;
    c.pay = QStringLiteral("%1,%2").arg(20 + n % 50).arg(n % 1000, 3, 10, QChar('0'));
    c.oaddress = "Office " + id;
    c.ovill = "Village " + id;
    c.oteh = ""; // stored as "-"
    c.oblkname = "Block " + id;
    c.district = districts[n % districts.size()];
    c.raddress = "House " + id;
    c.rvill = "";
    c.rteh = "Tehsil " + id;
    c.rdist = "District " + id;
    c.rstate = "Punjab";
    c.pname = "Patient " + id;
    c.age = QString::number(20 + n % 60);
    c.relation = "Self";
    c.disease = "Disease " + id;
    c.dfrom = day.addDays(-20);
    c.dto = day.addDays(-10);
    c.hospital = "Hospital " + id;
    c.claimed = QStringLiteral("%1,%2").arg(5 + n % 95).arg(n % 1000, 3, 10, QChar('0'));
    c.type = "Self";
    c.documents = "Yes";
    c.approval = "No";
    c.doctor = "Yes";
    c.in_time = "No";
    c.officer = "Officer " + id;
    c.offdesign = "Superintendent";
    c.branch = "Branch " + id;
    return c;
}

} // namespace acceptance
