// Times loading a whole configuration (about half a megabyte of JSON with
// the live profile and ten stored scenes): read, parse, check every value
// into a separate copy and commit; and the save that writes it.
#include <chrono>
#include <cstdio>
#include <memory>

#include "app/tuning/ProfileFile.h"
#include "tests/app/ProfileTestKit.h"

namespace {

template <typename F>
double MillisecondsPerRun(int runs, F f) {
    const auto start = std::chrono::steady_clock::now();
    for (int r = 0; r < runs; ++r) f();
    const std::chrono::duration<double, std::milli> d = std::chrono::steady_clock::now() - start;
    return d.count() / runs;
}

}  // namespace

int main() {
    auto model = std::make_unique<TuningModel>();
    FillDistinct(model->Current(), 0);
    for (int k = 0; k < kStoredScenes; ++k) FillDistinct(*model->Stored(k), k + 1);
    ScratchFolder dir;
    const auto path = dir / "bench.wpf";
    if (!SaveWholeProfile(*model, path).ok) return 1;
    const size_t bytes = ReadFileText(path).value_or("").size();

    auto target = std::make_unique<TuningModel>();
    bool ok = true;
    const double load = MillisecondsPerRun(20, [&] { ok = LoadWholeProfile(path, *target).ok && ok; });
    const double save = MillisecondsPerRun(20, [&] { ok = SaveWholeProfile(*model, path).ok && ok; });

    std::printf("whole configuration, %zu bytes\n", bytes);
    std::printf("  load (read, parse, check, commit): %8.2f ms   (goal <= 100 ms)  %s\n", load,
                load <= 100.0 ? "ok" : "SLOW");
    std::printf("  save (build, print, write, replace): %6.2f ms\n", save);
    return ok ? 0 : 1;
}
