// DspDevice against the simulated unit: link, queue, worker and shutdown.
#include "device/DspDevice.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "device/DeviceTiming.h"
#include "tests/support/PollUntil.h"
#include "tests/support/SimUnit.h"

namespace {

struct SeenFrame {
    uint8_t length;
    uint8_t type;
    std::vector<uint8_t> payload;
};

class RecordingHandler : public IFrameHandler {
public:
    void OnFrame(uint8_t length, uint8_t type, const uint8_t* payload) override {
        std::lock_guard<std::mutex> lock(mutex);
        frames.push_back({length, type, std::vector<uint8_t>(payload, payload + length - 1)});
    }
    std::vector<SeenFrame> Frames() {
        std::lock_guard<std::mutex> lock(mutex);
        return frames;
    }
    std::mutex mutex;
    std::vector<SeenFrame> frames;
};

class DspDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDeviceWaitScaleForTests(5);  // 10 s replies -> 500 ms, 2 s write wait -> 100 ms
        unit().Reset();
        device.SetFrameHandler(&handler);
    }
    void TearDown() override {
        unit().HoldReads(false);
        unit().HoldWrites(false);
        device.CloseHIDDevice(false);
        EXPECT_EQ(0, unit().MisusedHandleCount());
        EXPECT_EQ(0, unit().OpenHandleCount());
    }
    static sim::SimUnit& unit() { return sim::SimUnit::Instance(); }

    // Opens the device with the unit acknowledging every command.
    void OpenAcked() {
        device.OpenHIDDevice();
        unit().SetResponder(&ack);
    }
    // Opens it acknowledged with the worker running and the unit holding
    // the first write it is given.
    void OpenAsyncHeld() {
        OpenAcked();
        unit().HoldWrites(true);
        device.EnableAsyncMode();
    }

    sim::AckResponder ack;
    RecordingHandler handler;
    DspDevice device;
};

TEST_F(DspDeviceTest, OpensWithTwoFailedStringsButNotThree) {
    unit().SetFailingStrings(0x3);
    device.OpenHIDDevice();
    EXPECT_TRUE(device.IsDeviceOpen());
    device.CloseHIDDevice(false);

    unit().SetFailingStrings(0xD);
    device.OpenHIDDevice();
    EXPECT_FALSE(device.IsDeviceOpen());
    EXPECT_EQ(0, unit().OpenHandleCount()) << "a refused device is released";

    unit().SetFailingStrings(0);
    unit().SetPresent(false);
    device.OpenHIDDevice();
    EXPECT_FALSE(device.IsDeviceOpen());
}

TEST_F(DspDeviceTest, SendWritesTheFramedReport) {
    device.OpenHIDDevice();
    const uint8_t payload[] = {0x01};
    ASSERT_TRUE(device.SendCtrlCommand(1, 0x04, 0xBB, payload, 1));
    auto reports = unit().ReceivedReports();
    ASSERT_EQ(1u, reports.size());
    std::vector<uint8_t> expected{0x00, 0xAA, 0x55, 0x04, 0x01, 0x04, 0xBB, 0x01, 0x3B};
    expected.resize(65, 0);
    EXPECT_EQ(expected, reports[0]);

    uint8_t tooLong[58] = {};
    EXPECT_FALSE(device.SendCtrlCommand(1, 0x06, 0xBB, tooLong, 58));
    EXPECT_EQ(1u, unit().ReceivedReports().size());
}

TEST_F(DspDeviceTest, SendWithoutUnitFails) {
    const uint8_t payload[] = {0x01};
    EXPECT_FALSE(device.SendCtrlCommand(1, 0x04, 0xBB, payload, 1));
    EXPECT_FALSE(device.ReadHIDData(device.ReceiveBuffer(), 1000));
    EXPECT_TRUE(unit().ReceivedReports().empty());
}

