#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "skin/skin_password.h"
#include "uilib/core/ResourceStore.h"
#include "uilib/core/SkinMarkup.h"
#include "uilib/core/ZipHandle.h"

using namespace SkinUI;

namespace {

// Every language key the program asks for; each language file holds exactly these.
const wchar_t* const kProgramKeys[] = {L"${tips}", L"${confirm}", L"${cancel}", L"${off}", L"${exit}",
    L"${btn_connecting}", L"${btn_connected}", L"${btn_disconnected}", L"${device_connect_fail}",
    L"${device_plugout}", L"${device_reboot}", L"${device_status_unnormal}", L"${device_not_match}",
    L"${dsp_is_off}", L"${mutex_tips}", L"${dsp_fw_new_tips}", L"${update_tips}", L"${factory_default_tips}",
    L"${profile_open_error}", L"${profile_load_error}", L"${software_not_match}", L"${profile_save_ok}",
    L"${profile_create_error}", L"${load_scene}", L"${save_as_scene}", L"${delete_scene}", L"${load}",
    L"${save}", L"${delete}", L"${load_scene_tips1}", L"${load_scene_tips2}", L"${save_scene_overwrite}",
    L"${same_name_tips}", L"${save_scene_ok}", L"${all_bypass}", L"${bypass_eq}", L"${restore_eq}",
    L"${bypass_all_eq_tips}", L"${restore_all_eq_tips}", L"${reset_all_eq_tips}", L"${peq_mode}",
    L"${geq_mode}", L"${peq_mode_tips}", L"${geq_mode_tips}", L"${reverse phase}", L"${positive_phase}",
    L"${lock_output_tips}", L"${unlock_output_tips}", L"${not_linkable_tips}", L"${link_tips}",
    L"${copy_left_to_right}", L"${copy_right_to_left}", L"${empty_output_tips}", L"${default}", L"${emptied}",
    L"${amp_on}", L"${amp_off}", L"${rem_out1_on}", L"${rem_out1_off}", L"${rem_out2_on}", L"${rem_out2_off}",
    L"${btn_2ohm_spk}", L"${btn_4ohm_spk}", L"${btn_noise_gate_on}", L"${btn_noise_gate_off}",
    L"${loading_fw}", L"${update_ok}", L"${update_fail}", L"${load_fw_fail}", L"${update_no_file}",
    L"${update_check_mcu}", L"${update_check_flash}", L"${update_start_mcu}", L"${update_start_flash}",
    L"${update_progress_mcu}", L"${update_progress_flash}", L"${update_reboot_mcu}",
    L"${update_reboot_flash}", L"${update_factory}", L"${update_factory_reboot}", L"${update_finish}",
    L"${version}", L"${soft_version}", L"${inner_fw_version}", L"${source_opt}", L"${source_coax}",
    L"${source_bt}", L"${source_aux}", L"${source_low}", L"${source_hi}", L"${source_dmp}", L"${source_udp}",
    L"${source_scp}", L"${front}", L"${rear}", L"${center}", L"${left}", L"${right}", L"${subwoofer}",
    L"${tweeter}", L"${midrange}", L"${woofer}", L"${midrange_tweeter}", L"${midrange_woofer}", L"${full}",
    L"${left_subwoofer}", L"${right_subwoofer}", L"${empty}", L"${front_left_tweeter}",
    L"${front_left_midrange}", L"${front_left_woofer}", L"${front_left_mid_twee}", L"${front_left_mid_woof}",
    L"${front_left_full}", L"${front_right_tweeter}", L"${front_right_midrange}", L"${front_right_woofer}",
    L"${front_right_mid_twee}", L"${front_right_mid_woof}", L"${front_right_full}", L"${rear_left_tweeter}",
    L"${rear_left_woofer}", L"${rear_left_full}", L"${rear_right_tweeter}", L"${rear_right_woofer}",
    L"${rear_right_full}", L"${center_tweeter}", L"${center_woofer}", L"${center_full}",
    L"${left_subwoofer_freq}", L"${right_subwoofer_freq}", L"${subwoofer_freq}", L"${rear_left_mid}",
    L"${rear_right_mid}", L"${front_center_all}", L"${rear_center_all}"};

const wchar_t* const kLanguageFiles[] = {L"lan/lan_en.xml", L"lan/lan_cn.xml", L"lan/lan_ru.xml"};

// The packed skin archive: in the Windows build the resource embedded in this
// test program, natively the file the build packed.
std::vector<uint8_t> SkinArchiveBytes()
{
    std::vector<uint8_t> bytes;
#ifdef _WIN32
    HRSRC found = FindResourceW(nullptr, L"IDR_ZIPRES", L"ZIPRES");
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (data) {
        const auto* first = static_cast<const uint8_t*>(data);
        bytes.assign(first, first + SizeofResource(nullptr, found));
    }
#else
    FILE* f = std::fopen(BRISA_SKIN_ZIP, "rb");
    if (f) {
        uint8_t chunk[4096];
        size_t n;
        while ((n = std::fread(chunk, 1, sizeof(chunk), f)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
        std::fclose(f);
    }
#endif
    return bytes;
}

// Reads a member the way the skin asks for it ("\" as "/", any case).
uint32_t ReadSkinMember(HZIP zip, const wchar_t* name, std::vector<uint8_t>* out)
{
    std::wstring entry(name);
    std::replace(entry.begin(), entry.end(), L'\\', L'/');
    int index = -1;
    TZipItem item;
    const uint32_t found = ZipFindItem(zip, entry.c_str(), true, &index, &item);
    if (found != ZR_OK) return found;
    out->assign(item.uncompressedSize, 0);
    return ZipUnzipToMemory(zip, index, out->data(), item.uncompressedSize);
}

HZIP g_skinZip = nullptr;

bool SkinZipLoader(CSkinMarkup& doc, const wchar_t* source, const wchar_t*)
{
    std::vector<uint8_t> bytes;
    if (reinterpret_cast<uintptr_t>(source) < 0x10000 || ReadSkinMember(g_skinZip, source, &bytes) != ZR_OK)
        return false;
    return doc.LoadFromBytes(bytes.data(), bytes.size());
}

// The printf conversions of a text in order, "%%" included.
std::vector<std::wstring> Specifiers(const std::wstring& text)
{
    std::vector<std::wstring> found;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'%') continue;
        size_t end = i + 1;
        while (end < text.size() && std::wcschr(L"-+ #0123456789.*hlLIjzt", text[end])) ++end;
        found.push_back(text.substr(i, end - i + 1));
        i = end;
    }
    return found;
}

class SkinArchive : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_bytes = SkinArchiveBytes();
        ASSERT_FALSE(m_bytes.empty());
        g_skinZip = ZipOpenMemory(
            m_bytes.data(), static_cast<uint32_t>(m_bytes.size()), BrisaSkin::kSkinPasswordAnsi);
        ASSERT_NE(g_skinZip, nullptr);
    }
    void TearDown() override
    {
        if (g_skinZip) ZipClose(g_skinZip);
        g_skinZip = nullptr;
    }

    // Key -> text of a language file, read the way the store reads it.
    std::map<std::wstring, std::wstring> LanguageTable(const wchar_t* file)
    {
        std::map<std::wstring, std::wstring> table;
        CSkinMarkup doc;
        EXPECT_TRUE(SkinZipLoader(doc, file, nullptr)) << doc.LastErrorMessage();
        for (CSkinMarkupNode n = doc.Root().FirstChild(); n.IsValid(); n = n.NextSibling()) {
            wchar_t key[256];
            wchar_t value[1024];
            if (!n.CopyAttributeValue(L"id", key, 256) || !n.CopyAttributeValue(L"value", value, 1024))
                continue;
            EXPECT_TRUE(table.emplace(key, value).second) << "duplicate key in a language file";
            EXPECT_NE(value[0], L'\0') << "empty text";
        }
        return table;
    }

    std::vector<uint8_t> m_bytes;
};

} // namespace

