// Times the bill status form's lookup on a register of 200,000 claims. The lookup runs at every
// keystroke in the number box, so one change of the number must cost far less than a keystroke's
// interval: a number that finds its claim, and one that finds none.
#include "claims_seed.h"
#include "frmBillUpdation.h"
#include "module1.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <random>

namespace {

constexpr int kClaims = 200'000;

// Sets the number box to each number that `next` gives, as typing does.
void look_up(benchmark::State& state, frmBillUpdation& form, const std::function<int()>& next) {
    auto* number = form.findChild<QLineEdit*>("txt_refno");
    for (auto _ : state)
        number->setText(QString::number(next()));
    state.counters["shown"] = form.findChild<QLabel*>("lbl_name")->text().isEmpty() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    bench::default_to_offscreen();
    QApplication app(argc, argv);
    QTemporaryDir folder;
    bench::open_seeded_register(kClaims, folder.path());
    frmBillUpdation form;

    std::mt19937 random(11);
    benchmark::RegisterBenchmark("status form: lookup of a stored claim", [&](benchmark::State& s) {
        look_up(s, form, [&] { return 101 + static_cast<int>(random() % kClaims); });
    });
    benchmark::RegisterBenchmark("status form: lookup of a missing number",
                                 [&](benchmark::State& s) {
                                     int missing = 101 + kClaims;
                                     look_up(s, form, [&] { return missing++; });
                                 });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
