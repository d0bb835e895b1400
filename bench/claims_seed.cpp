// Deterministic claims and the statements that save them.
#include "claims_seed.h"

#include "connection.h"
#include "connection_string.h"
#include "module1.h"
#include "schema.h"
#include "store_error.h"
#include "values.h"

#include <QDir>
#include <QFile>
#include <array>

namespace bench {
namespace {

template <std::size_t N>
QString pick(const std::array<const char*, N>& choices, std::mt19937& random) {
    return QString::fromLatin1(choices[random() % N]);
}

QString amount(std::mt19937& random, int low, int high) {
    return QString::number(low + static_cast<int>(random() % static_cast<unsigned>(high - low)));
}

const std::array<const char*, 8> kNames{"Ram Lal",   "Harpreet Kaur", "Gurdev Singh", "Asha Rani",
                                        "Mohan Lal", "Kuldip Singh",  "Neelam",       "Sukhwinder"};
const std::array<const char*, 5> kDesignations{"Teacher", "Clerk", "Lecturer", "Head Master",
                                               "Peon"};
const std::array<const char*, 5> kDiseases{"Cataract", "Fracture", "Heart surgery", "Dialysis",
                                           "Appendicitis"};
const std::array<const char*, 4> kHospitals{"Civil Hospital", "PGI Chandigarh", "DMC Ludhiana",
                                            "CMC Ludhiana"};
const std::array<const char*, 3> kStatuses{"Pending", "Sanctioned", "Rejected"};

QString connection_string(const QString& file) {
    return "Provider=Microsoft.jet.oledb.4.0; data source=" + store::connection_string_value(file) +
           ";Persist Security Info=False;Jet OLEDB:Database Password=" + Module1::kDatabasePassword;
}

} // namespace

SampleClaim sample_claim(long long refno, std::mt19937& random) {
    using store::district_names;
    SampleClaim c;
    c.refno = QString::number(refno);
    c.refdate = kFirstDay.addDays(random() % (kFirstDay.daysTo(kLastDay) + 1));
    c.dfrom = c.refdate.addDays(-40 - static_cast<int>(random() % 60));
    c.dto = c.dfrom.addDays(static_cast<int>(random() % 30));
    c.empname = pick(kNames, random);
    c.fname = pick(kNames, random);
    c.design = pick(kDesignations, random);
    c.basicpay = amount(random, 8000, 60000);
    c.oaddress = "Government School, Ward " + QString::number(random() % 40);
    c.ovill = "-";
    c.oteh = "Tehsil " + QString::number(random() % 9);
    c.oblkname = "-";
    c.odist = district_names()[static_cast<qsizetype>(random() % 20)];
    c.raddress = "House " + QString::number(random() % 900);
    c.rvill = "-";
    c.rteh = "-";
    c.rdist = c.odist;
    c.rstate = "Punjab";
    c.pname = pick(kNames, random);
    c.page = QString::number(5 + random() % 80);
    c.relation = random() % 2 ? "Self" : "Wife";
    c.disease = pick(kDiseases, random);
    c.hospital = pick(kHospitals, random);
    c.amtclaimed = amount(random, 500, 300000);
    c.claimtype = c.relation == "Self" ? "Self" : "Dependent";
    c.dependpay = c.claimtype == "Self" ? "0" : amount(random, 0, 5000);
    c.documents = random() % 4 ? "Yes" : "Incomplete";
    c.apphealth = random() % 2 ? "Yes" : "No";
    c.amthealth = c.apphealth == "Yes" ? amount(random, 500, 200000) : "0";
    c.medicalcrt = "Yes";
    c.intime = random() % 5 ? "Yes" : "No";
    c.officer = "S. K. Sharma";
    c.offdesign = "Superintendent";
    c.branch = "Medical";
    c.billstatus = pick(kStatuses, random);
    c.amtapproved = c.billstatus == "Sanctioned" ? amount(random, 500, 200000) : "0";
    c.appdate = c.refdate.addDays(30);
    return c;
}

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
               ", remarks='-' where refno=" + c.refno + " ";
    if (c.billstatus == "Rejected")
        return "Update detail set billstatus='Rejected', amtapproved=0, appdate=Null , "
               "remarks='Not admissible' where refno=" +
               c.refno + " ";
    return {};
}

void seed_claims(store::Connection& connection, long long first_refno, int count, unsigned seed) {
    std::mt19937 random(seed);
    store::Transaction transaction(connection);
    for (int i = 0; i < count; ++i) {
        const SampleClaim claim = sample_claim(first_refno + i, random);
        for (const QString& statement : new_claim_statements(claim))
            connection.Execute(statement);
        if (const QString decision = decision_statement(claim); !decision.isEmpty())
            connection.Execute(decision);
    }
    transaction.commit();
}

void copy_seeded_register(const QString& cache_folder, int count, const QString& folder) {
    const QString cached = QDir(cache_folder).filePath(QStringLiteral("claims-%1.mdb").arg(count));
    if (!QFile::exists(cached)) {
        // Seed under another name so that an interrupted run leaves no half-seeded cache.
        QDir().mkpath(cache_folder);
        const QString partial = cached + ".partial";
        QFile::remove(partial);
        store::create_database_if_missing(partial, Module1::kDatabasePassword);
        {
            store::Connection connection;
            connection.Open(connection_string(partial));
            seed_claims(connection, 101, count);
        }
        if (!QFile::rename(partial, cached))
            throw store::StoreError("cannot keep the seeded database as " + cached);
    }
    const QString target = QDir(folder).filePath(Module1::kDatabaseFileName);
    QFile::remove(target);
    if (!QFile::copy(cached, target))
        throw store::StoreError("cannot copy the seeded database to " + target);
}

} // namespace bench
