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

using Bytes = std::vector<uint8_t>;

uint32_t Mcu(const Bytes& f, FirmwareFile* out) {
    return ParseMcuFile(f.data(), f.size(), kModelId, UPG_KIND_MCU, out);
}

uint32_t Flash(const Bytes& f, FirmwareFile* out) {
    return ParseFlashFile(f.data(), f.size(), kModelId, out);
}

uint32_t Merged(const Bytes& f, FirmwareFile* out) {
    return ParseMergedFile(f.data(), f.size(), kModelId, out);
}

void ExpectRefused(const FirmwareFile& out, FirmwareFault fault) {
    EXPECT_EQ(out.kind, UPG_KIND_NONE);
    EXPECT_EQ(out.fault, fault);
    EXPECT_TRUE(out.mcu.bytes.empty());
    EXPECT_TRUE(out.dsp.bytes.empty());
}

Bytes Image(uint8_t firmwareId, uint8_t modelId) {
    TestImage t;
    t.firmwareId = firmwareId;
    t.modelId = modelId;
    return t.Build();
}

Bytes Edited(Bytes f, void (*edit)(Bytes&)) {
    edit(f);
    return f;
}

TEST(FirmwareChecksum, SumsBytesWithWrapAround) {
    const uint8_t bytes[] = {0x01, 0x02, 0xFF, 0x80};
    EXPECT_EQ(FirmwareChecksum(bytes, 4), 0x182u);
    EXPECT_EQ(FirmwareChecksum(bytes, 0), 0u);
    // 0xFF * 16843010 = 2^32 + 254
    const Bytes big(16843010, 0xFF);
    EXPECT_EQ(FirmwareChecksum(big.data(), big.size()), 254u);
}

TEST(McuFile, AcceptedImageCarriesItsFields) {
    TestImage t;
    const Bytes file = t.Build();
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

    ASSERT_EQ(ParseMcuFile(file.data(), file.size(), kModelId, UPG_KIND_LOADER, &out), UPG_OK);
    EXPECT_EQ(out.kind, UPG_KIND_LOADER);
    EXPECT_EQ(ParseMcuFile(file.data(), file.size(), kModelId, UPG_KIND_DSP, &out), UPG_START_FAIL);
    EXPECT_EQ(out.kind, UPG_KIND_NONE);
}

TEST(McuFile, ChecksumCoversEverythingBeforeIt) {
    const Bytes good = McuImage();
    const size_t n = good.size();
    // The stored sum, an image byte, a start parameter and a trailing byte.
    for (size_t at : {n - 1, n - 4, size_t(10), size_t(3), n - 6}) {
        Bytes f = good;
        f[at] ^= 0x01;
        FirmwareFile out;
        EXPECT_EQ(Mcu(f, &out), UPG_FILE_INVALID) << "byte " << at;
        ExpectRefused(out, FirmwareFault::Checksum);
        EXPECT_NE(out.mcu.storedChecksum, out.mcu.computedChecksum);
    }
}

// One image byte is the least; shorter files would underflow the size.
TEST(McuFile, FileWithoutImageBytesIsRefused) {
    FirmwareFile out;
    const Bytes noImage = McuImage(0);
    for (size_t n = 0; n <= noImage.size(); ++n) {
        EXPECT_EQ(ParseMcuFile(noImage.data(), n, kModelId, UPG_KIND_MCU, &out), UPG_FILE_INVALID) << n;
        ExpectRefused(out, FirmwareFault::ImageTooShort);
    }
    EXPECT_EQ(ParseMcuFile(nullptr, 0, kModelId, UPG_KIND_MCU, &out), UPG_FILE_INVALID);
}

TEST(FlashFile, AnyFirmwareIdIsAccepted) {
    for (uint8_t id : {0, 1, 2, 7, 255}) {
        const Bytes f = DspImage(120, id);
        FirmwareFile out;
        ASSERT_EQ(Flash(f, &out), UPG_OK) << int(id);
        EXPECT_EQ(out.kind, UPG_KIND_DSP);
        EXPECT_EQ(out.dsp.bytes, Pattern(120, 9));
        EXPECT_EQ(out.dsp.startParams[0], 0x55);
        EXPECT_TRUE(out.mcu.bytes.empty());
    }
}

