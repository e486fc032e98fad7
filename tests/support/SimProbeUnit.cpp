// The probe's requests that steer the simulated unit and read the process.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <utility>

#include "device/DeviceTiming.h"
#include "device/DspRecords.h"
#include "tests/support/ProcessResources.h"
#include "tests/support/PushThreadGuard.h"
#include "tests/support/SimProbe.h"
#include "tests/support/SimProgramUnit.h"
#include "uilib/core/ScaledImageCache.h"
#include "uilib/core/UIManager.h"

namespace sim {

namespace {

// The simulated program holds its command queue to the UI thread.
[[maybe_unused]] const bool gPushGuardInstalled = (InstallPushThreadGuard(), true);

std::string Hex(uint8_t byte) {
    char text[3];
    std::snprintf(text, sizeof(text), "%02x", byte);
    return text;
}

std::string FrameLine(const Frame& frame) {
    std::string line = Hex(frame.type) + " " + Hex(frame.subcommand) + " " + Hex(frame.optype) + " ";
    for (uint8_t byte : frame.data) line += Hex(byte);
    return line + " @" + std::to_string(frame.atMs);
}

class ParamLines {
public:
    void Add(const std::string& key, long value) { lines.push_back(key + "=" + std::to_string(value)); }
    std::vector<std::string> lines;
};

void AddScene(ParamLines& out, const SceneParams& scene) {
    for (int ch = 0; ch < kOutputs; ++ch) {
        const OutputChannel& o = scene.out[ch];
        const std::string p = "out" + std::to_string(ch) + ".";
        out.Add(p + "gain", o.gainDb);
        out.Add(p + "mute", o.mute);
        out.Add(p + "phase", o.phase);
        out.Add(p + "solo", o.solo);
        out.Add(p + "delay", static_cast<long>(o.delayMicros));
        out.Add(p + "type", o.type);
        out.Add(p + "eqbypass", o.eqBypass);
        out.Add(p + "comp", o.compressorOn);
        const FilterSide* sides[] = {&o.highPass, &o.lowPass};
        const char* sideNames[] = {"hp.", "lp."};
        for (int s = 0; s < 2; ++s) {
            out.Add(p + sideNames[s] + "type", sides[s]->type);
            out.Add(p + sideNames[s] + "freq", sides[s]->freqHz);
            out.Add(p + sideNames[s] + "slope", sides[s]->slope);
        }
        for (int b = 0; b < EqBandCount(ch); ++b) {
            const std::string q = p + "eq" + std::to_string(b) + ".";
            out.Add(q + "freq", o.eq[b].freqHz);
            out.Add(q + "q", o.eq[b].qHundredths);
            out.Add(q + "gain", o.eq[b].gainTenthsDb);
        }
    }
    out.Add("linkmode", scene.linkMode);
    out.Add("lock", scene.lock);
    for (int i = 0; i < kInputs; ++i) out.Add("in" + std::to_string(i) + ".phase", scene.inputPhase[i]);
}

std::string Params(const UnitState& state, int scene) {
    ParamLines out;
    out.Add("model", state.identity.model);
    out.Add("fw.main", state.identity.master);
    out.Add("fw.slave", state.identity.slave);
    out.Add("pcconnected", state.pcConnected ? 1 : 0);
    out.Add("scene", state.currentScene);
    out.Add("source", state.unit.source);
    out.Add("mainvolume", state.unit.mainVolumeDb);
    out.Add("subvolume", state.unit.subVolumeDb);
    out.Add("mute", state.unit.mute);
    for (int s = 1; s < kScenes; ++s) out.Add("store" + std::to_string(s) + ".valid", state.store[s].valid);
    AddScene(out, state.scene[scene]);
    return ProbeList(out.lines);
}

// The working set in KiB, -1 when it cannot be read.
long WorkingSetKiB() {
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof(memory);
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory))) return -1;
    return static_cast<long>(memory.WorkingSetSize / 1024);
}

