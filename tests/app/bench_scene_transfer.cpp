// The scene transfers' workers against the simulated unit, without windows:
// a save (name and store), a recall (recall and the whole read back) and a
// delete, from start to the worker's end.
// Goals: a save or a delete within 50 ms; a recall within the 100 ms of a
// connect's read, plus its one extra exchange.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "app/tuning/EqualizerManager.h"
#include "tests/support/SimUnitModel.h"

namespace {

using Clock = std::chrono::steady_clock;

// Runs the job to its end; the best time of runs in ms, or a negative value
// when a job did not start or did not end within 30 s.
double BestJobMs(EqualizerManager& controller, JobKind job, int runs)
{
    double best = 1e9;
    for (int run = 0; run < runs; ++run) {
        const Clock::time_point start = Clock::now();
        if (!controller.StartSceneJob(job, 2)) return -1;
        while (controller.IsSceneJobRunning()) {
            if (Clock::now() - start > std::chrono::seconds(30)) return -1;
            Sleep(0);
        }
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        best = ms < best ? ms : best;
    }
    return best;
}

} // namespace

int wmain()
{
    sim::SimUnit& unit = sim::SimUnit::Instance();
    unit.Reset();
    sim::UnitModel model(unit);
    unit.SetResponder(&model);
    const int runs = 10;
    double save = -1, recall = -1, erase = -1;
    size_t recallFrames = 0;
    {
        EqualizerManager controller;
        controller.Device().OpenHIDDevice();
        if (!controller.Device().IsDeviceOpen()) return 1;
        controller.Device().EnableAsyncMode();
        TuningModel& m = controller.Model();
        std::memcpy(m.sceneNameInput.data(), "ABC", 3);
        save = BestJobMs(controller, JobKind::SceneSave, runs);
        const size_t before = unit.ReceivedFrames().size();
        recall = BestJobMs(controller, JobKind::SceneLoad, runs);
        recallFrames = (unit.ReceivedFrames().size() - before) / runs;
        erase = BestJobMs(controller, JobKind::SceneDelete, runs);
        controller.Device().CloseHIDDevice(false);
    }
    unit.SetResponder(nullptr);
    if (save < 0 || recall < 0 || erase < 0) return 1;
    std::printf("scene save %.1f ms (goal <= 50), recall with read back of %u commands %.1f ms (goal <= 110), "
                "delete %.1f ms (goal <= 50), best of %d runs each\n",
                save, static_cast<unsigned>(recallFrames), recall, erase, runs);
    return 0;
}
