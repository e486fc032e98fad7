// A language file of 1 MB: loading it (with and without a text-query
// callback), looking every text up, freeing it, and turning the "{\n}" marks
// of a 1 MB text into line breaks. Each step must stay linear in the size.
#include <chrono>
#include <cstdio>
#include <string>

#include "uilib/core/ResourceStore.h"
#include "uilib/core/UIString.h"

using namespace SkinUI;

namespace {

const int kTexts = 32000;

double MillisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

std::wstring Key(int i)
{
    return L"${text_" + std::to_wstring(i) + L"}";
}

// About 32 bytes of markup per text.
std::wstring LanguageFile()
{
    std::wstring xml = L"<Language>";
    for (int i = 0; i < kTexts; ++i) xml += L"<Text id=\"" + Key(i) + L"\" value=\"a{\\n}b\"/>";
    xml += L"</Language>";
    return xml;
}

class EveryKeyAnswered : public IQueryControlText {
public:
    const wchar_t* LookupControlText(const wchar_t*, const wchar_t*) override { return L"answer{\\n}x"; }
};

// Budgets: 500 ms to load, with or without the callback, 100 ms for every
// lookup, 100 ms to free.
void LanguageFileRoundTrip(bool withQuery)
{
    const std::wstring xml = LanguageFile();
    EveryKeyAnswered query;
    CResourceStore* store = CResourceStore::GetInstance();
    if (withQuery) store->SetTextQueryCallback(&query);

    auto start = std::chrono::steady_clock::now();
    const bool loaded = store->AddLanguage(xml.c_str(), L"big");
    const double load = MillisecondsSince(start);

    start = std::chrono::steady_clock::now();
    size_t characters = 0;
    for (int i = 0; i < kTexts; ++i) characters += static_cast<size_t>(store->LookupText(Key(i).c_str()).Length());
    const double lookups = MillisecondsSince(start);

    start = std::chrono::steady_clock::now();
    CResourceStore::ReleaseInstance();
    const double release = MillisecondsSince(start);

    std::printf("language file of %zu KB, %d texts%s (%s, %zu characters looked up):\n", xml.size() / 1024, kTexts,
                withQuery ? " with a text-query callback" : "", loaded ? "loaded" : "NOT LOADED", characters);
    std::printf("  load %.1f ms (budget 500 ms), every lookup %.1f ms (budget 100 ms), free %.1f ms (budget 100 ms)\n",
                load, lookups, release);
}

// Budget: 50 ms for a 1 MB text with a line break every 32 characters.
void LineBreaksInAMegabyteText()
{
    std::wstring text;
    while (text.size() < 1024 * 1024) text += L"twenty-nine characters here{\\n}";
    CUIString big(text.c_str());
    const auto start = std::chrono::steady_clock::now();
    const int hits = big.ReplaceAll(L"{\\n}", L"\n");
    std::printf("line breaks in a 1 MB text: %d replaced in %.1f ms (budget 50 ms), %d characters left\n", hits,
                MillisecondsSince(start), big.Length());
}

} // namespace

int main()
{
    LanguageFileRoundTrip(false);
    LanguageFileRoundTrip(true);
    LineBreaksInAMegabyteText();
    return 0;
}