TEST_F(DspDeviceTest, ReadDispatchesFramesOfOneReport) {
    device.OpenHIDDevice();
    unit().QueueInputReport({0x00, 0x00, 0xAA, 0x77, 0x55, 0x04, 0x01, 0x02, 0xDD, 0x05, 0x17});
    ASSERT_TRUE(device.ReadHIDData(device.ReceiveBuffer(), 1000));
    EXPECT_EQ(64, device.BytesRead());
    auto frames = handler.Frames();
    ASSERT_EQ(1u, frames.size());
    EXPECT_EQ(4, frames[0].length);
    EXPECT_EQ(1, frames[0].type);
    EXPECT_EQ((std::vector<uint8_t>{0x02, 0xDD, 0x05}), frames[0].payload);

    EXPECT_FALSE(device.ReadHIDData(device.ReceiveBuffer(), 1000)) << "time-out without data";
    EXPECT_EQ(0, device.BytesRead());
}

TEST_F(DspDeviceTest, OpeningDropsAPartialFrameOfTheLastConnection) {
    device.OpenHIDDevice();
    auto cut = sim::SimUnit::EncodeFrame(1, 0x06, 0xDD, std::vector<uint8_t>(50, 0x01));
    cut.resize(30);
    unit().QueueInputReport(cut);
    ASSERT_TRUE(device.ReadHIDData(device.ReceiveBuffer(), 1000));
    device.CloseHIDDevice(false);

    device.OpenHIDDevice();
    unit().QueueFrame(3, 0x08, 0xDD, {0x00, 95, 1, 25});
    ASSERT_TRUE(device.ReadHIDData(device.ReceiveBuffer(), 1000));
    auto frames = handler.Frames();
    ASSERT_EQ(1u, frames.size());
    EXPECT_EQ(3, frames[0].type);
}

TEST_F(DspDeviceTest, ReplyWaitSkipsUnsolicitedFrames) {
    device.OpenHIDDevice();
    unit().QueueFrame(1, 0x02, 0xDD, {0x00, 0x20});  // the volume knob
    unit().QueueFrame(3, 0x08, 0xDD, {0x00, 95, 1, 25});
    EXPECT_TRUE(device.ReadReply(3, 0x08, 10000));
    EXPECT_EQ(2u, handler.Frames().size()) << "the unsolicited frame is still dispatched";

    unit().QueueFrame(1, 0x02, 0xDD, {0x00, 0x21});
    EXPECT_FALSE(device.ReadReply(3, 0x08, 10000)) << "no handshake answer, no success";
    EXPECT_EQ(3u, handler.Frames().size());
}

TEST_F(DspDeviceTest, SyncSubmitWaitsForItsAnswer) {
    OpenAcked();
    const uint8_t payload[] = {0x00, 0x05};
    EXPECT_TRUE(device.Submit(1, 0x08, 0xBB, payload, 2, true));
    unit().SetResponder(nullptr);
    EXPECT_FALSE(device.Submit(1, 0x08, 0xBB, payload, 2, true)) << "silent unit";
    EXPECT_EQ(2u, unit().ReceivedReports().size());
}

// A close never waits for the unit: the read or write in progress keeps the
// handle and releases it as it ends; a read the unit does not hold ends
// within a slice or so, also when a new link opens at once.
struct CloseUnderIoCase {
    const char* name;
    bool write;
    bool held;
    bool reopen;
    bool notifyWedged;  // the close says goodbye while the unit takes no write
    bool notify = false;  // the close says goodbye, the unit taking writes
};

void PrintTo(const CloseUnderIoCase& c, std::ostream* os) { *os << c.name; }

class CloseUnderIo : public DspDeviceTest, public ::testing::WithParamInterface<CloseUnderIoCase> {};

