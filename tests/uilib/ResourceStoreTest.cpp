#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "uilib/core/ResourceStore.h"
#include "uilib/core/SkinMarkup.h"

using namespace SkinUI;

namespace {

const wchar_t* const kEnglish = L"<Language>"
                                L"<Text id=\"${tips}\" value=\"Notice\"/>"
                                L"<Text id=\"${two_lines}\" value=\"first{\\n}second{\\n}\"/>"
                                L"<Text id=\"${dup}\" value=\"early\"/>"
                                L"<Text id=\"${dup}\" value=\"late\"/>"
                                L"<Text id=\"${no_value}\"/>"
                                L"<Text value=\"no id\"/>"
                                L"<text ID=\"${lower}\" VALUE=\"any case\"/>"
                                L"<Other id=\"${other}\" value=\"not a text\"/>"
                                L"<Group><Text id=\"${nested}\" value=\"not direct\"/></Group>"
                                L"</Language>";
const wchar_t* const kChinese = L"<Language><Text id=\"${tips}\" value=\"\u63D0\u793A\"/></Language>";
const wchar_t* const kRussian = L"<Language><Text id=\"${tips}\" "
                                L"value=\"\u0412\u043D\u0438\u043C\u0430\u043D\u0438\u0435\"/></Language>";

// Records every question and answers from a table.
class RecordingQuery : public IQueryControlText {
public:
    const wchar_t* LookupControlText(const wchar_t* key, const wchar_t* type) override
    {
        asked.push_back(std::wstring(key) + L"|" + (type ? type : L"(none)"));
        auto it = answers.find(key);
        return it == answers.end() ? nullptr : it->second.c_str();
    }
    std::map<std::wstring, std::wstring> answers;
    std::vector<std::wstring> asked;
};

// Serves skin paths and numeric ids from a table, as the skin setup would.
std::map<std::wstring, std::wstring> g_files;
std::vector<std::wstring> g_loaderCalls;

bool TableLoader(CSkinMarkup& doc, const wchar_t* source, const wchar_t* resourceType)
{
    const bool numeric = reinterpret_cast<uintptr_t>(source) < 0x10000;
    std::wstring name = numeric ? L"#" + std::to_wstring(reinterpret_cast<uintptr_t>(source)) : source;
    g_loaderCalls.push_back(name + L"|" + (resourceType ? resourceType : L"(none)"));
    auto it = g_files.find(name);
    return it != g_files.end() && doc.LoadFromText(it->second.c_str());
}

std::wstring Text(CResourceStore& store, const wchar_t* text, const wchar_t* type = nullptr)
{
    return store.LookupText(text, type).CStr();
}

} // namespace

// Keys resolve only as a whole text, and by the language file's rules.
TEST(ResourceStoreTexts, KeysResolveOnlyAsAWholeTextOfTheFile)
{
    CResourceStore store;
    ASSERT_TRUE(store.AddLanguage(kEnglish, L"en"));
    const std::pair<const wchar_t*, const wchar_t*> texts[] = {
        {L"${tips}", L"Notice"}, {nullptr, L""}, {L"", L""},
        // Not at the start, or followed by more: no lookup and no replacement.
        {L"Read ${tips}", L"Read ${tips}"}, {L"${tips}:", L"${tips}:"}, {L"plain{\\n}text", L"plain{\\n}text"},
        {L"$tips", L"$tips"},
        // Missing keys show as themselves, braces included.
        {L"${missing}", L"${missing}"}, {L"${", L"${"},
        // Line-break marks, the last of a repeated id, no value, any case, not a direct text.
        {L"${two_lines}", L"first\nsecond\n"}, {L"${dup}", L"late"}, {L"${no_value}", L"${no_value}"},
        {L"${lower}", L"any case"}, {L"${other}", L"${other}"}, {L"${nested}", L"${nested}"},
    };
    for (const auto& t : texts) EXPECT_EQ(Text(store, t.first), t.second) << (t.first ? t.first : L"(null)");
}