// What the skin's windows hold on first use and keep while they live: skin
// images loaded (shared or by a window) and fonts made on demand.
void WindowCaches(long* images, long* fonts) {
    *images = SkinUI::CPaintManagerUI::SharedImageCount();
    *fonts = 0;
    for (int i = 0; i < SkinUI::CPaintManagerUI::LiveManagerCount(); ++i) {
        SkinUI::CPaintManagerUI* manager = SkinUI::CPaintManagerUI::LiveManagerAt(i);
        if (manager == nullptr) continue;
        *images += manager->ImageCount();
        *fonts += manager->FontVariants().Count();
    }
}

}  // namespace

// Counted on the UI thread between two messages, so that no paint in
// progress adds its passing objects.
std::string ProbeResources() {
    const ProcessCounts counts = CountProcessResources();
    long images = 0, fonts = 0;
    WindowCaches(&images, &fonts);
    return "OK gdi=" + std::to_string(counts.gdi) + "\tuser=" + std::to_string(counts.user) +
           "\tthreads=" + std::to_string(counts.threads) +
           "\treplies=" + std::to_string(dsp::LiveDspRecordCount()) + "\tmemory=" + std::to_string(WorkingSetKiB()) +
           "\tfaces=" + std::to_string(SkinUI::CScaledImageCache::CachedFaces()) +
           "\timages=" + std::to_string(images) + "\tfonts=" + std::to_string(fonts) +
           "\tdccache=" + std::to_string(counts.dcCache) + "\n";
}

