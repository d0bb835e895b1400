// The save and decision statements, written as the two forms write them.
#include "claim_statements.h"

#include "connection.h"
#include "values.h"

namespace demo {

QStringList new_claim_statements(const SampleClaim& c) {
    using store::date_literal;
    using store::text_literal;
    const QString where = " where refno=" + c.refno;
    return {
        "Insert into detail (refno,refdate,billstatus) values(" + c.refno + ", " +
            date_literal(c.refdate) + ",'Pending')",
        "Update detail set empname=" + text_literal(c.empname) +
            ", fname=" + text_literal(c.fname) + ", design=" + text_literal(c.design) +
            ", basicpay=" + c.basicpay + where,
        "Update detail set oaddress=" + text_literal(c.oaddress) +
            ", ovill=" + text_literal(c.ovill) + ", oteh=" + text_literal(c.oteh) +
            ", oblkname=" + text_literal(c.oblkname) + ", odist=" + text_literal(c.odist) + where,
        "Update detail set raddress=" + text_literal(c.raddress) +
            ", rvill=" + text_literal(c.rvill) + ", rteh=" + text_literal(c.rteh) +
            ", rdist=" + text_literal(c.rdist) + ", rstate=" + text_literal(c.rstate) + where,
        "Update detail set pname=" + text_literal(c.pname) + ", page=" + c.page +
            ", relation=" + text_literal(c.relation) + where,
        "Update detail set disease=" + text_literal(c.disease) +
            ", dfrom=" + date_literal(c.dfrom) + ", dto=" + date_literal(c.dto) +
            ", hospital=" + text_literal(c.hospital) + ", amtclaimed=" + c.amtclaimed +
            ", claimtype=" + text_literal(c.claimtype) + where,
        "Update detail set dependpay=" + c.dependpay + where,
        "Update detail set documents=" + text_literal(c.documents) + ", apphealth=" +
            text_literal(c.apphealth) + ", medicalcrt=" + text_literal(c.medicalcrt) + where,
        "Update detail set amthealth=" + c.amthealth + where,
        "Update detail set intime=" + text_literal(c.intime) +
            ", officer=" + text_literal(c.officer) + ", offdesign=" + text_literal(c.offdesign) +
            ", branch=" + text_literal(c.branch) + where,
    };
}

QString decision_statement(const SampleClaim& c) {
    if (c.billstatus == "Sanctioned")
        return "Update detail set billstatus='Sanctioned', amtapproved=" + c.amtapproved +
               ", appdate=" + store::date_literal(c.appdate) +
               ", remarks=" + store::text_literal(c.remarks) + " where refno=" + c.refno + " ";
    if (c.billstatus == "Rejected")
        return "Update detail set billstatus='Rejected', amtapproved=0, appdate=Null , "
               "remarks=" +
               store::text_literal(c.remarks) + " where refno=" + c.refno + " ";
    return {};
}

void save_claim(store::Connection& connection, const SampleClaim& claim) {
    for (const QString& statement : new_claim_statements(claim))
        connection.Execute(statement);
    if (const QString decision = decision_statement(claim); !decision.isEmpty())
        connection.Execute(decision);
}

void save_claims(store::Connection& connection, const std::vector<SampleClaim>& claims) {
    store::Transaction transaction(connection);
    for (const SampleClaim& claim : claims)
        save_claim(connection, claim);
    transaction.commit();
}

} // namespace demo