TEST_P(CloseUnderIo, ReturnsAtOnceAndTheIoReleasesTheHandle) {
    const CloseUnderIoCase& c = GetParam();
    SetDeviceWaitScaleForTests(100);  // the read's whole 10 s
    // A few 20 ms slices, with room for a busy machine.
    const int kAtOnceMs = 300;
    device.OpenHIDDevice();
    unit().HoldReads(c.held && !c.write);
    unit().HoldWrites((c.held && c.write) || c.notifyWedged);
    std::atomic<bool> ioResult{!c.write};
    std::atomic<bool> ioDone{false};
    const uint8_t payload[] = {0x01};
    std::thread io([&] {
        ioResult = c.write ? device.SendCtrlCommand(1, 0x04, 0xBB, payload, 1)
                           : device.ReadHIDData(device.ReceiveBuffer(), 10000);
        ioDone = true;
    });
    ASSERT_TRUE(c.write ? unit().WaitForBlockedWrite(5000) : unit().WaitForBlockedRead(5000));

    std::atomic<bool> closed{false};
    std::thread closer([&] {
        device.CloseHIDDevice(c.notifyWedged || c.notify);
        if (c.reopen) device.OpenHIDDevice();
        closed = true;
    });
    EXPECT_TRUE(sim::PollUntil([&] { return closed.load(); }, kAtOnceMs)) << "the close waited for the unit";
    EXPECT_EQ(!c.held, sim::PollUntil([&] { return ioDone.load(); }, kAtOnceMs)) << "the read ends with its slice";
    EXPECT_EQ(c.held || c.reopen ? 1 : 0, unit().OpenHandleCount()) << "released under the I/O or left open";
    unit().HoldReads(false);
    unit().HoldWrites(false);
    closer.join();
    io.join();
    EXPECT_EQ(c.write, ioResult.load());
    EXPECT_TRUE(sim::PollUntil([&] { return unit().OpenHandleCount() == (c.reopen ? 1 : 0); }, 1000));
}

INSTANTIATE_TEST_SUITE_P(ReadOrWrite, CloseUnderIo,
                         ::testing::Values(CloseUnderIoCase{"read", false, true, false, false},
                                           CloseUnderIoCase{"write", true, true, false, false},
                                           CloseUnderIoCase{"silent_read", false, false, false, false},
                                           CloseUnderIoCase{"silent_read_reopen", false, false, true, false},
                                           CloseUnderIoCase{"goodbye_on_wedged_writes", false, true, false, true},
                                           CloseUnderIoCase{"goodbye_after_the_read", false, true, false, false, true}),
                         [](const ::testing::TestParamInfo<CloseUnderIoCase>& info) { return info.param.name; });

TEST_F(DspDeviceTest, SecondWriterGivesUpWhileTheFirstIsStuck) {
    device.OpenHIDDevice();
    unit().HoldWrites(true);
    const uint8_t payload[] = {0x01};
    std::thread first([&] { device.SendCtrlCommand(1, 0x04, 0xBB, payload, 1); });
    ASSERT_TRUE(unit().WaitForBlockedWrite(5000));
    EXPECT_FALSE(device.SendCtrlCommand(1, 0x09, 0xBB, payload, 1));
    unit().HoldWrites(false);
    first.join();
    auto frames = unit().ReceivedFrames();
    ASSERT_EQ(1u, frames.size());
    EXPECT_EQ(0x04, frames[0].subcommand);
}

TEST_F(DspDeviceTest, CloseWithNotifyTellsTheUnitFirst) {
    device.OpenHIDDevice();
    device.CloseHIDDevice(true);
    ASSERT_TRUE(sim::PollUntil([&] { return unit().OpenHandleCount() == 0; }, 1000));
    auto frames = unit().ReceivedFrames();
    ASSERT_EQ(1u, frames.size());
    EXPECT_EQ(3, frames[0].type);
    EXPECT_EQ(0x1F, frames[0].subcommand);
    EXPECT_EQ(0xBB, frames[0].optype);
    EXPECT_EQ((std::vector<uint8_t>{0x00}), frames[0].data);
}

TEST_F(DspDeviceTest, QueuedCommandIsDroppedWhileAsyncModeIsOff) {
    device.OpenHIDDevice();
    const uint8_t payload[] = {0x01};
    EXPECT_FALSE(device.Submit(1, 0x09, 0xBB, payload, 1, false));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_TRUE(unit().ReceivedReports().empty());
    EXPECT_TRUE(device.IsQueueIdle());
}

