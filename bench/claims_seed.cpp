// Deterministic claims and the statements that save them.
#include "claims_seed.h"

#include "connection.h"
#include "connection_string.h"
#include "module1.h"
#include "schema.h"
#include "store_error.h"

#include <QCoreApplication>
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
    const auto days = static_cast<unsigned long long>(kFirstDay.daysTo(kLastDay) + 1);
    c.refdate = kFirstDay.addDays(static_cast<qint64>(random() % days));
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
    c.remarks = c.billstatus == "Rejected" ? "Not admissible" : "-";
    return c;
}

void save_new_claim(store::Connection& connection, const SampleClaim& claim, bool commit) {
    store::Transaction transaction(connection);
    for (const QString& statement : new_claim_statements(claim))
        connection.Execute(statement);
    if (commit)
        transaction.commit();
}

void seed_claims(store::Connection& connection, long long first_refno, int count, unsigned seed) {
    std::mt19937 random(seed);
    store::Transaction transaction(connection);
    for (int i = 0; i < count; ++i)
        demo::save_claim(connection, sample_claim(first_refno + i, random));
    transaction.commit();
}

void copy_seeded_register(const QString& name, const QString& folder,
                          const std::function<void(store::Connection&)>& fill) {
    const QString cache_folder = QCoreApplication::applicationDirPath() + "/seed-cache";
    // Named by the layout as well: a cache seeded before the layout changed is not this layout.
    const QString cached =
        QDir(cache_folder).filePath(QStringLiteral("layout%1-").arg(store::kSchemaVersion) + name);
    if (!QFile::exists(cached)) {
        // Seed under another name so that an interrupted run leaves no half-seeded cache.
        QDir().mkpath(cache_folder);
        const QString partial = cached + ".partial";
        QFile::remove(partial);
        store::create_database_if_missing(partial, Module1::kDatabasePassword);
        {
            store::Connection connection;
            connection.Open(connection_string(partial));
            fill(connection);
        }
        if (!QFile::rename(partial, cached))
            throw store::StoreError("cannot keep the seeded database as " + cached);
    }
    const QString target = QDir(folder).filePath(Module1::kDatabaseFileName);
    QFile::remove(target);
    if (!QFile::copy(cached, target))
        throw store::StoreError("cannot copy the seeded database to " + target);
}

void copy_seeded_register(int count, const QString& folder) {
    copy_seeded_register(
        QStringLiteral("claims-%1.mdb").arg(count), folder,
        [count](store::Connection& connection) { seed_claims(connection, 101, count); });
}

void open_seeded_register(int count, const QString& folder) {
    copy_seeded_register(count, folder);
    Module1::app_path = folder;
    Module1::open_database();
}

void default_to_offscreen() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace bench
