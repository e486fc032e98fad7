#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "SkinSetup.h"
#include "uilib/core/DialogBuilder.h"
#include "uilib/core/ResourceStore.h"
#include "uilib/core/SkinDocumentLoader.h"
#include "uilib/core/SkinMarkup.h"
#include "uilib/core/UIManager.h"
#include "uilib/core/ZipReader.h"
#include "uilib/layout/Container.h"

using namespace SkinUI;

namespace {

// The application's own tags, as its windows' builder callback creates them.
class CApplicationTags : public IDialogBuilderCallback {
public:
    CControlUI* CreateCustomControl(const wchar_t* className) override
    {
        const wchar_t* const tags[] = {L"Curve", L"CurveAc", L"SButton", L"CircleProgress"};
        for (const wchar_t* tag : tags) {
            if (wcscmp(className, tag) == 0) return new CContainerUI();
        }
        return nullptr;
    }
};

std::wstring Lower(std::wstring text)
{
    for (wchar_t& ch : text) ch = static_cast<wchar_t>(towlower(ch));
    return text;
}

bool EndsWith(const std::wstring& text, const std::wstring& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// name="value" pairs of an attribute list (Style and Default values).
std::vector<std::pair<std::wstring, std::wstring>> ParseAttributeList(const std::wstring& text)
{
    std::vector<std::pair<std::wstring, std::wstring>> pairs;
    size_t at = 0;
    while (true) {
        const size_t eq = text.find(L"=\"", at);
        if (eq == std::wstring::npos) break;
        const size_t close = text.find(L'"', eq + 2);
        if (close == std::wstring::npos) break;
        size_t nameStart = text.rfind(L' ', eq);
        nameStart = nameStart == std::wstring::npos || nameStart < at ? at : nameStart + 1;
        pairs.emplace_back(text.substr(nameStart, eq - nameStart), text.substr(eq + 2, close - eq - 2));
        at = close + 1;
    }
    return pairs;
}

// The image file an image attribute names, or empty when it names none.
std::wstring ImageFileOf(const std::wstring& value)
{
    const size_t file = value.find(L"file='");
    if (file != std::wstring::npos) {
        const size_t end = value.find(L'\'', file + 6);
        return end == std::wstring::npos ? std::wstring() : value.substr(file + 6, end - file - 6);
    }
    if (value.find(L"='") != std::wstring::npos) return std::wstring();
    return value;
}

bool ArchiveHas(const std::wstring& name)
{
    int index = -1;
    TZipItem item;
    return CPaintManagerUI::SkinZipHandle()->FindItem(name.c_str(), true, &index, &item) == ZR_OK && index >= 0;
}

struct TLayoutFacts {
    std::set<std::wstring> fonts;
    std::set<std::wstring> styles;
    std::vector<std::pair<std::wstring, std::wstring>> attributes; // every control and list attribute
};

void Collect(const CSkinMarkupNode& first, TLayoutFacts& facts, TLayoutFacts& shared)
{
    for (CSkinMarkupNode node = first; node.IsValid(); node = node.NextSibling()) {
        const std::wstring name = Lower(node.Name());
        std::wstring id;
        std::wstring value;
        bool isShared = false;
        for (int i = 0; i < node.AttributeCount(); ++i) {
            const std::wstring attribute = Lower(node.AttributeName(i));
            const std::wstring text = node.AttributeValue(i);
            if (attribute == (name == L"font" ? L"id" : L"name")) id = text;
            if (attribute == L"value") value = text;
            if (attribute == L"shared") isShared = Lower(text) == L"true";
            if (name != L"font" && name != L"style" && name != L"default") facts.attributes.emplace_back(attribute, text);
        }
        if (name == L"font") (isShared ? shared : facts).fonts.insert(id);
        if (name == L"style") (isShared ? shared : facts).styles.insert(id);
        if (name == L"style" || name == L"default") {
            for (const auto& pair : ParseAttributeList(value)) facts.attributes.emplace_back(Lower(pair.first), pair.second);
        }
        if (node.HasChildren()) Collect(node.FirstChild(), facts, shared);
    }
}

std::vector<std::wstring> LayoutPaths()
{
    std::vector<std::wstring> paths;
    CSkinMarkup index;
    if (!LoadSkinDocument(index, L"xml\\res.xml", nullptr)) return paths;
    std::vector<CSkinMarkupNode> pending = {index.Root()};
    while (!pending.empty()) {
        CSkinMarkupNode node = pending.back();
        pending.pop_back();
        for (CSkinMarkupNode child = node.FirstChild(); child.IsValid(); child = child.NextSibling()) {
            if (child.HasChildren()) pending.push_back(child);
            if (CompareTextIgnoreCase(child.Name(), L"Xml") != 0) continue;
            wchar_t path[MAX_PATH] = {};
            if (child.CopyAttributeValue(L"path", path, MAX_PATH)) paths.push_back(path);
        }
    }
    return paths;
}

// Layouts the program loads by path rather than through the resource index.
const wchar_t* const kLayoutsByPath[] = {
    L"xml/channel_settings_6in_mixer.xml", L"xml/channel_name_area_hi_source.xml",
    L"xml/channel_name_area_low_source.xml", L"xml/channel_name_area_aux_source.xml",
    L"xml/channel_name_area_2ch_source.xml", L"xml/advance_menu.xml", L"xml/delay_link_group_menu.xml",
    L"xml/output_menu.xml", L"xml/option_menu.xml", L"xml/scene_menu.xml",
};

TEST(SkinLint, EveryLayoutBuildsAndNamesOnlyWhatTheSkinHas)
{
    ASSERT_TRUE(OpenEmbeddedSkin());
    std::vector<std::wstring> paths = LayoutPaths();
    ASSERT_FALSE(paths.empty());
    // Window layouts have one root control; the others are built into a
    // parent and may hold several. Those not written yet are not in the
    // archive; each one that is gets checked.
    const size_t windowLayouts = paths.size();
    for (const wchar_t* path : kLayoutsByPath) {
        if (ArchiveHas(path)) paths.push_back(path);
    }

    std::vector<std::pair<std::wstring, TLayoutFacts>> layouts;
    TLayoutFacts shared;
    for (const std::wstring& path : paths) {
        CSkinMarkup doc;
        ASSERT_TRUE(LoadSkinDocument(doc, path.c_str(), nullptr)) << path.c_str();
        TLayoutFacts facts;
        Collect(doc.Root(), facts, shared);
        layouts.emplace_back(path, facts);
    }

    const wchar_t* const variants[] = {L"@80", L"@125", L"@150", L"@200", L"@300"};
    int imagesChecked = 0;
    int keysChecked = 0;
    CResourceStore* store = CResourceStore::GetInstance();
    for (size_t n = 0; n < layouts.size(); ++n) {
        const auto& layout = layouts[n];
        const std::wstring& path = layout.first;
        CPaintManagerUI manager;
        CApplicationTags callback;
        CDialogBuilder builder;
        CContainerUI parent;
        CControlUI* root = builder.BuildFromSource(path.c_str(), nullptr, &callback, &manager,
                                                   n < windowLayouts ? nullptr : &parent);
        EXPECT_NE(nullptr, root) << path.c_str();
        EXPECT_TRUE(builder.UnknownTags().IsEmpty()) << path.c_str() << ": " << builder.UnknownTags().CStr();
        EXPECT_TRUE(builder.LastError().IsEmpty()) << path.c_str() << ": " << builder.LastError().CStr();
        if (n < windowLayouts) delete root;

        for (const auto& attribute : layout.second.attributes) {
            const std::wstring& name = attribute.first;
            const std::wstring& value = attribute.second;
            if (EndsWith(name, L"image") && !value.empty()) {
                const std::wstring file = ImageFileOf(value);
                if (file.empty()) continue;
                ++imagesChecked;
                EXPECT_TRUE(ArchiveHas(file)) << path.c_str() << ": " << name.c_str() << " " << file.c_str();
                const size_t dot = file.rfind(L'.');
                ASSERT_NE(std::wstring::npos, dot) << file.c_str();
                EXPECT_EQ(dot, file.find(L'.')) << "image names carry one dot: " << file.c_str();
                for (const wchar_t* variant : variants) {
                    const std::wstring scaled = file.substr(0, dot) + variant + file.substr(dot);
                    EXPECT_TRUE(ArchiveHas(scaled)) << path.c_str() << ": " << scaled.c_str();
                }
            } else if (EndsWith(name, L"font") && !EndsWith(name, L"fontcolor")) {
                EXPECT_TRUE(layout.second.fonts.count(value) || shared.fonts.count(value))
                    << path.c_str() << ": " << name.c_str() << " " << value.c_str();
            } else if ((name == L"text" || name == L"tooltip" || name == L"selectedtext") &&
                       value.compare(0, 2, L"${") == 0) {
                // A key missing from a language shows as the key itself.
                ++keysChecked;
                for (const wchar_t* language : {L"en", L"cn_zh", L"ru"}) {
                    store->SelectLanguage(language);
                    EXPECT_NE(value, store->LookupText(value.c_str()).CStr()) << path.c_str() << ": " << language;
                }
                store->SelectLanguage(L"en");
            } else if (name == L"innerstyle") {
                EXPECT_TRUE(layout.second.styles.count(value) || shared.styles.count(value))
                    << path.c_str() << ": style " << value.c_str();
            }
        }
    }
    EXPECT_GT(imagesChecked, 0);
    EXPECT_GT(keysChecked, 0);
}

} // namespace