TEST_F(DspDeviceTest, BurstOf600ReachesTheUnitInOrder) {
    OpenAcked();
    device.EnableAsyncMode();
    for (int i = 0; i < 600; ++i) {
        const uint8_t payload[] = {static_cast<uint8_t>(i >> 8), static_cast<uint8_t>(i)};
        ASSERT_TRUE(device.Submit(1, 0x08, 0xBB, payload, 2, false));
    }
    ASSERT_TRUE(sim::PollUntil([&] { return device.IsQueueIdle(); }, 60000));
    auto frames = unit().ReceivedFrames();
    ASSERT_EQ(600u, frames.size());
    for (int i = 0; i < 600; ++i) {
        ASSERT_EQ(2u, frames[i].data.size());
        ASSERT_EQ(i, (frames[i].data[0] << 8) | frames[i].data[1]) << "position " << i;
    }
    device.DisableAsyncMode();
}

TEST_F(DspDeviceTest, IdleOnlyWhenEveryQueuedCommandIsDone) {
    OpenAsyncHeld();
    const uint8_t payload[] = {0x01};
    ASSERT_TRUE(device.Submit(1, 0x09, 0xBB, payload, 1, false));
    EXPECT_FALSE(device.IsQueueIdle());
    ASSERT_TRUE(unit().WaitForBlockedWrite(5000));
    ASSERT_TRUE(device.Submit(1, 0x0A, 0xBB, payload, 1, false));
    EXPECT_FALSE(device.IsQueueIdle());
    unit().HoldWrites(false);
    ASSERT_TRUE(sim::PollUntil([&] { return device.IsQueueIdle(); }, 10000));
    EXPECT_EQ(2u, unit().ReceivedReports().size());
    device.DisableAsyncMode();
}

TEST_F(DspDeviceTest, NothingReachesTheUnitAfterDisableAsyncMode) {
    OpenAsyncHeld();
    const uint8_t payload[] = {0x01};
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(device.Submit(1, 0x09, 0xBB, payload, 1, false));
    ASSERT_TRUE(unit().WaitForBlockedWrite(5000));

    std::atomic<bool> switched{false};
    std::atomic<bool> waited{false};
    std::thread job([&] {
        device.DisableAsyncMode();
        switched = true;
        device.WaitCommandInProgress();
        waited = true;
    });
    // The unit holds its write until released below: a switch that waited for it never comes.
    EXPECT_TRUE(sim::PollUntil([&] { return switched.load(); }, 5000)) << "the switch itself never waits for the unit";
    EXPECT_FALSE(waited) << "the job waits for the command in progress";
    unit().HoldWrites(false);
    job.join();
    size_t sent = unit().ReceivedReports().size();
    EXPECT_EQ(1u, sent);
    ASSERT_TRUE(sim::PollUntil([&] { return device.IsQueueIdle(); }, 1000));
    EXPECT_EQ(sent, unit().ReceivedReports().size());
}

// "AA 55 L type payload checksum" with any L, also the ones no command makes.
std::vector<uint8_t> RawFrame(uint8_t length, uint8_t type, const std::vector<uint8_t>& payload) {
    std::vector<uint8_t> bytes = {0xAA, 0x55, length, type};
    uint8_t sum = static_cast<uint8_t>(length + type);
    for (uint8_t b : payload) {
        bytes.push_back(b);
        sum = static_cast<uint8_t>(sum + b);
    }
    bytes.push_back(static_cast<uint8_t>(-sum));
    return bytes;
}

struct ShortFrameCase {
    const char* name;
    uint8_t length;
    std::vector<uint8_t> payload;
    bool answers;
};

void PrintTo(const ShortFrameCase& c, std::ostream* os) { *os << c.name; }

class ReplyWaitFrameLength : public DspDeviceTest, public ::testing::WithParamInterface<ShortFrameCase> {};