std::string ProbeUnitAnswer(const std::vector<std::string>& words) {
    const std::string& request = words[0];
    LoaderUnitModel& model = ProgramUnit();
    long a = 0;
    long b = 0;
    if (request == "UNPLUG" || request == "PLUG") {
        if (request == "PLUG") model.Return();
        else model.Vanish();
        return "OK\n";
    }
    if (request == "MODEL") {
        if (!ProbeNumber(words, 1, 0, 255, &a)) return ProbeError("MODEL <0..255>");
        model.Access()->identity.model = static_cast<uint8_t>(a);
        return "OK\n";
    }
    if (request == "FIRMWARE") {
        if (!ProbeNumber(words, 1, 0, 255, &a) || !ProbeNumber(words, 2, 0, 255, &b)) {
            return ProbeError("FIRMWARE <main> <slave>");
        }
        auto state = model.Access();
        state->identity.master = static_cast<uint8_t>(a);
        state->identity.slave = static_cast<uint8_t>(b);
        return "OK\n";
    }
    if (request == "SOURCE") {
        if (!ProbeNumber(words, 1, 0, kSources - 1, &a)) return ProbeError("SOURCE <0..8>");
        model.Access()->unit.source = static_cast<uint8_t>(0x51 + a);
        return "OK\n";
    }
    if (request == "LINK") {
        if (!ProbeNumber(words, 1, 0, 1, &a)) return ProbeError("LINK 0|1");
        auto state = model.Access();
        state->scene[0].linkMode = static_cast<uint8_t>(a);
        state->scene[0].lock = static_cast<uint8_t>(a);
        return "OK\n";
    }
    if (request == "EQGAIN") {
        // A band gain changed in the live scene behind the program's back.
        long value = 0;
        if (!ProbeNumber(words, 1, 0, kOutputs - 1, &a) || !ProbeNumber(words, 2, 0, EqBandCount(static_cast<int>(a)) - 1, &b) ||
            !ProbeNumber(words, 3, -180, 120, &value)) {
            return ProbeError("EQGAIN <output> <band> <tenths>");
        }
        model.Access()->scene[0].out[a].eq[b].gainTenthsDb = static_cast<int16_t>(value);
        return "OK\n";
    }
    if (request == "KNOB") {
        if (!ProbeNumber(words, 1, -128, 127, &a)) return ProbeError("KNOB <-128..127>");
        model.TurnVolumeKnob(static_cast<int8_t>(a));
        return "OK\n";
    }
    if (request == "SILENT") {
        if (!ProbeNumber(words, 1, 0, 1, &a)) return ProbeError("SILENT 0|1");
        model.SetSilent(a != 0);
        return "OK\n";
    }
    if (request == "HOLDWRITES") {
        // Commands wait on the bus, unanswered, until released; with a count,
        // only once that many more have passed.
        long after = 0;
        if (!ProbeNumber(words, 1, 0, 1, &a) || (words.size() > 2 && !ProbeNumber(words, 2, 0, 0x7FFFFFFF, &after)))
            return ProbeError("HOLDWRITES 0|1 [after]");
        SimUnit::Instance().HoldWrites(a != 0, static_cast<size_t>(after));
        return "OK\n";
    }
    if (request == "HELDWRITES") return "OK " + std::to_string(SimUnit::Instance().BlockedWrites()) + "\n";
    if (request == "HOLDREADS") {
        // Reads wait, given nothing, until released: a reply's wait held open.
        if (!ProbeNumber(words, 1, 0, 1, &a)) return ProbeError("HOLDREADS 0|1");
        SimUnit::Instance().HoldReads(a != 0);
        return "OK\n";
    }
    if (request == "HELDREADS") return "OK " + std::to_string(SimUnit::Instance().BlockedReads()) + "\n";
    if (request == "READFAIL") {
        SimUnit::Instance().FailReads();
        return "OK\n";
    }
    if (request == "FAULTAT") {
        static const std::pair<const char*, UnitModel::CommandFault> kFaults[] = {
            {"UNPLUG", UnitModel::CommandFault::Vanish},
            {"SILENT", UnitModel::CommandFault::Silent},
            {"WRITEFAIL", UnitModel::CommandFault::FailWrites},
            {"WRITEFAILONCE", UnitModel::CommandFault::FailOneWrite},
            {"READFAIL", UnitModel::CommandFault::FailReads}};
        for (const auto& fault : kFaults) {
            if (words.size() > 2 && words[2] == fault.first && ProbeNumber(words, 1, 0, 0x7FFFFFFF, &a)) {
                model.FailAtCommand(static_cast<int>(a), fault.second);
                return "OK\n";
            }
        }
        return ProbeError("FAULTAT <n> UNPLUG|SILENT|WRITEFAIL|WRITEFAILONCE|READFAIL");
    }
    if (request == "MARK") return "OK " + std::to_string(SimUnit::Instance().ReceivedFrames().size()) + "\n";
    if (request == "FRAMES") {
        if (!ProbeNumber(words, 1, 0, 0x7FFFFFFF, &a)) return ProbeError("FRAMES <mark>");
        const std::vector<Frame> frames = SimUnit::Instance().ReceivedFrames();
        std::vector<std::string> lines;
        for (size_t i = static_cast<size_t>(a); i < frames.size(); ++i) lines.push_back(FrameLine(frames[i]));
        return ProbeList(lines);
    }
    if (request == "PARAMS") {
        if (!ProbeNumber(words, 1, 0, kScenes - 1, &a)) return ProbeError("PARAMS <0..10>");
        return Params(model.Snapshot(), static_cast<int>(a));
    }
    if (request == "PUSHES") {
        const PushCounts counts = GuardedPushes();
        return "OK " + std::to_string(counts.pushed) + " " + std::to_string(counts.offUiThread) + "\n";
    }
    if (request == "UIEXCHANGES") {
        const PushCounts counts = GuardedPushes();
        return "OK " + std::to_string(counts.waitedOnUiThread) + " " +
               std::to_string(counts.lastWaitedSubcommand) + "\n";
    }
    if (request == "WAITSCALE") {
        if (!ProbeNumber(words, 1, 1, 100, &a)) return ProbeError("WAITSCALE <1..100>");
        SetDeviceWaitScaleForTests(static_cast<uint32_t>(a));
        return "OK\n";
    }
    if (request == "VANISHAT") {
        if (!ProbeNumber(words, 1, -1, 0x7FFFFFFF, &a)) return ProbeError("VANISHAT <block|-1>");
        LoaderFaults faults;
        faults.vanishAtBlock = static_cast<int>(a);
        model.SetFaults(faults);
        return "OK\n";
    }
    if (request == "PACE") {
        if (!ProbeNumber(words, 1, 0, 1000, &a)) return ProbeError("PACE <0..1000 ms>");
        model.SetBlockPace(static_cast<unsigned>(a));
        return "OK\n";
    }
    return std::string();
}

}  // namespace sim
