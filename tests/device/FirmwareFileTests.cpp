#include "device/FirmwareFile.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/device/FirmwareImageBuilder.h"

namespace {

using fwtest::DspImage;
using fwtest::kModelId;
using fwtest::McuImage;
using fwtest::MergedFile;
using fwtest::Pattern;
using fwtest::TestImage;

uint32_t Mcu(const std::vector<uint8_t>& f, FirmwareFile* out, UpgradeKind kind = UPG_KIND_MCU) {
    return ParseMcuFile(f.data(), f.size(), kModelId, kind, out);
}

uint32_t Flash(const std::vector<uint8_t>& f, FirmwareFile* out) {
    return ParseFlashFile(f.data(), f.size(), kModelId, out);
}

uint32_t Merged(const std::vector<uint8_t>& f, FirmwareFile* out) {
    return ParseMergedFile(f.data(), f.size(), kModelId, out);
}

void ExpectRefused(const FirmwareFile& out, FirmwareFault fault) {
    EXPECT_EQ(out.kind, UPG_KIND_NONE);
    EXPECT_EQ(out.fault, fault);
    EXPECT_TRUE(out.mcu.bytes.empty());
    EXPECT_TRUE(out.dsp.bytes.empty());
}

TEST(FirmwareChecksum, SumsBytesWithWrapAround) {
    const uint8_t bytes[] = {0x01, 0x02, 0xFF, 0x80};
    EXPECT_EQ(FirmwareChecksum(bytes, 4), 0x182u);
    EXPECT_EQ(FirmwareChecksum(bytes, 0), 0u);
    // 0xFF * 16843010 = 2^32 + 254
    const std::vector<uint8_t> big(16843010, 0xFF);
    EXPECT_EQ(FirmwareChecksum(big.data(), big.size()), 254u);
}

TEST(McuFile, AcceptedImageCarriesItsFields) {
    TestImage t;
    const std::vector<uint8_t> file = t.Build();
    FirmwareFile out;
    ASSERT_EQ(Mcu(file, &out), UPG_OK);
    EXPECT_EQ(out.kind, UPG_KIND_MCU);
    EXPECT_EQ(out.fault, FirmwareFault::None);
    EXPECT_EQ(out.mcu.bytes, t.payload);  // neither header nor trailer
    EXPECT_EQ(out.mcu.firmwareId, 1);
    EXPECT_EQ(out.mcu.modelId, kModelId);
    const uint8_t params[4] = {0x11, 0x22, 0x33, 0x44};
    EXPECT_EQ(0, memcmp(out.mcu.startParams, params, 4));
    EXPECT_EQ(out.mcu.fileSize, file.size());
    EXPECT_EQ(out.mcu.storedChecksum, out.mcu.computedChecksum);
    EXPECT_EQ(out.mcu.storedChecksum, FirmwareChecksum(file.data(), file.size() - 4));
    EXPECT_TRUE(out.dsp.bytes.empty());

    ASSERT_EQ(Mcu(file, &out, UPG_KIND_LOADER), UPG_OK);
    EXPECT_EQ(out.kind, UPG_KIND_LOADER);
    EXPECT_EQ(Mcu(file, &out, UPG_KIND_DSP), UPG_START_FAIL);
    EXPECT_EQ(out.kind, UPG_KIND_NONE);
}

TEST(McuFile, ChecksumCoversEverythingBeforeIt) {
    const std::vector<uint8_t> good = McuImage();
    const size_t n = good.size();
    // The stored sum, an image byte, a start parameter and a trailing byte.
    for (size_t at : {n - 1, n - 4, size_t(10), size_t(3), n - 6}) {
        std::vector<uint8_t> f = good;
        f[at] ^= 0x01;
        FirmwareFile out;
        EXPECT_EQ(Mcu(f, &out), UPG_FILE_INVALID) << "byte " << at;
        ExpectRefused(out, FirmwareFault::Checksum);
        EXPECT_NE(out.mcu.storedChecksum, out.mcu.computedChecksum);
    }
}

TEST(McuFile, IdsMustMatch) {
    TestImage t;
    t.modelId = 94;
    FirmwareFile out;
    EXPECT_EQ(Mcu(t.Build(), &out), UPG_FILE_INVALID);
    ExpectRefused(out, FirmwareFault::ModelId);
    EXPECT_EQ(out.mcu.modelId, 94);

    t.modelId = kModelId;
    t.firmwareId = 2;
    EXPECT_EQ(Mcu(t.Build(), &out), UPG_FILE_INVALID);
    ExpectRefused(out, FirmwareFault::FirmwareId);
    EXPECT_EQ(out.mcu.firmwareId, 2);
}

TEST(McuFile, SizeLimits) {
    FirmwareFile out;
    // Largest standalone file is 1 MiB, image overhead included.
    EXPECT_EQ(Mcu(McuImage(0x100000 - 14), &out), UPG_OK);
    EXPECT_EQ(out.mcu.bytes.size(), 0x100000u - 14);
    EXPECT_EQ(Mcu(McuImage(0x100000 - 13), &out), UPG_FILE_INVALID);
    ExpectRefused(out, FirmwareFault::FileTooLarge);
    // One image byte is the least; shorter files would underflow the size.
    EXPECT_EQ(Mcu(McuImage(1), &out), UPG_OK);
    EXPECT_EQ(out.mcu.bytes.size(), 1u);
    const std::vector<uint8_t> noImage = McuImage(0);
    for (size_t n = 0; n <= noImage.size(); ++n) {
        EXPECT_EQ(ParseMcuFile(noImage.data(), n, kModelId, UPG_KIND_MCU, &out), UPG_FILE_INVALID) << n;
        ExpectRefused(out, FirmwareFault::ImageTooShort);
    }
    EXPECT_EQ(ParseMcuFile(nullptr, 0, kModelId, UPG_KIND_MCU, &out), UPG_FILE_INVALID);
}

TEST(McuFile, RefusalDropsAnEarlierImage) {
    FirmwareFile out;
    ASSERT_EQ(Mcu(McuImage(), &out), UPG_OK);
    std::vector<uint8_t> bad = McuImage();
    bad.back() ^= 0xFF;
    EXPECT_EQ(Mcu(bad, &out), UPG_FILE_INVALID);
    ExpectRefused(out, FirmwareFault::Checksum);
}

TEST(FlashFile, AnyFirmwareIdButTheModelAndSumMustMatch) {
    for (uint8_t id : {0, 1, 2, 7, 255}) {
        const std::vector<uint8_t> f = DspImage(120, id);
        FirmwareFile out;
        ASSERT_EQ(Flash(f, &out), UPG_OK) << int(id);
        EXPECT_EQ(out.kind, UPG_KIND_DSP);
        EXPECT_EQ(out.dsp.bytes, Pattern(120, 9));
        EXPECT_EQ(out.dsp.startParams[0], 0x55);
        EXPECT_TRUE(out.mcu.bytes.empty());
    }
    TestImage t;
    t.modelId = 94;
    FirmwareFile out;
    EXPECT_EQ(Flash(t.Build(), &out), UPG_FILE_INVALID);
    ExpectRefused(out, FirmwareFault::ModelId);
    EXPECT_TRUE(out.faultInDsp);
    std::vector<uint8_t> f = DspImage();
    f[20] += 1;
    EXPECT_EQ(Flash(f, &out), UPG_FILE_INVALID);
    ExpectRefused(out, FirmwareFault::Checksum);
    EXPECT_EQ(Flash(DspImage(0x100000 - 13), &out), UPG_FILE_INVALID);
    ExpectRefused(out, FirmwareFault::FileTooLarge);
    EXPECT_EQ(Flash(DspImage(0), &out), UPG_FILE_INVALID);
    ExpectRefused(out, FirmwareFault::ImageTooShort);
}

TEST(MergedFile, BothImagesAreCheckedAndKept) {
    const std::vector<uint8_t> mcu = McuImage(70);
    const std::vector<uint8_t> dsp = DspImage(120);
    FirmwareFile out;
    ASSERT_EQ(Merged(MergedFile({mcu, dsp}), &out), UPG_OK);
    EXPECT_EQ(out.kind, UPG_KIND_DSP);
    EXPECT_EQ(out.mergedHeader[0], 's');
    EXPECT_EQ(out.mergedHeader[1], 'x');
    EXPECT_EQ(out.mergedCount, 2u);
    EXPECT_EQ(out.mcu.bytes, Pattern(70, 3));
    EXPECT_EQ(out.dsp.bytes, Pattern(120, 9));
    EXPECT_EQ(out.dsp.startParams[0], 0x55);
    EXPECT_EQ(out.mcu.fileSize, mcu.size());
    EXPECT_EQ(out.dsp.fileSize, dsp.size());
}

TEST(MergedFile, HeaderNeedsAnSInEitherByte) {
    const std::vector<uint8_t> mcu = McuImage();
    const std::vector<uint8_t> dsp = DspImage();
    FirmwareFile out;
    EXPECT_EQ(Merged(MergedFile({mcu, dsp}, 'x', 's'), &out), UPG_OK);
    EXPECT_EQ(Merged(MergedFile({mcu, dsp}, 'a', 'b'), &out), UPG_FILE_INVALID);
    ExpectRefused(out, FirmwareFault::MergedHeader);
    EXPECT_EQ(out.mergedHeader[0], 'a');
    EXPECT_EQ(Merged(MergedFile({mcu, dsp}, 'S', 'S'), &out), UPG_FILE_INVALID);
}

TEST(MergedFile, ImageCountIsTwoToFive) {
    const std::vector<uint8_t> mcu = McuImage();
    const std::vector<uint8_t> dsp = DspImage();
    const std::vector<uint8_t> extra = Pattern(40);
    FirmwareFile out;
    EXPECT_EQ(Merged(MergedFile({mcu, dsp, extra}), &out), UPG_OK);
    EXPECT_EQ(Merged(MergedFile({mcu, dsp, extra, extra, extra}), &out), UPG_OK);
    EXPECT_EQ(out.dsp.bytes, Pattern(120, 9));
    EXPECT_EQ(Merged(MergedFile({mcu, dsp, extra, extra, extra, extra}), &out), UPG_FILE_INVALID);
    ExpectRefused(out, FirmwareFault::MergedCount);
    EXPECT_EQ(out.mergedCount, 6u);
    EXPECT_EQ(Merged(MergedFile({mcu}), &out), UPG_FILE_INVALID);
    ExpectRefused(out, FirmwareFault::MergedCount);
    EXPECT_EQ(Merged(MergedFile({}), &out), UPG_FILE_INVALID);
    ExpectRefused(out, FirmwareFault::MergedCount);
    std::vector<uint8_t> f = MergedFile({mcu, dsp});
    f[2] = 255;
    EXPECT_EQ(Merged(f, &out), UPG_FILE_INVALID);
    ExpectRefused(out, FirmwareFault::MergedCount);
}

TEST(MergedFile, HeaderAndSizesMustFitTheFile) {
    FirmwareFile out;
    for (size_t n = 0; n < 3; ++n) {
        const std::vector<uint8_t> f(n, 's');
        EXPECT_EQ(Merged(f, &out), UPG_FILE_INVALID) << n;
        ExpectRefused(out, FirmwareFault::FileTooShort);
    }
    // Count 5 promises 20 size bytes the file does not have.
    const std::vector<uint8_t> cut = {'s', 's', 5, 0, 0, 0, 15, 0, 0, 0};
    EXPECT_EQ(Merged(cut, &out), UPG_FILE_INVALID);
    ExpectRefused(out, FirmwareFault::FileTooShort);

    const std::vector<uint8_t> good = MergedFile({McuImage(), DspImage()});
    std::vector<uint8_t> f = good;
    f.pop_back();  // the DSP image lacks its last byte
    EXPECT_EQ(Merged(f, &out), UPG_FILE_INVALID);
    ExpectRefused(out, FirmwareFault::MergedSizes);
    // Sizes near 2^32 must not wrap into a small sum.
    f = good;
    f[3] = f[4] = f[5] = f[6] = 0xFF;
    f[10] = 0x02;
    EXPECT_EQ(Merged(f, &out), UPG_FILE_INVALID);
    ExpectRefused(out, FirmwareFault::MergedSizes);
    // An unused listed image must fit as well.
    f = MergedFile({McuImage(), DspImage(), Pattern(10)});
    f.pop_back();
    EXPECT_EQ(Merged(f, &out), UPG_FILE_INVALID);
    ExpectRefused(out, FirmwareFault::MergedSizes);
    // Bytes after the listed images are tolerated.
    f = good;
    f.push_back(0);
    EXPECT_EQ(Merged(f, &out), UPG_OK);
}

TEST(MergedFile, EmptyOrShortImagesAreRefused) {
    FirmwareFile out;
    EXPECT_EQ(Merged(MergedFile({{}, DspImage()}), &out), UPG_FILE_INVALID);
    ExpectRefused(out, FirmwareFault::ImageTooShort);
    EXPECT_FALSE(out.faultInDsp);
    EXPECT_EQ(Merged(MergedFile({McuImage(), {}}), &out), UPG_FILE_INVALID);
    ExpectRefused(out, FirmwareFault::ImageTooShort);
    EXPECT_TRUE(out.faultInDsp);
    EXPECT_EQ(Merged(MergedFile({McuImage(), DspImage(0)}), &out), UPG_FILE_INVALID);
    ExpectRefused(out, FirmwareFault::ImageTooShort);
}

TEST(MergedFile, EachImageHasItsOwnFirmwareId) {
    FirmwareFile out;
    EXPECT_EQ(Merged(MergedFile({DspImage(), DspImage()}), &out), UPG_FILE_INVALID);
    ExpectRefused(out, FirmwareFault::FirmwareId);
    EXPECT_FALSE(out.faultInDsp);
    EXPECT_EQ(Merged(MergedFile({McuImage(), McuImage()}), &out), UPG_FILE_INVALID);
    ExpectRefused(out, FirmwareFault::FirmwareId);
    EXPECT_TRUE(out.faultInDsp);
}

TEST(MergedFile, ABadDspImageLeavesNothingLoaded) {
    std::vector<uint8_t> dsp = DspImage();
    dsp.back() ^= 0x10;
    FirmwareFile out;
    EXPECT_EQ(Merged(MergedFile({McuImage(), dsp}), &out), UPG_FILE_INVALID);
    ExpectRefused(out, FirmwareFault::Checksum);
    EXPECT_TRUE(out.faultInDsp);
    EXPECT_EQ(out.mcu.storedChecksum, out.mcu.computedChecksum);  // the MCU image was fine

    TestImage t;
    t.firmwareId = 2;
    t.modelId = 94;
    EXPECT_EQ(Merged(MergedFile({McuImage(), t.Build()}), &out), UPG_FILE_INVALID);
    ExpectRefused(out, FirmwareFault::ModelId);
}

TEST(MergedFile, SizeLimit) {
    const std::vector<uint8_t> mcu = McuImage(0x100000 - 14);
    const size_t dspPayload = 0x200000 - 11 - mcu.size() - 14;
    FirmwareFile out;
    EXPECT_EQ(Merged(MergedFile({mcu, DspImage(dspPayload)}), &out), UPG_OK);
    EXPECT_EQ(Merged(MergedFile({mcu, DspImage(dspPayload + 1)}), &out), UPG_FILE_INVALID);
    ExpectRefused(out, FirmwareFault::FileTooLarge);
}

// Random and mutated input: every parser must refuse it cleanly or accept
// it with images that lie inside the file.
TEST(FirmwareFiles, HostileInputNeverReadsOutside) {
    const std::vector<uint8_t> good = MergedFile({McuImage(30), DspImage(40)});
    uint32_t x = 1;
    auto next = [&x] { x = x * 1664525u + 1013904223u; return x >> 8; };
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> f;
        if (round % 2 == 0) {
            f = Pattern(next() % 64, static_cast<uint8_t>(round));
            if (f.size() > 2) f[0] = 's';
        } else {
            f = good;
            for (int k = 0; k < 3; ++k) f[next() % 23] = static_cast<uint8_t>(next());
            f.resize(next() % (good.size() + 1));
        }
        // Copy into an exactly sized buffer so that ASan sees any overrun.
        std::vector<uint8_t> exact(f);
        exact.shrink_to_fit();
        FirmwareFile out;
        const uint32_t m = Merged(exact, &out);
        if (m == UPG_OK) {
            EXPECT_LE(out.mcu.fileSize + out.dsp.fileSize, exact.size());
        } else {
            EXPECT_EQ(m, UPG_FILE_INVALID);
            EXPECT_NE(out.fault, FirmwareFault::None);
        }
        const uint32_t s = Mcu(exact, &out);
        EXPECT_TRUE(s == UPG_OK || s == UPG_FILE_INVALID);
        if (s == UPG_OK) {
            EXPECT_EQ(out.mcu.bytes.size() + 14, exact.size());
        }
    }
}

