// Saving test claims through the register's own statements.
#include "case_claims.h"

#include "module1.h"
#include "values.h"

namespace reports::testing {

void save_claim(const CaseClaim& c) {
    using store::date_literal;
    using store::text_literal;
    const QString refno = QString::number(c.refno);
    const QString where = " where refno=" + refno;
    const QStringList statements{
        "Insert into detail (refno,refdate,billstatus) values(" + refno + ", " +
            date_literal(c.refdate) + ",'Pending')",
        "Update detail set empname=" + text_literal(c.empname) +
            ", fname=" + text_literal(c.fname) + ", design='Teacher', basicpay=32000" + where,
        "Update detail set oaddress='Govt. School', ovill='-', oteh='-', oblkname='-', odist=" +
            text_literal(c.odist) + where,
        "Update detail set pname='Asha Rani', page=41, relation='Wife'" + where,
        "Update detail set disease='Cataract', dfrom=" + date_literal(c.refdate.addDays(-30)) +
            ", dto=" + date_literal(c.refdate.addDays(-25)) +
            ", hospital='Civil Hospital', amtclaimed=" + c.amtclaimed + ", claimtype='Dependent'" +
            where,
    };
    for (const QString& statement : statements)
        Module1::db_conn.Execute(statement);
    if (c.billstatus == "Sanctioned")
        Module1::db_conn.Execute(
            "Update detail set billstatus='Sanctioned', amtapproved=" + c.amtapproved +
            ", appdate=" + date_literal(c.refdate.addDays(20)) + ", remarks='-'" + where);
    else if (c.billstatus != "Pending")
        Module1::db_conn.Execute("Update detail set billstatus=" + text_literal(c.billstatus) +
                                 ", amtapproved=0, appdate=Null, remarks='Not admissible'" + where);
}

} // namespace reports::testing
