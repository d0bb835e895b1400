// Entry of the reports' benchmark: a widget application on the offscreen platform over one
// register of 200,000 seeded claims (ten years, twenty districts), opened as the program opens
// it. Each report's timings live in a source of their own and register themselves with Google
// Benchmark; they find the register open on Module1::db_conn.
#include "claims_seed.h"
#include "module1.h"
#include "timing.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

int main(int argc, char** argv) {
    bench::default_to_offscreen();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    constexpr int kClaims = 200'000;
    QTemporaryDir folder;
    const auto seeding = bench::Clock::now();
    bench::open_seeded_register(kClaims, folder.path());
    std::printf("register of %d claims ready in %.1f s (seeded once, then copied)\n", kClaims,
                bench::seconds_since(seeding));

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