TEST(ResourceStoreTexts, SlotsAndSelection)
{
    CResourceStore store;
    EXPECT_STREQ(store.CurrentLanguageName(), L"");
    EXPECT_EQ(Text(store, L"${tips}"), L"${tips}");

    ASSERT_TRUE(store.AddLanguage(kEnglish, L"en"));
    ASSERT_TRUE(store.AddLanguage(kChinese, L"cn_zh"));
    ASSERT_TRUE(store.AddLanguage(kRussian, L"ru"));
    // The last one loaded is current.
    EXPECT_STREQ(store.CurrentLanguageName(), L"ru");
    EXPECT_EQ(Text(store, L"${tips}"), L"\u0412\u043D\u0438\u043C\u0430\u043D\u0438\u0435");

    store.SelectLanguage(L"EN");
    EXPECT_STREQ(store.CurrentLanguageName(), L"en");
    EXPECT_EQ(Text(store, L"${tips}"), L"Notice");
    store.SelectLanguage(L"de");
    EXPECT_STREQ(store.CurrentLanguageName(), L"en");
    store.SelectLanguage(L"Cn_Zh");
    EXPECT_EQ(Text(store, L"${tips}"), L"\u63D0\u793A");

    // A fourth language is refused and changes nothing.
    EXPECT_FALSE(store.AddLanguage(kEnglish, L"de"));
    EXPECT_EQ(store.LanguageCount(), 3);
    EXPECT_STREQ(store.CurrentLanguageName(), L"cn_zh");
    store.SelectLanguage(L"de");
    EXPECT_STREQ(store.CurrentLanguageName(), L"cn_zh");
}

TEST(ResourceStoreTexts, LastOfSameNamedSlotsWins)
{
    CResourceStore store;
    ASSERT_TRUE(store.AddLanguage(kEnglish, L"x"));
    ASSERT_TRUE(store.AddLanguage(kRussian, L"other"));
    ASSERT_TRUE(store.AddLanguage(kChinese, L"X"));
    store.SelectLanguage(L"other");
    store.SelectLanguage(L"x");
    EXPECT_EQ(Text(store, L"${tips}"), L"\u63D0\u793A");
}

TEST(ResourceStoreTexts, DocumentsThatDoNotLoadTakeNoSlot)
{
    CResourceStore store;
    EXPECT_FALSE(store.AddLanguage(L"<Language><Text id=\"${a}\" value=\"b\"/></Lang>", L"bad"));
    EXPECT_FALSE(store.AddLanguage(L"<Language id='single'/>", L"bad"));
    EXPECT_FALSE(store.AddLanguage(nullptr, L"bad"));
    // A path needs the skin setup's loader.
    EXPECT_FALSE(store.AddLanguage(L"lan/lan_en.xml", L"bad"));
    EXPECT_EQ(store.LanguageCount(), 0);
    ASSERT_TRUE(store.AddLanguage(kEnglish, L"en"));
    EXPECT_EQ(store.LanguageCount(), 1);
    EXPECT_STREQ(store.CurrentLanguageName(), L"en");
}

TEST(ResourceStoreTexts, SkinPathsGoThroughTheLoader)
{
    g_files = {{L"lan/lan_en.xml", kEnglish}};
    g_loaderCalls.clear();
    CResourceStore store;
    store.SetDocumentLoader(TableLoader);
    EXPECT_FALSE(store.AddLanguage(L"lan/missing.xml", L"xx"));
    ASSERT_TRUE(store.AddLanguage(L"lan/lan_en.xml", L"en"));
    EXPECT_EQ(Text(store, L"${tips}"), L"Notice");
    EXPECT_EQ(
        g_loaderCalls, (std::vector<std::wstring> {L"lan/missing.xml|(none)", L"lan/lan_en.xml|(none)"}));
}