TEST_F(SkinArchive, HoldsItsFixedMembersBehindThePassword)
{
    EXPECT_EQ(std::strlen(BrisaSkin::kSkinPasswordAnsi), 18u);
    EXPECT_EQ(std::wcslen(BrisaSkin::kSkinPassword), 18u);
    for (const wchar_t* name : {L"xml\\res.xml", L"lan/lan_en.xml", L"lan/lan_cn.xml", L"LAN/LAN_RU.XML"}) {
        std::vector<uint8_t> bytes;
        EXPECT_EQ(ReadSkinMember(g_skinZip, name, &bytes), ZR_OK);
        EXPECT_GT(bytes.size(), 5u);
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 5), "<?xml");
    }
    HZIP wrong = ZipOpenMemory(m_bytes.data(), static_cast<uint32_t>(m_bytes.size()), "not the password");
    ASSERT_NE(wrong, nullptr);
    std::vector<uint8_t> bytes;
    EXPECT_EQ(ReadSkinMember(wrong, L"lan/lan_en.xml", &bytes), ZR_PASSWORD);
    ZipClose(wrong);
}

TEST_F(SkinArchive, LanguagesHoldEveryKeyWithTheSameSpecifiers)
{
    const std::set<std::wstring> program(std::begin(kProgramKeys), std::end(kProgramKeys));
    std::map<std::wstring, std::wstring> tables[3];
    for (int i = 0; i < 3; ++i) tables[i] = LanguageTable(kLanguageFiles[i]);
    // Every key the program asks for, and the skin's own keys, in all three.
    std::set<std::wstring> keys[3];
    for (int i = 0; i < 3; ++i) {
        for (const auto& entry : tables[i]) keys[i].insert(entry.first);
        for (const std::wstring& key : program) EXPECT_EQ(1u, keys[i].count(key)) << kLanguageFiles[i] << " " << key;
    }
    EXPECT_EQ(keys[0], keys[1]);
    EXPECT_EQ(keys[0], keys[2]);
    for (const auto& entry : tables[0]) {
        const std::vector<std::wstring> english = Specifiers(entry.second);
        for (int i = 1; i < 3; ++i) {
            EXPECT_EQ(Specifiers(tables[i][entry.first]), english) << kLanguageFiles[i];
        }
    }
    // The format texts carry what the program passes them.
    EXPECT_EQ(Specifiers(tables[0][L"${same_name_tips}"]), (std::vector<std::wstring> {L"%s", L"%d", L"%s"}));
    EXPECT_EQ(Specifiers(tables[0][L"${update_progress_mcu}"]), (std::vector<std::wstring> {L"%d", L"%%"}));
}