TEST(UpgradeFileDispatch, ParsesByType) {
    const std::vector<uint8_t> mcu = McuImage();
    const std::vector<uint8_t> merged = MergedFile({mcu, DspImage()});
    FirmwareFile out;
    EXPECT_EQ(ParseUpgradeFile(UpgradeFileType::Loader, mcu.data(), mcu.size(), kModelId, &out), UPG_OK);
    EXPECT_EQ(out.kind, UPG_KIND_LOADER);
    EXPECT_EQ(ParseUpgradeFile(UpgradeFileType::Mcu, mcu.data(), mcu.size(), kModelId, &out), UPG_OK);
    EXPECT_EQ(out.kind, UPG_KIND_MCU);
    EXPECT_EQ(ParseUpgradeFile(UpgradeFileType::Flash, mcu.data(), mcu.size(), kModelId, &out), UPG_OK);
    EXPECT_EQ(out.kind, UPG_KIND_DSP);
    EXPECT_EQ(ParseUpgradeFile(UpgradeFileType::Merged, merged.data(), merged.size(), kModelId, &out), UPG_OK);
    EXPECT_EQ(out.kind, UPG_KIND_DSP);
    EXPECT_EQ(ParseUpgradeFile(UpgradeFileType::Merged, mcu.data(), mcu.size(), kModelId, &out),
              UPG_FILE_INVALID);
    for (UpgradeFileType t : {UpgradeFileType::Unknown, UpgradeFileType::DownloadScript}) {
        EXPECT_EQ(ParseUpgradeFile(t, mcu.data(), mcu.size(), kModelId, &out), UPG_FILE_INVALID);
        EXPECT_EQ(out.kind, UPG_KIND_NONE);
        EXPECT_EQ(MaxUpgradeFileSize(t), 0u);
    }
    EXPECT_EQ(MaxUpgradeFileSize(UpgradeFileType::Mcu), 0x100000u);
    EXPECT_EQ(MaxUpgradeFileSize(UpgradeFileType::Loader), 0x100000u);
    EXPECT_EQ(MaxUpgradeFileSize(UpgradeFileType::Flash), 0x100000u);
    EXPECT_EQ(MaxUpgradeFileSize(UpgradeFileType::Merged), 0x200000u);
}

}  // namespace
