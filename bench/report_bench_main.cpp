// Entry of the reports' benchmark: a widget application on the offscreen platform over one
// register of 200,000 seeded claims (ten years, twenty districts), opened as the program opens
// it. Each report's timings live in a source of their own and register themselves with Google
// Benchmark; they find the register open on Module1::db_conn.
#include "claims_seed.h"
#include "module1.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    constexpr int kClaims = 200'000;
    QTemporaryDir folder;
    const auto seeding = std::chrono::steady_clock::now();
    bench::copy_seeded_register(QCoreApplication::applicationDirPath() + "/seed-cache", kClaims,
                                folder.path());
    std::printf("register of %d claims ready in %.1f s (seeded once, then copied)\n", kClaims,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - seeding).count());
    Module1::app_path = folder.path();
    Module1::open_database();

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
