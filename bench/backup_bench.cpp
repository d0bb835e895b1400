// Times a backup of a register of 200,000 claims from the Register menu's path: the engine's copy
// from a read snapshot, flushed, checked whole (integrity check and the claims counted), renamed
// into place; and, separately, the automatic copy at exit with its rotation, which the clerk waits
// for only after the window is gone.
#include "automatic.h"
#include "backup.h"
#include "claims_seed.h"
#include "module1.h"
#include "timing.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

constexpr int kClaims = 200'000;

using bench::Clock;

// Wall-clock seconds since `start`, and this process's processor seconds since `cpu` (the machine
// may be busy with other work).
QString seconds_since(Clock::time_point start, std::clock_t cpu) {
    return QStringLiteral("%1 s (processor %2 s)")
        .arg(bench::seconds_since(start), 0, 'f', 2)
        .arg(double(std::clock() - cpu) / CLOCKS_PER_SEC, 0, 'f', 2);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir folder, target;
    bench::open_seeded_register(kClaims, folder.path()); // stays open, as while the program runs
    std::printf("register of %d claims, %.1f MB\n", kClaims,
                double(QFileInfo(Module1::database_path()).size()) / 1e6);
    for (int run = 1; run <= 3; ++run) {
        const auto start = Clock::now();
        const std::clock_t cpu = std::clock();
        const backup::Copy copy =
            backup::back_up(Module1::database_path(), Module1::kDatabasePassword,
                            target.filePath("VETRA-backup.mdb"));
        std::printf("backup run %d: %s, %lld claims, %.1f MB\n", run,
                    qPrintable(seconds_since(start, cpu)), static_cast<long long>(copy.claims),
                    double(QFileInfo(copy.path).size()) / 1e6);
    }
    const auto start = Clock::now();
    const std::clock_t cpu = std::clock();
    const QString automatic = target.filePath("backups");
    QDir().mkpath(automatic);
    backup::back_up(Module1::database_path(), Module1::kDatabasePassword,
                    QDir(automatic).filePath(backup::automatic_name(QDateTime::currentDateTime())));
    backup::rotate(automatic);
    std::printf("automatic copy at exit with rotation: %s\n",
                qPrintable(seconds_since(start, cpu)));
    return 0;
}