TEST_P(ReplyWaitFrameLength, OnlyAFrameWithSubcommandAndOptypeAnswers) {
    const ShortFrameCase& c = GetParam();
    device.OpenHIDDevice();
    // Another type's frame of the awaited subcommand first: its byte stays in the
    // parser's payload, where a frame too short to overwrite it would find it.
    unit().QueueFrame(1, 0x08, 0xDD, {0x00});
    unit().QueueInputReport(RawFrame(c.length, 3, c.payload));
    EXPECT_EQ(c.answers, device.ReadReply(3, 0x08, 1000)) << c.name;
    EXPECT_EQ(2u, handler.Frames().size()) << "both frames are still dispatched";
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, ReplyWaitFrameLength,
    ::testing::Values(ShortFrameCase{"type only", 1, {}, false},
                      ShortFrameCase{"subcommand without optype", 2, {0x08}, false},
                      ShortFrameCase{"subcommand and optype", 3, {0x08, 0xEE}, true}),
    [](const ::testing::TestParamInfo<ShortFrameCase>& info) { return "L" + std::to_string(info.param.length); });

// Pulls the unit out as soon as it has taken a command.
class VanishingResponder : public sim::IResponder {
public:
    void OnCommand(const sim::Frame&, sim::SimUnit& unit) override { unit.SetPresent(false); }
};

class UnplugDuringCommand : public DspDeviceTest, public ::testing::WithParamInterface<bool> {};

TEST_P(UnplugDuringCommand, TheWaitEndsWithoutRetryingUntilTheTimeOut) {
    const bool queued = GetParam();
    VanishingResponder vanish;
    device.OpenHIDDevice();
    unit().SetResponder(&vanish);
    const uint8_t payload[] = {0x01};
    if (queued) {
        device.EnableAsyncMode();
        ASSERT_TRUE(device.Submit(1, 0x09, 0xBB, payload, 1, false));
        ASSERT_TRUE(sim::PollUntil([&] { return !unit().IsPresent(); }, 5000));
        // What a job does on the unplug: it waits for the command in progress.
        device.DisableAsyncMode();
        device.WaitCommandInProgress();
        EXPECT_TRUE(sim::PollUntil([&] { return device.IsQueueIdle(); }, 1000));
    } else {
        EXPECT_FALSE(device.Submit(1, 0x09, 0xBB, payload, 1, true));
    }
    EXPECT_EQ(1u, unit().ReceivedReports().size());
    EXPECT_GE(unit().ReadAttemptCount(), 1);
    EXPECT_LE(unit().ReadAttemptCount(), DspDevice::kFailedReadsBeforeGone);
    unit().SetResponder(nullptr);
}

INSTANTIATE_TEST_SUITE_P(SyncOrQueued, UnplugDuringCommand, ::testing::Values(false, true));

TEST(DspDeviceLifetime, DestructionSendsTheCommandInProgressAndDiscardsTheRest) {
    SetDeviceWaitScaleForTests(5);
    auto& unit = sim::SimUnit::Instance();
    unit.Reset();
    sim::AckResponder ack;
    unit.SetResponder(&ack);
    auto* device = new DspDevice;
    device->OpenHIDDevice();
    unit.HoldWrites(true);
    device->EnableAsyncMode();
    const uint8_t payload[] = {0x01, 0x02, 0x03};
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(device->Submit(1, 0x06, 0xBB, payload, 3, false));
    ASSERT_TRUE(unit.WaitForBlockedWrite(5000));

    std::atomic<bool> destroyed{false};
    std::thread destroyer([&] {
        delete device;
        destroyed = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(destroyed) << "the command in progress finishes first";
    unit.HoldWrites(false);
    destroyer.join();
    EXPECT_EQ(1u, unit.ReceivedReports().size());
    EXPECT_EQ(1, unit.OpenHandleCount()) << "destruction leaves closing to the owner";
    EXPECT_EQ(0, unit.MisusedHandleCount());
    unit.Reset();
}

}  // namespace
