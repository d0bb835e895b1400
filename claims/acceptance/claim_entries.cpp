// The stored form of an entered claim, numbered claims for the writers, and a claim entered on
// the bill entry form.
#include "claim_entries.h"

#include "clerk.h"
#include "schema.h"
#include "values.h"

#include <QDateEdit>
#include <QLineEdit>

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

void type_claim(Clerk& clerk, const ClaimEntries& c) {
    clerk.type_date("txt_RefDate", c.refdate);
    clerk.type("txt_EmpName", c.empname);
    clerk.type("txt_Fname", c.fname);
    clerk.type("txt_Design", c.design);
    clerk.type("txt_Pay", c.pay);
    clerk.type("txt_OAddress", c.oaddress);
    clerk.type("txt_OVillage", c.ovill);
    clerk.type("txt_OTehsil", c.oteh);
    clerk.type("txt_OEBlock", c.oblkname);
    clerk.choose("cmb_district", c.district);
    clerk.type("txt_PAddress", c.raddress);
    clerk.type("txt_PVillage", c.rvill);
    clerk.type("txt_PTehsil", c.rteh);
    clerk.type("txt_PDistrict", c.rdist);
    clerk.type("txt_State", c.rstate);
    clerk.type("txt_pname", c.pname);
    clerk.type("txt_age", c.age);
    clerk.type("txt_Relation", c.relation);
    clerk.type("txt_Disease", c.disease);
    clerk.type_date("txt_from", c.dfrom);
    clerk.type_date("txt_to", c.dto);
    clerk.type("txt_Hospital", c.hospital);
    clerk.type("txt_AmtClaimed", c.claimed);
    clerk.choose("cmb_Type", c.type);
    if (c.type == "Dependent")
        clerk.type("txt_DIncome", c.dependent_income);
    clerk.choose("cmb_Documents", c.documents);
    clerk.choose("cmb_HApproval", c.approval);
    if (c.approval == "Yes")
        clerk.type("txt_HAmount", c.health_amount);
    clerk.choose("cmb_doctor", c.doctor);
    clerk.choose("cmb_BillTime", c.in_time);
    clerk.type("txt_DOfficer", c.officer);
    clerk.type("txt_DDesign", c.offdesign);
    clerk.type("txt_DBranch", c.branch);
}

void fill_claim(Clerk& clerk, const ClaimEntries& c) {
    const std::pair<const char*, const QString*> boxes[] = {{"txt_EmpName", &c.empname},
                                                            {"txt_Fname", &c.fname},
                                                            {"txt_Design", &c.design},
                                                            {"txt_Pay", &c.pay},
                                                            {"txt_OAddress", &c.oaddress},
                                                            {"txt_OVillage", &c.ovill},
                                                            {"txt_OTehsil", &c.oteh},
                                                            {"txt_OEBlock", &c.oblkname},
                                                            {"txt_PAddress", &c.raddress},
                                                            {"txt_PVillage", &c.rvill},
                                                            {"txt_PTehsil", &c.rteh},
                                                            {"txt_PDistrict", &c.rdist},
                                                            {"txt_State", &c.rstate},
                                                            {"txt_pname", &c.pname},
                                                            {"txt_age", &c.age},
                                                            {"txt_Relation", &c.relation},
                                                            {"txt_Disease", &c.disease},
                                                            {"txt_Hospital", &c.hospital},
                                                            {"txt_AmtClaimed", &c.claimed},
                                                            {"txt_DOfficer", &c.officer},
                                                            {"txt_DDesign", &c.offdesign},
                                                            {"txt_DBranch", &c.branch}};
    for (const auto& [name, value] : boxes)
        clerk.find<QLineEdit>(name)->setText(*value);
    for (const auto& [name, value] : {std::pair{"cmb_district", c.district},
                                      {"cmb_Type", c.type},
                                      {"cmb_Documents", c.documents},
                                      {"cmb_HApproval", c.approval},
                                      {"cmb_doctor", c.doctor},
                                      {"cmb_BillTime", c.in_time}})
        clerk.choose(name, value);
    if (c.type == "Dependent")
        clerk.find<QLineEdit>("txt_DIncome")->setText(c.dependent_income);
    if (c.approval == "Yes")
        clerk.find<QLineEdit>("txt_HAmount")->setText(c.health_amount);
    clerk.find<QDateEdit>("txt_RefDate")->setDate(c.refdate);
    clerk.find<QDateEdit>("txt_from")->setDate(c.dfrom);
    clerk.find<QDateEdit>("txt_to")->setDate(c.dto);
}

} // namespace acceptance
