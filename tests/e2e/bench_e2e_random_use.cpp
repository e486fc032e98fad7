// The long fixed-seed run of random use with unplugs: actions per second,
// peak handles and threads, actions by window (every window the menus and
// buttons open must be among them), and the process's handles and memory at
// start and end.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/kit/BrisaE2E.h"
#include "tests/e2e/kit/RandomUse.h"

int main(int argc, char** argv)
{
    using namespace e2e;
    const std::string missing = MissingWindowsBuild();
    if (!missing.empty()) {
        std::printf("skipped: %s\n", missing.c_str());
        return 0;
    }
    LaunchOptions launch;
    launch.markerFiles = {"debug.ini"};
    App app(launch);
    const std::string unconnected = app.Started() ? SettleConnected(app) : app.Error();
    if (!unconnected.empty()) {
        std::printf("the program did not connect: %s\n", unconnected.c_str());
        return 1;
    }
    if (!MakeMainTooltip(app)) return 1;  // before the start count, or the end counts it
    const ProcessResources before = app.Resources();
    std::vector<std::string> objectsBefore;
    app.Request("GDIOBJECTS", &objectsBefore);
    RandomUseOptions options;
    options.seed = 2024;
    options.actions = argc > 1 ? std::atoi(argv[1]) : 2000;
    const auto start = std::chrono::steady_clock::now();
    const RandomUseResult run = RunRandomUse(app, options);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("random use: %d of %d actions in %.1f s, %.2f actions/s\n", run.done, options.actions, seconds,
                run.done / seconds);
    std::printf("peak: gdi %ld, user %ld, threads %ld\n", run.peakGdi, run.peakUser, run.peakThreads);
    std::printf("by window: %s\n", CountsText(run.byWindow).c_str());
    std::printf("by kind: %s\n", CountsText(run.byKind).c_str());
    const std::string unreached = Unreached(run.entered, run.acted);
    std::printf("windows not reached: %s\n", unreached.empty() ? "none" : unreached.c_str());
    const std::string unsettled = SettleConnected(app);
    const ProcessResources after = app.Resources();
    for (const auto& at : {std::make_pair("start", before), std::make_pair("end", after)}) {
        const ProcessResources& r = at.second;
        std::printf("%-5s: gdi %ld (image faces %ld, window images %ld, font variants %ld, DC cache %ld), user %ld, "
                    "threads %ld, replies %ld, memory %ld KiB\n",
                    at.first, r.gdi, r.faces, r.images, r.fonts, r.dcCache, r.user, r.threads, r.replies, r.memoryKiB);
    }
    std::vector<std::string> objectsAfter;
    app.Request("GDIOBJECTS", &objectsAfter);
    std::printf("window DCs and regions at start:%s\nnew at end:%s\ngone at end:%s\n",
                GdiMissing(WindowDcs(objectsBefore), {}).c_str(),
                GdiMissing(WindowDcs(objectsAfter), WindowDcs(objectsBefore)).c_str(),
                GdiMissing(WindowDcs(objectsBefore), WindowDcs(objectsAfter)).c_str());
    const std::string differs = unsettled.empty() ? ShownDiffersFromUnit(app) : "not settled: " + unsettled;
    std::printf("shown against the unit: %s\n", differs.empty() ? "agree" : differs.c_str());
    std::printf("exchanges waited on the UI thread: %s\n", app.Request("UIEXCHANGES").c_str());
    if (!run.failure.empty()) {
        std::printf("failed: %s\n", run.failure.c_str());
        for (const std::string& step : run.trail) std::printf("  %s\n", step.c_str());
    }
    return run.failure.empty() && differs.empty() && unreached.empty() && after.user == before.user ? 0 : 1;
}
