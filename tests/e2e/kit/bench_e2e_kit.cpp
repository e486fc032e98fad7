// What an end-to-end test pays for the kit: a program start up to its first
// window, one probe request, one real click until the unit has the frame,
// and one screenshot with its painting check.
#include <chrono>
#include <cstdio>

#include "tests/e2e/kit/BrisaE2E.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main() {
    using namespace e2e;
    const std::string missing = MissingWindowsBuild();
    if (!missing.empty()) {
        std::printf("skipped: %s\n", missing.c_str());
        return 0;
    }
    LaunchOptions options;
    options.program = "BrisaKitHost.exe";
    auto start = Clock::now();
    App app(options);
    if (!app.Started() || !WaitFor([&] { return app.Window("Kit Host").visible; })) {
        std::printf("the host did not start: %s\n", app.Error().c_str());
        return 1;
    }
    std::printf("start to visible window (first start, prefix copy and Xvfb included): %.0f ms\n", MsSince(start));

    constexpr int kQueries = 200;
    start = Clock::now();
    for (int i = 0; i < kQueries; ++i) app.Control("send_btn");
    std::printf("CONTROL request: %.2f ms each (%d)\n", MsSince(start) / kQueries, kQueries);

    constexpr int kClicks = 10;
    start = Clock::now();
    for (int i = 0; i < kClicks; ++i) {
        const size_t mark = app.Mark();
        app.Click("send_btn");
        WaitFor([&] { return !app.FramesSince(mark).empty(); });
    }
    std::printf("click until the unit has the frame: %.0f ms each (%d)\n", MsSince(start) / kClicks, kClicks);

    const std::string png = app.WorkDir() + "/bench.png";
    start = Clock::now();
    app.Screenshot("Kit Host", png);
    const bool painted = CheckPainting(png).painted;
    std::printf("screenshot and painting check: %.0f ms (%s)\n", MsSince(start), painted ? "painted" : "NOT painted");

    start = Clock::now();
    app.Resources();
    std::printf("RESOURCES request (handle tables scanned under Wine): %.0f ms\n", MsSince(start));

    start = Clock::now();
    App second(options);
    WaitFor([&] { return second.Window("Kit Host").visible; });
    std::printf("second start to visible window (warm prefix): %.0f ms\n", MsSince(start));
    return painted ? 0 : 1;
}