TEST(MergedFile, BothImagesAreCheckedAndKept) {
    const Bytes mcu = McuImage(70);
    const Bytes dsp = DspImage(120);
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

struct FileCase {
    const char* name;
    uint32_t (*parse)(const Bytes&, FirmwareFile*);
    Bytes file;
    FirmwareFault fault;  // None: accepted
    bool faultInDsp;
    void (*also)(const FirmwareFile&);  // further checks, or null
};

// Each file is parsed over an earlier good one: a refusal keeps none of it.
TEST(FirmwareFiles, EachFileIsAcceptedOrRefusedForItsFault) {
    using F = FirmwareFault;
    const Bytes mcu = McuImage();
    const Bytes dsp = DspImage();
    const Bytes good = MergedFile({mcu, dsp});
    const Bytes extra = Pattern(40);
    const Bytes mcuMax = McuImage(0x100000 - 14);
    const size_t dspMax = 0x200000 - 11 - mcuMax.size() - 14;
    const FileCase cases[] = {
        // The largest standalone file is 1 MiB, image overhead included.
        {"MCU: file of 1 MiB", Mcu, mcuMax, F::None, false,
         [](const FirmwareFile& o) { EXPECT_EQ(o.mcu.bytes.size(), 0x100000u - 14); }},
        {"MCU: file over 1 MiB", Mcu, McuImage(0x100000 - 13), F::FileTooLarge, false, nullptr},
        {"MCU: image of one byte", Mcu, McuImage(1), F::None, false,
         [](const FirmwareFile& o) { EXPECT_EQ(o.mcu.bytes.size(), 1u); }},
        {"MCU: image of another model", Mcu, Image(1, 94), F::ModelId, false,
         [](const FirmwareFile& o) { EXPECT_EQ(o.mcu.modelId, 94); }},
        {"MCU: image of another firmware", Mcu, Image(2, kModelId), F::FirmwareId, false,
         [](const FirmwareFile& o) { EXPECT_EQ(o.mcu.firmwareId, 2); }},
        {"MCU: image with a bad sum", Mcu, Edited(mcu, [](Bytes& f) { f.back() ^= 0xFF; }), F::Checksum, false,
         nullptr},

        {"flash: image of another model", Flash, Image(1, 94), F::ModelId, true, nullptr},
        {"flash: image with a bad sum", Flash, Edited(dsp, [](Bytes& f) { f[20] += 1; }), F::Checksum, true,
         nullptr},
        {"flash: file over 1 MiB", Flash, DspImage(0x100000 - 13), F::FileTooLarge, true, nullptr},
        {"flash: file without image bytes", Flash, DspImage(0), F::ImageTooShort, true, nullptr},

        // The header needs an 's' in either byte.
        {"merged: header x s", Merged, MergedFile({mcu, dsp}, 'x', 's'), F::None, false, nullptr},
        {"merged: header a b", Merged, MergedFile({mcu, dsp}, 'a', 'b'), F::MergedHeader, false,
         [](const FirmwareFile& o) { EXPECT_EQ(o.mergedHeader[0], 'a'); }},
        {"merged: header S S", Merged, MergedFile({mcu, dsp}, 'S', 'S'), F::MergedHeader, false, nullptr},
        // Two to five images.
        {"merged: 3 images", Merged, MergedFile({mcu, dsp, extra}), F::None, false, nullptr},
        {"merged: 5 images", Merged, MergedFile({mcu, dsp, extra, extra, extra}), F::None, false,
         [](const FirmwareFile& o) { EXPECT_EQ(o.dsp.bytes, Pattern(120, 9)); }},
        {"merged: 6 images", Merged, MergedFile({mcu, dsp, extra, extra, extra, extra}), F::MergedCount, false,
         [](const FirmwareFile& o) { EXPECT_EQ(o.mergedCount, 6u); }},
        {"merged: 1 image", Merged, MergedFile({mcu}), F::MergedCount, false, nullptr},
        {"merged: 0 images", Merged, MergedFile({}), F::MergedCount, false, nullptr},
        {"merged: count 255", Merged, Edited(good, [](Bytes& f) { f[2] = 255; }), F::MergedCount, false, nullptr},
        // Header and sizes must fit the file.
        {"merged: 0 bytes", Merged, Bytes(0, 's'), F::FileTooShort, false, nullptr},
        {"merged: 1 byte", Merged, Bytes(1, 's'), F::FileTooShort, false, nullptr},
        {"merged: 2 bytes", Merged, Bytes(2, 's'), F::FileTooShort, false, nullptr},
        // Count 5 promises 20 size bytes the file does not have.
        {"merged: sizes cut", Merged, {'s', 's', 5, 0, 0, 0, 15, 0, 0, 0}, F::FileTooShort, false, nullptr},
        {"merged: DSP image lacks its last byte", Merged, Edited(good, [](Bytes& f) { f.pop_back(); }),
         F::MergedSizes, false, nullptr},
        // Sizes near 2^32 must not wrap into a small sum.
        {"merged: sizes near 2^32", Merged,
         Edited(good, [](Bytes& f) { f[3] = f[4] = f[5] = f[6] = 0xFF; f[10] = 0x02; }), F::MergedSizes, false,
         nullptr},
        {"merged: unused listed image cut", Merged,
         Edited(MergedFile({mcu, dsp, Pattern(10)}), [](Bytes& f) { f.pop_back(); }), F::MergedSizes, false,
         nullptr},
        {"merged: bytes after the images", Merged, Edited(good, [](Bytes& f) { f.push_back(0); }), F::None, false,
         nullptr},
        // Empty or short images.
        {"merged: empty MCU image", Merged, MergedFile({{}, dsp}), F::ImageTooShort, false, nullptr},
        {"merged: empty DSP image", Merged, MergedFile({mcu, {}}), F::ImageTooShort, true, nullptr},
        {"merged: DSP image without image bytes", Merged, MergedFile({mcu, DspImage(0)}), F::ImageTooShort, true,
         nullptr},
        // Each image has its own firmware id.
        {"merged: DSP image first", Merged, MergedFile({dsp, dsp}), F::FirmwareId, false, nullptr},
        {"merged: MCU image second", Merged, MergedFile({mcu, mcu}), F::FirmwareId, true, nullptr},
        // A bad DSP image leaves nothing loaded.
        {"merged: DSP image with a bad sum", Merged, MergedFile({mcu, Edited(dsp, [](Bytes& f) { f.back() ^= 0x10; })}),
         F::Checksum, true,
         [](const FirmwareFile& o) { EXPECT_EQ(o.mcu.storedChecksum, o.mcu.computedChecksum); }},
        {"merged: DSP image of another model", Merged, MergedFile({mcu, Image(2, 94)}), F::ModelId, true, nullptr},
        {"merged: merged file of 2 MiB", Merged, MergedFile({mcuMax, DspImage(dspMax)}), F::None, false, nullptr},
        {"merged: merged file over 2 MiB", Merged, MergedFile({mcuMax, DspImage(dspMax + 1)}), F::FileTooLarge, false,
         nullptr},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.name);
        FirmwareFile out;
        ASSERT_EQ(Merged(good, &out), UPG_OK);
        if (c.fault == F::None) {
            EXPECT_EQ(c.parse(c.file, &out), UPG_OK);
            EXPECT_EQ(out.fault, F::None);
        } else {
            EXPECT_EQ(c.parse(c.file, &out), UPG_FILE_INVALID);
            ExpectRefused(out, c.fault);
        }
        EXPECT_EQ(out.faultInDsp, c.faultInDsp);
        if (c.also) c.also(out);
    }
}

// Random and mutated input: every parser must refuse it cleanly or accept
// it with images that lie inside the file.
TEST(FirmwareFiles, HostileInputNeverReadsOutside) {
    const Bytes good = MergedFile({McuImage(30), DspImage(40)});
    uint32_t x = 1;
    auto next = [&x] { x = x * 1664525u + 1013904223u; return x >> 8; };
    for (int round = 0; round < 3000; ++round) {
        Bytes f;
        if (round % 2 == 0) {
            f = Pattern(next() % 64, static_cast<uint8_t>(round));
            if (f.size() > 2) f[0] = 's';
        } else {
            f = good;
            for (int k = 0; k < 3; ++k) f[next() % 23] = static_cast<uint8_t>(next());
            f.resize(next() % (good.size() + 1));
        }
        // Copy into an exactly sized buffer so that ASan sees any overrun.
        Bytes exact(f);
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
    const Bytes mcu = McuImage();
    const Bytes merged = MergedFile({mcu, DspImage()});
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