TEST_F(SkinArchive, StoreLoadsTheLanguagesAndTheIndexAsTheProgramDoes)
{
    CResourceStore store;
    store.SetDocumentLoader(SkinZipLoader);
    ASSERT_TRUE(store.AddLanguage(L"lan/lan_en.xml", L"en"));
    ASSERT_TRUE(store.AddLanguage(L"lan/lan_cn.xml", L"cn_zh"));
    ASSERT_TRUE(store.AddLanguage(L"lan/lan_ru.xml", L"ru"));
    ASSERT_TRUE(store.LoadResourceIndex(L"xml\\res.xml"));
    EXPECT_STREQ(store.CurrentLanguageName(), L"ru");
    EXPECT_EQ(store.LookupText(L"${tips}"), L"\u0412\u043D\u0438\u043C\u0430\u043D\u0438\u0435");
    store.SelectLanguage(L"cn_zh");
    EXPECT_EQ(store.LookupText(L"${tips}"), L"\u63D0\u793A");
    store.SelectLanguage(L"en");
    EXPECT_EQ(store.LookupText(L"${reverse phase}"), L"180\u00B0");
    for (const wchar_t* lang : {L"en", L"cn_zh", L"ru"}) {
        store.SelectLanguage(lang);
        for (const wchar_t* key : kProgramKeys) EXPECT_NE(store.LookupText(key), key) << lang;
    }
}
