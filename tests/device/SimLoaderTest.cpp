// The simulated unit's loader side driven with raw reports through the hidapi
// C interface: exact answers, refusals, and the restarts between the
// application and the loader.
#include "tests/support/SimLoader.h"
#include "tests/support/PollUntil.h"
#include "tests/support/RawDeviceTest.h"

#include <gtest/gtest.h>
#include <hidapi.h>

#include <vector>

#include "device/FrameCodec.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint8_t kMcu = 0x03;
constexpr uint8_t kFlash = 0x02;

class SimLoaderTest : public sim::RawDeviceTest<sim::LoaderUnitModel> {
protected:
    // One command and its one answer (empty: none).
    Bytes Ask(uint8_t type, uint8_t sub, const Bytes& data) {
        uint8_t report[dsp::kOutputReportSize];
        EXPECT_TRUE(dsp::BuildOutputReport(type, sub, dsp::OP_SET, data.data(),
                                           static_cast<uint8_t>(data.size()), report));
        EXPECT_EQ(65, hid_write(device, report, sizeof report));
        uint8_t buffer[dsp::kInputReportSize];
        const int count = hid_read_timeout(device, buffer, sizeof buffer, 20);
        return count > 0 ? Bytes(buffer, buffer + count) : Bytes();
    }
    static Bytes Answer(uint8_t type, uint8_t sub, uint8_t code) {
        return Report(sim::SimUnit::EncodeFrame(type, sub, dsp::OP_ACK, {code}));
    }
    static Bytes McuBlock(uint32_t offset) {
        Bytes b = {uint8_t(offset >> 24), uint8_t(offset >> 16), uint8_t(offset >> 8), uint8_t(offset)};
        b.resize(36, 0xC3);
        return b;
    }
    // The handshake's status byte: 00 application, F0 loader.
    uint8_t HandshakeStatus() {
        const Bytes answer = Ask(kMcu, 0x08, {});
        return answer.size() > 6 ? answer[6] : 0xFF;
    }
};

TEST_F(SimLoaderTest, LoaderAnswersCarryTheUnitsBytes) {
    model.SetLoaderMode(true);
    EXPECT_EQ(Report({0xAA, 0x55, 0x04, 0x03, 0x01, 0xEE, 0x0A, 0x00}), Ask(kMcu, 0x01, {}));
    EXPECT_EQ(Report({0xAA, 0x55, 0x04, 0x03, 0x02, 0xEE, 0x0A, 0xFF}), Ask(kMcu, 0x02, {1, 2, 3, 4}));
    EXPECT_EQ(Report({0xAA, 0x55, 0x04, 0x03, 0x03, 0xEE, 0x0A, 0xFE}), Ask(kMcu, 0x03, McuBlock(32)));
    EXPECT_EQ(Report({0xAA, 0x55, 0x04, 0x02, 0x03, 0xEE, 0x0A, 0xFF}), Ask(kFlash, 0x03, {5, 6, 7, 8}));
    EXPECT_EQ(Report({0xAA, 0x55, 0x04, 0x02, 0x04, 0xEE, 0x0A, 0xFE}),
              Ask(kFlash, 0x04, {0, 0, 0, 0, 2, 0x11, 0x22}));
    EXPECT_EQ(Answer(kFlash, 0x05, 0x0A), Ask(kFlash, 0x05, {}));

    const sim::ReceivedImage dsp = model.DspImage();
    EXPECT_EQ(dsp.startParams, Bytes({5, 6, 7, 8}));
    EXPECT_EQ(dsp.bytes, Bytes({0x11, 0x22}));
    EXPECT_TRUE(dsp.finished);
    EXPECT_EQ(model.McuImage().blockOffsets, std::vector<uint32_t>({32}));
}