TEST(ResourceStoreTexts, QueryAnswersMissingKeysOnce)
{
    RecordingQuery query;
    query.answers[L"${asked}"] = L"from{\\n}query";
    CResourceStore store;
    store.SetTextQueryCallback(&query);

    // Before any language: asked, stored in the first slot.
    EXPECT_EQ(Text(store, L"${asked}", L"Button"), L"from\nquery");
    EXPECT_EQ(Text(store, L"${asked}", L"Button"), L"from\nquery");
    EXPECT_EQ(query.asked, (std::vector<std::wstring> {L"${asked}|Button"}));

    // No answer: the key shows, and the next lookup asks again.
    query.asked.clear();
    EXPECT_EQ(Text(store, L"${unknown}", L"Label"), L"${unknown}");
    EXPECT_EQ(Text(store, L"${unknown}"), L"${unknown}");
    EXPECT_EQ(query.asked, (std::vector<std::wstring> {L"${unknown}|Label", L"${unknown}|(none)"}));
}

TEST(ResourceStoreTexts, QueryOverridesTextsOfANewLanguage)
{
    RecordingQuery query;
    query.answers[L"${tips}"] = L"Overridden";
    CResourceStore store;
    store.SetTextQueryCallback(&query);
    // The first slot already holds a key entered without a text.
    EXPECT_EQ(Text(store, L"${dup}"), L"${dup}");
    query.asked.clear();

    ASSERT_TRUE(store.AddLanguage(kEnglish, L"en"));
    // Every key of the new language is put to the query once, without a type.
    std::vector<std::wstring> asked = query.asked;
    std::sort(asked.begin(), asked.end());
    EXPECT_EQ(asked,
        (std::vector<std::wstring> {
            L"${dup}|(none)", L"${lower}|(none)", L"${tips}|(none)", L"${two_lines}|(none)"}));
    EXPECT_EQ(Text(store, L"${tips}"), L"Overridden");
    EXPECT_EQ(Text(store, L"${dup}"), L"late");
    EXPECT_EQ(Text(store, L"${two_lines}"), L"first\nsecond\n");

    // Texts the language has are not asked for again.
    query.asked.clear();
    EXPECT_EQ(Text(store, L"${lower}", L"Label"), L"any case");
    EXPECT_TRUE(query.asked.empty());
}

TEST(ResourceStoreIndex, GroupsFirstIdWinsAndKinds)
{
    CResourceStore store;
    ASSERT_TRUE(store.LoadResourceIndex(
        L"<Res>"
        L"<Layouts>"
        L"<Xml id=\"XML_MAIN\" path=\"xml/main.xml\"/>"
        L"<Xml id=\"XML_MAIN\" path=\"xml/second.xml\"/>"
        L"<xml ID=\"XML_MSG\" PATH=\"xml/msg.xml\"/>"
        L"<Xml id=\"XML_NO_PATH\"/>"
        L"</Layouts>"
        L"<Images><Deeper><Image id=\"logo\" path=\"img/logo.png\"/></Deeper>"
        L"<Image id=\"logo\" path=\"img/other.png\"/>"
        L"<Image id=\"XML_MAIN\" path=\"img/main.png\"/></Images>"
        L"<Xml id=\"XML_GROUP\" path=\"xml/group.xml\"><Xml id=\"XML_IN\" path=\"xml/in.xml\"/></Xml>"
        L"<Font id=\"f\" path=\"font.ttf\"/>"
        L"</Res>"));
    EXPECT_STREQ(store.LayoutPathOf(L"XML_MAIN"), L"xml/main.xml");
    EXPECT_STREQ(store.LayoutPathOf(L"XML_MSG"), L"xml/msg.xml");
    EXPECT_EQ(store.LayoutPathOf(L"XML_NO_PATH"), nullptr);
    EXPECT_STREQ(store.ImagePathOf(L"logo"), L"img/logo.png");
    // Images and layouts are separate indexes.
    EXPECT_STREQ(store.ImagePathOf(L"XML_MAIN"), L"img/main.png");
    EXPECT_EQ(store.ImagePathOf(L"XML_MSG"), nullptr);
    // An element with children is only a group.
    EXPECT_EQ(store.LayoutPathOf(L"XML_GROUP"), nullptr);
    EXPECT_STREQ(store.LayoutPathOf(L"XML_IN"), L"xml/in.xml");
    EXPECT_EQ(store.ImagePathOf(L"f"), nullptr);
    EXPECT_EQ(store.LayoutPathOf(L"xml_main"), nullptr);
    EXPECT_EQ(store.LayoutPathOf(nullptr), nullptr);

    // A second index adds, and keeps what is known.
    ASSERT_TRUE(
        store.LoadResourceIndex(L"<R><Xml id=\"XML_MAIN\" path=\"x\"/><Xml id=\"XML_NEW\" path=\"y\"/></R>"));
    EXPECT_STREQ(store.LayoutPathOf(L"XML_MAIN"), L"xml/main.xml");
    EXPECT_STREQ(store.LayoutPathOf(L"XML_NEW"), L"y");
    EXPECT_FALSE(store.LoadResourceIndex(L"<R><Xml id=\"z\" path=\"z\"/>"
                                         L"</X>"));
    EXPECT_EQ(store.LayoutPathOf(L"z"), nullptr);
    EXPECT_FALSE(store.LoadResourceIndex(nullptr));
}

