// Makes the demo's register: a new VETRA.mdb in the folder given, holding the made-up claims of
// demo_claims.h up to today, saved with the forms' own statements. A folder that already holds a
// register is refused, so the demo never writes into real claims.
// Usage: demo_register FOLDER; --help and --version answer; any other option is refused (2).
#include "claim_statements.h"
#include "demo_claims.h"
#include "module1.h"
#include "store_error.h"
#include "vetra_version.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <map>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString argument = argc == 2 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (argument == "--help" || argument == "--version") {
        std::printf(argument == "--help" ? "usage: demo_register FOLDER\n"
                                           "Makes a register of made-up claims in FOLDER.\n"
                                         : "demo_register %s\n",
                    kVetraVersion);
        return 0;
    }
    if (argc != 2 || argument.startsWith('-')) {
        std::fprintf(stderr,
                     "usage: demo_register FOLDER\n       demo_register --help | --version\n");
        return 2;
    }
    Module1::app_path = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    if (QFileInfo::exists(Module1::database_path())) {
        std::fprintf(stderr, "%s holds a register already; the demo makes its own\n",
                     qPrintable(Module1::database_path()));
        return 1;
    }
    const QDate today = QDate::currentDate();
    const std::vector<demo::SampleClaim> claims = demo::demo_claims(today);
    try {
        QDir().mkpath(Module1::app_path);
        Module1::open_database();
        demo::save_claims(Module1::db_conn, claims);
    } catch (const store::StoreError& e) {
        std::fprintf(stderr, "cannot make the demo register: %s\n", qPrintable(e.reason()));
        return 1;
    }
    std::map<QString, int> statuses;
    for (const demo::SampleClaim& claim : claims)
        ++statuses[claim.billstatus];
    std::printf("%zu claims from %s to %s (%d pending, %d sanctioned, %d rejected) in %s\n",
                claims.size(), qPrintable(claims.front().refdate.toString("dd-MM-yyyy")),
                qPrintable(today.toString("dd-MM-yyyy")), statuses["Pending"],
                statuses["Sanctioned"], statuses["Rejected"],
                qPrintable(QDir::toNativeSeparators(Module1::database_path())));
    return 0;
}