TEST_F(SimLoaderTest, RefusesWhatDoesNotFitTheUpgrade) {
    // The application takes no image.
    EXPECT_EQ(Answer(kMcu, 0x02, 0x60), Ask(kMcu, 0x02, {1, 2, 3, 4}));
    EXPECT_EQ(Answer(kFlash, 0x03, 0x60), Ask(kFlash, 0x03, {1, 2, 3, 4}));

    model.SetLoaderMode(true);
    EXPECT_EQ(Answer(kMcu, 0x01, 0x0A), Ask(kMcu, 0x01, {}));
    EXPECT_EQ(Answer(kMcu, 0x03, 0x60), Ask(kMcu, 0x03, McuBlock(0))) << "block before the start";
    EXPECT_EQ(Answer(kMcu, 0x02, 0x60), Ask(kMcu, 0x02, {1, 2, 3})) << "start parameters are 4 bytes";
    EXPECT_EQ(Answer(kMcu, 0x02, 0x0A), Ask(kMcu, 0x02, {1, 2, 3, 4}));
    Bytes shortBlock = McuBlock(0);
    shortBlock.pop_back();
    EXPECT_EQ(Answer(kMcu, 0x03, 0x60), Ask(kMcu, 0x03, shortBlock));
    EXPECT_EQ(Answer(kMcu, 0x03, 0x60), Ask(kMcu, 0x03, McuBlock(0x100000))) << "beyond any image";
    EXPECT_EQ(Answer(kFlash, 0x04, 0x60), Ask(kFlash, 0x04, {0, 0, 0, 0, 1, 9})) << "not the DSP's turn";

    EXPECT_EQ(Answer(kFlash, 0x03, 0x0A), Ask(kFlash, 0x03, {1, 2, 3, 4}));
    EXPECT_EQ(Answer(kFlash, 0x04, 0x60), Ask(kFlash, 0x04, {0, 0, 0, 0, 3, 1, 2})) << "count mismatch";
    Bytes tooLong = {0, 0, 0, 0, 51};
    tooLong.resize(5 + 51, 7);
    EXPECT_EQ(Answer(kFlash, 0x04, 0x60), Ask(kFlash, 0x04, tooLong));
    EXPECT_TRUE(model.DspImage().blockOffsets.empty());
    EXPECT_TRUE(model.McuImage().blockOffsets.empty());
}

TEST_F(SimLoaderTest, RestartsIntoTheLoaderAndBackIntoTheApplication) {
    model.SetLoaderRestartDelay(100);
    EXPECT_EQ(HandshakeStatus(), 0x00);
    EXPECT_EQ(Answer(kMcu, 0x01, 0x0A), Ask(kMcu, 0x01, {}));
    // The answer was read: the unit drops off the bus and comes back as its loader.
    ASSERT_TRUE(sim::PollUntil([] { return !unit().IsPresent(); }, 2000));
    uint8_t buffer[dsp::kInputReportSize];
    EXPECT_EQ(-1, hid_read_timeout(device, buffer, sizeof buffer, 0));
    hid_close(device);
    // Opened meanwhile, it is found once it is back, as its loader.
    device = hid_open(0x0483, 0x5750, nullptr);
    ASSERT_NE(nullptr, device);
    EXPECT_TRUE(unit().IsPresent());
    EXPECT_EQ(HandshakeStatus(), 0xF0);
    EXPECT_EQ(model.LoaderRestarts(), 1);

    // Already in upgrade mode: start, one block, finish (not answered), reboot.
    EXPECT_EQ(Answer(kMcu, 0x02, 0x0A), Ask(kMcu, 0x02, {1, 2, 3, 4}));
    EXPECT_EQ(Answer(kMcu, 0x03, 0x0A), Ask(kMcu, 0x03, McuBlock(0)));
    EXPECT_TRUE(Ask(kMcu, 0x04, {}).empty());
    EXPECT_TRUE(model.McuImage().finished);
    ASSERT_TRUE(sim::PollUntil([] { return !unit().IsPresent(); }, 2000));
    ASSERT_TRUE(sim::PollUntil([] { return unit().IsPresent(); }, 2000));
    hid_close(device);
    device = hid_open(0x0483, 0x5750, nullptr);
    ASSERT_NE(nullptr, device);
    EXPECT_EQ(HandshakeStatus(), 0x00);
    EXPECT_EQ(model.LoaderRestarts(), 2);
}

TEST_F(SimLoaderTest, BlockFaultsAnswerNotReadyOrVanish) {
    model.SetLoaderMode(true);
    sim::LoaderFaults faults;
    faults.notReadyBlock = 0;
    faults.vanishAtBlock = 1;
    model.SetFaults(faults);
    EXPECT_EQ(Answer(kMcu, 0x01, 0x0A), Ask(kMcu, 0x01, {}));
    EXPECT_EQ(Answer(kMcu, 0x02, 0x0A), Ask(kMcu, 0x02, {1, 2, 3, 4}));
    EXPECT_EQ(Answer(kMcu, 0x03, 0x60), Ask(kMcu, 0x03, McuBlock(32)));
    uint8_t buffer[dsp::kInputReportSize];
    ASSERT_EQ(64, hid_read_timeout(device, buffer, sizeof buffer, 20));
    EXPECT_EQ(Answer(kMcu, 0x03, 0x0A), Bytes(buffer, buffer + 64)) << "ready follows on its own";

    uint8_t report[dsp::kOutputReportSize];
    const Bytes block = McuBlock(0);
    ASSERT_TRUE(dsp::BuildOutputReport(kMcu, 0x03, dsp::OP_SET, block.data(), 36, report));
    EXPECT_EQ(65, hid_write(device, report, sizeof report));
    EXPECT_FALSE(unit().IsPresent());
    EXPECT_EQ(-1, hid_read_timeout(device, buffer, sizeof buffer, 20));
    EXPECT_EQ(model.McuImage().blockOffsets, std::vector<uint32_t>({32}));
}

}  // namespace