TEST(ResourceStoreIndex, PathsAndResourceIdsGoThroughTheLoader)
{
    g_files = {{L"xml\\res.xml", L"<Res><Xml id=\"A\" path=\"a.xml\"/></Res>"},
        {L"#101", L"<Res><Image id=\"B\" path=\"b.png\"/></Res>"}};
    g_loaderCalls.clear();
    CResourceStore store;
    EXPECT_FALSE(store.LoadResourceIndex(L"xml\\res.xml"));
    store.SetDocumentLoader(TableLoader);
    ASSERT_TRUE(store.LoadResourceIndex(L"xml\\res.xml"));
    ASSERT_TRUE(store.LoadResourceIndex(reinterpret_cast<const wchar_t*>(uintptr_t(101)), L"XML"));
    EXPECT_FALSE(store.LoadResourceIndex(reinterpret_cast<const wchar_t*>(uintptr_t(102)), L"XML"));
    EXPECT_STREQ(store.LayoutPathOf(L"A"), L"a.xml");
    EXPECT_STREQ(store.ImagePathOf(L"B"), L"b.png");
    EXPECT_EQ(g_loaderCalls, (std::vector<std::wstring> {L"xml\\res.xml|(none)", L"#101|XML", L"#102|XML"}));
}

TEST(ResourceStoreIndex, DeepNestingIsCutOff)
{
    std::wstring deep = L"<Res>";
    for (int i = 0; i < 200; ++i) deep += L"<G>";
    deep += L"<Xml id=\"deep\" path=\"d\"/>";
    for (int i = 0; i < 200; ++i) deep += L"</G>";
    deep += L"<Xml id=\"shallow\" path=\"s\"/></Res>";
    CResourceStore store;
    ASSERT_TRUE(store.LoadResourceIndex(deep.c_str()));
    EXPECT_EQ(store.LayoutPathOf(L"deep"), nullptr);
    EXPECT_STREQ(store.LayoutPathOf(L"shallow"), L"s");
}

TEST(ResourceStoreInstance, OneStoreUntilReleased)
{
    CResourceStore* first = CResourceStore::GetInstance();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(CResourceStore::GetInstance(), first);
    ASSERT_TRUE(first->AddLanguage(kEnglish, L"en"));
    CResourceStore::ReleaseInstance();
    CResourceStore* second = CResourceStore::GetInstance();
    EXPECT_EQ(second->LanguageCount(), 0);
    EXPECT_EQ(second->LookupText(L"${tips}"), L"${tips}");
    CResourceStore::ReleaseInstance();
}
