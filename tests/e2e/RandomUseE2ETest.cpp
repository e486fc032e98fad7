// A fixed-seed run of random use with unplugs, twice: every window the
// menus and buttons open is entered and acted in, the program answers throughout, the
// main window ends showing what the unit holds, and after the warm run the
// program's handles, threads and reply records are exactly where they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "tests/e2e/kit/BrisaE2E.h"
#include "tests/e2e/kit/RandomUse.h"

namespace e2e {
namespace {

const int kBoundMs = 60000;

bool Connected(App& app)
{
    return LinkShows(app, "btn_connected");
}

// GDI objects but the caches bounded by themselves: composed image faces,
// which come and go with what was drawn last, the skin images and font
// variants the windows make on first use (a state drawn for the first time,
// a check box first ticked) and hold once each, and the window DCs and
// regions, compared on their own (WindowDcsMoved).
long OwnGdi(const ProcessResources& r) { return r.gdi - r.faces - r.images - r.fonts - r.dcCache; }

// The counts once two readings in a row agree: a paint or a closing window
// still under way holds passing objects.
ProcessResources SteadyResources(App& app)
{
    ProcessResources last;
    for (int reading = 0; reading < 8; ++reading) {
        const ProcessResources now = app.Resources();
        if (now.gdi == last.gdi && now.user == last.user && now.threads == last.threads) return now;
        last = now;
    }
    return last;
}

// The window DCs still given to a window are, after the warm run, where the
// run before left them. The system's cache of given-back DCs grows to the
// most in use at once, which follows how a run's paints happened to overlap
// on a busy machine, so it is not counted: a DC never given back stays with
// its window and shows in the held count. Each DC keeps the regions
// of the last window it served (its visible and clip regions), which come and
// go with the windows a run happened to open: they are bounded by the DCs, so
// a region made and never freed soon shows past that bound. Answers what
// differs, DCs by their window; empty when nothing.
std::string WindowDcsMoved(const std::vector<std::string>& before, const std::vector<std::string>& after)
{
    const auto count = [](const std::vector<std::string>& dcs, const char* part) {
        return std::count_if(dcs.begin(), dcs.end(),
                             [&](const std::string& line) { return line.find(part) != std::string::npos; });
    };
    const std::vector<std::string> was = WindowDcs(before);
    const std::vector<std::string> is = WindowDcs(after);
    const auto moved = [&] { return "gone:" + GdiMissing(was, is) + "\nnew:" + GdiMissing(is, was); };
    const auto held = [&](const std::vector<std::string>& dcs) {
        return count(dcs, " window DC ") - count(dcs, " in the cache");
    };
    if (held(was) != held(is)) return moved();
    if (count(is, " region ") > 2 * count(is, " window DC ")) return "regions past two a DC\n" + moved();
    return "";
}

// The same fixed-seed run again and again: the runs warm what the program
// (and the system for it) makes on a window's first use until every window
// has been entered and acted in, which on a busy machine may take a run
// more; after the run that follows, the program's GDI objects (but the
// caches above), USER objects, threads and reply records are exactly where
// they were before it, whichever windows it opened, and so are the window
// DCs, with their regions within bound.
TEST(RandomUse, FixedSeedRunLeavesTheProgramAnsweringAndItsResourcesBack)
{
    E2E_SKIP_WITHOUT_WINDOWS_BUILD();
    LaunchOptions launch;
    launch.markerFiles = {"debug.ini"};
    App app(launch);
    ASSERT_TRUE(app.Started()) << app.Error();
    ASSERT_TRUE(WaitFor([&] { return Connected(app); }, kBoundMs));
    ASSERT_TRUE(MakeMainTooltip(app));
    ASSERT_TRUE(MakeEditMenu(app));

    RandomUseOptions options;
    options.seed = 24;
    options.actions = 120;
    options.plugEvery = 30;
    const int kMostRuns = 5;
    ProcessResources counts[kMostRuns];
    std::vector<std::string> gdi[kMostRuns];
    int warm = -1;  // the run after which every window had been reached
    int run = 0;
    for (; run < kMostRuns; ++run) {
        const RandomUseResult done = RunRandomUse(app, options);
        std::string trail;
        for (const std::string& step : done.trail) trail += "\n  " + step;
        std::printf("run %d by window: %s\nrun %d by kind: %s\nrun %d entered: %s\nrun %d acted in: %s\n", run,
                    CountsText(done.byWindow).c_str(), run, CountsText(done.byKind).c_str(), run,
                    CountsText(done.entered).c_str(), run, CountsText(done.acted).c_str());
        ASSERT_EQ("", done.failure) << "after " << done.done << " actions:" << trail;
        // The next run leans towards what this and the runs before reached least.
        options.entered = done.entered;
        options.acted = done.acted;
        ASSERT_EQ("", SettleConnected(app)) << trail;
        EXPECT_EQ("", ShownDiffersFromUnit(app));
        counts[run] = SteadyResources(app);
        ASSERT_GE(counts[run].threads, 0) << "the UI thread stopped answering after run " << run << ":" << trail;
        app.Request("GDIOBJECTS", &gdi[run]);
        std::printf("run %d: gdi %ld (own %ld, faces %ld, images %ld, fonts %ld, DC cache %ld), user %ld, threads %ld, "
                    "replies %ld\n",
                    run, counts[run].gdi, OwnGdi(counts[run]), counts[run].faces, counts[run].images, counts[run].fonts,
                    counts[run].dcCache, counts[run].user, counts[run].threads, counts[run].replies);
        if (warm >= 0) break;
        // The first run alone warms the caches a second run may still grow.
        if (run >= 1 && Unreached(options.entered, options.acted).empty()) warm = run;
    }
    // A window entered that closed before it took an action (a reconnect
    // closes the unit's editors) is led back to by the runs after.
    ASSERT_LT(run, kMostRuns) << "not every window reached with a run to follow: "
                              << Unreached(options.entered, options.acted);
    EXPECT_EQ(OwnGdi(counts[warm]), OwnGdi(counts[run]))
        << "gone:" << GdiMissing(gdi[warm], gdi[run]) << "\nnew:" << GdiMissing(gdi[run], gdi[warm]);
    EXPECT_EQ("", WindowDcsMoved(gdi[warm], gdi[run]));
    EXPECT_EQ(counts[warm].user, counts[run].user);
    EXPECT_EQ(counts[warm].threads, counts[run].threads);
    EXPECT_EQ(counts[warm].replies, counts[run].replies);
    EXPECT_EQ("OK 0 0", app.Request("UIEXCHANGES")) << "the UI thread waited on the unit";
}

}  // namespace
}  // namespace e2e
