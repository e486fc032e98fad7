#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uilib/core/SkinMarkup.h"

using SkinUI::CSkinMarkup;
using SkinUI::CSkinMarkupNode;

namespace {

std::wstring Str(const wchar_t* text)
{
    return text ? std::wstring(text) : std::wstring(L"<null>");
}

std::wstring Value(const CSkinMarkupNode& node, const wchar_t* name)
{
    wchar_t buffer[256];
    if (!node.CopyAttributeValue(name, buffer, 256))
        return L"<missing>";
    return buffer;
}

struct ParseResult {
    bool ok;
    std::wstring message;
    std::wstring location;
};

ParseResult Parse(const std::wstring& xml)
{
    CSkinMarkup doc;
    bool ok = doc.LoadFromText(xml.c_str());
    return {ok, doc.LastErrorMessage(), doc.LastErrorLocation()};
}

} // namespace

TEST(SkinMarkupTree, ElementsChildrenAndSiblings)
{
    CSkinMarkup doc(L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                    L"<!-- main window -->\n"
                    L"<Window size=\"1230,650\">\n"
                    L"  <VerticalLayout name=\"body\">\n"
                    L"    <Button name=\"ok\" />\n"
                    L"    <!-- spacer -->\n"
                    L"    <Label name=\"title\"></Label >\n"
                    L"  </VerticalLayout>\n"
                    L"  <Font id=\"0\"/>\n"
                    L"</ Window>\n"
                    L"<Trailer/>");
    CSkinMarkupNode root = doc.Root();
    ASSERT_TRUE(root.IsValid());
    EXPECT_EQ(L"Window", Str(root.Name()));
    EXPECT_TRUE(root.HasChildren());
    EXPECT_EQ(L"1230,650", Value(root, L"SIZE"));

    CSkinMarkupNode body = root.FirstChild();
    EXPECT_EQ(L"VerticalLayout", Str(body.Name()));
    CSkinMarkupNode button = body.FirstChild();
    EXPECT_EQ(L"Button", Str(button.Name()));
    EXPECT_EQ(L"ok", Value(button, L"name"));
    EXPECT_FALSE(button.HasChildren());
    EXPECT_FALSE(button.FirstChild().IsValid());
    CSkinMarkupNode label = button.NextSibling();
    EXPECT_EQ(L"Label", Str(label.Name()));
    EXPECT_FALSE(label.NextSibling().IsValid());

    CSkinMarkupNode font = body.NextSibling();
    EXPECT_EQ(L"Font", Str(font.Name()));
    EXPECT_EQ(L"0", Value(font, L"id"));
    EXPECT_FALSE(font.NextSibling().IsValid());

    // Top-level elements after the root are its siblings.
    EXPECT_EQ(L"Trailer", Str(root.NextSibling().Name()));
}

TEST(SkinMarkupTree, ManyElementsGrowTheTable)
{
    std::wstring xml = L"<List>";
    for (int i = 0; i < 3000; ++i)
        xml += L"<Item n=\"" + std::to_wstring(i) + L"\"/>";
    xml += L"</List>";
    CSkinMarkup doc;
    ASSERT_TRUE(doc.LoadFromText(xml.c_str()));
    int count = 0;
    for (CSkinMarkupNode n = doc.Root().FirstChild(); n.IsValid(); n = n.NextSibling()) {
        ASSERT_EQ(std::to_wstring(count), Value(n, L"n"));
        ++count;
    }
    EXPECT_EQ(3000, count);
}

std::wstring Nested(int depth)
{
    std::wstring xml;
    for (int i = 0; i < depth; ++i)
        xml += L"<d>";
    for (int i = 0; i < depth; ++i)
        xml += L"</d>";
    return xml;
}

TEST(SkinMarkupTree, NestingIsBounded)
{
    const int depth = CSkinMarkup::kMaxNestingDepth;
    CSkinMarkup doc;
    ASSERT_TRUE(doc.LoadFromText(Nested(depth).c_str())) << Str(doc.LastErrorMessage());
    int levels = 0;
    for (CSkinMarkupNode n = doc.Root(); n.IsValid(); n = n.FirstChild())
        ++levels;
    EXPECT_EQ(depth, levels);

    EXPECT_FALSE(doc.LoadFromText(Nested(depth + 1).c_str()));
    EXPECT_EQ(L"Elements nested too deeply", Str(doc.LastErrorMessage()));
    EXPECT_FALSE(doc.LoadFromText(Nested(100000).c_str()));
}

TEST(SkinMarkupAttributes, EntitiesDecodeInPlace)
{
    CSkinMarkup doc(L"<Root text=\"Tom\" caption=\"Salt &amp; Pepper\" "
                    L"q=\"say &quot;hi&quot; &lt;now&gt; &apos;x&apos;\" "
                    L"raw=\"&#65; &#x42; &copy; & &amp &ampx;\" sp=\"  two  spaces \" empty=\"\"/>");
    CSkinMarkupNode root = doc.Root();
    ASSERT_TRUE(root.IsValid());
    ASSERT_EQ(6, root.AttributeCount());
    EXPECT_EQ(L"caption", Str(root.AttributeName(1)));
    EXPECT_EQ(L"Salt & Pepper", Str(root.AttributeValue(1)));
    EXPECT_EQ(L"say \"hi\" <now> 'x'", Value(root, L"q"));
    EXPECT_EQ(L"&#65; &#x42; &copy; & &amp &ampx;", Value(root, L"raw"));
    EXPECT_EQ(L"  two  spaces ", Value(root, L"sp"));
    EXPECT_EQ(L"", Value(root, L"empty"));
    EXPECT_EQ(L"<missing>", Value(root, L"absent"));
}

TEST(SkinMarkupAttributes, ContentEntitiesDoNotBreakStructure)
{
    CSkinMarkup doc(L"<a>x &lt;b&gt; &amp; y<b v=\"1\"/></a>");
    CSkinMarkupNode b = doc.Root().FirstChild();
    ASSERT_TRUE(b.IsValid());
    EXPECT_EQ(L"b", Str(b.Name()));
    EXPECT_EQ(L"1", Value(b, L"v"));
    EXPECT_FALSE(doc.Root().HasAttributes());
}

TEST(SkinMarkupAttributes, SpacesAroundEqualsKeepLaterAttributesVisible)
{
    CSkinMarkup doc(L"<Button name = \"ok\"  text=\"OK\"\n\twidth =\"80\"/>");
    CSkinMarkupNode n = doc.Root();
    ASSERT_EQ(3, n.AttributeCount());
    EXPECT_EQ(L"name", Str(n.AttributeName(0)));
    EXPECT_EQ(L"ok", Str(n.AttributeValue(0)));
    EXPECT_EQ(L"OK", Value(n, L"text"));
    EXPECT_EQ(L"80", Value(n, L"width"));
}

TEST(SkinMarkupAttributes, SixtyFourVisibleOfSeventy)
{
    std::wstring xml = L"<Many";
    for (int i = 0; i < 70; ++i)
        xml += L" a" + std::to_wstring(i) + L"=\"" + std::to_wstring(i) + L"\"";
    xml += L"><Child/></Many>";
    CSkinMarkup doc;
    ASSERT_TRUE(doc.LoadFromText(xml.c_str()));
    CSkinMarkupNode n = doc.Root();
    EXPECT_EQ(64, n.AttributeCount());
    EXPECT_EQ(L"a63", Str(n.AttributeName(63)));
    EXPECT_EQ(L"", Str(n.AttributeName(64)));
    EXPECT_EQ(L"<missing>", Value(n, L"a65"));
    EXPECT_EQ(L"Child", Str(n.FirstChild().Name()));
}

TEST(SkinMarkupAttributes, IndexOutOfRangeAndInvalidNodes)
{
    CSkinMarkup doc(L"<a x=\"1\"/>");
    CSkinMarkupNode n = doc.Root();
    EXPECT_EQ(L"", Str(n.AttributeName(-1)));
    EXPECT_EQ(L"", Str(n.AttributeValue(1)));

    CSkinMarkupNode invalid;
    EXPECT_FALSE(invalid.IsValid());
    EXPECT_EQ(nullptr, invalid.Name());
    EXPECT_EQ(nullptr, invalid.AttributeName(0));
    EXPECT_EQ(nullptr, invalid.AttributeValue(0));
    EXPECT_EQ(0, invalid.AttributeCount());
    EXPECT_FALSE(invalid.HasAttributes());
    EXPECT_FALSE(invalid.HasChildren());
    EXPECT_FALSE(invalid.FirstChild().IsValid());
    wchar_t buffer[4] = L"abc";
    EXPECT_FALSE(invalid.CopyAttributeValue(L"x", buffer, 4));
}

TEST(SkinMarkupAttributes, CopyIsCutAndAlwaysTerminated)
{
    CSkinMarkup doc(L"<a long=\"0123456789\"/>");
    CSkinMarkupNode n = doc.Root();
    wchar_t buffer[8];
    wmemset(buffer, L'#', 8);
    ASSERT_TRUE(n.CopyAttributeValue(L"LONG", buffer, 5));
    EXPECT_EQ(L"0123", std::wstring(buffer));
    EXPECT_EQ(L'#', buffer[5]);
    EXPECT_FALSE(n.CopyAttributeValue(L"long", buffer, 0));
    ASSERT_TRUE(n.CopyAttributeValue(L"long", buffer, 1));
    EXPECT_EQ(L'\0', buffer[0]);
}

TEST(SkinMarkupErrors, MessagesAndLocations)
{
    const struct {
        const wchar_t* xml;
        const wchar_t* message;
        const wchar_t* location;
    } cases[] = {
        {L"junk<a/>", L"Expected start tag", L"junk<a/>"},
        {L"<a v='x'/>", L"Expected attribute value", L"'x'/>"},
        {L"<Window></window>", L"Unmatched closing tag", L"window>"},
        {L"<ab></a>", L"Unmatched closing tag", L"a>"},
        {L"<a><b></bc></a>", L"Unmatched closing tag", L"c></a>"},
        {L"<a x=\"1\" y></a>", L"Error while parsing attributes", L"></a>"},
        {L"<a ?=\"1\"/>", L"Error while parsing attributes", L"?=\"1\"/>"},
        {L"<a x=\"1\" / >", L"Expected start-tag closing", L"/ >"},
        {L"<a x=\"1\"", L"Expected start-tag closing", L""},
        {L"<abc", L"Error parsing element name", L""},
        {L"<a x=\"open", L"Error while parsing attribute string", L""},
        {L"<a><b><c>text", L"Expected end-tag start", L""},
        {L"<a><b><c/>", L"Expected start tag", L""},
        {L"<a><b/>text</a>", L"Expected start tag", L"text</a>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.xml, c.xml + wcslen(c.xml)).c_str());
        ParseResult r = Parse(c.xml);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(c.message, r.message);
        EXPECT_EQ(c.location, r.location);
    }
}

TEST(SkinMarkupErrors, LocationIsCutToFortyNineCharacters)
{
    ParseResult junk = Parse(std::wstring(80, L'j'));
    EXPECT_EQ(std::wstring(49, L'j'), junk.location);
}

TEST(SkinMarkupErrors, FailedLoadReleasesTheDocument)
{
    CSkinMarkup doc(L"<ok/>");
    ASSERT_TRUE(doc.Root().IsValid());
    EXPECT_FALSE(doc.LoadFromText(L"<broken"));
    EXPECT_FALSE(doc.Root().IsValid());
    EXPECT_TRUE(doc.LoadFromText(L"<again/>"));
    EXPECT_EQ(L"", std::wstring(doc.LastErrorMessage()));
}

TEST(SkinMarkupErrors, OpenElementsAtTheEnd)
{
    // The root's end tag may be missing; a deeper one may not.
    CSkinMarkup open(L"<Window><Child x=\"1\"/>");
    ASSERT_TRUE(open.Root().IsValid());
    EXPECT_EQ(L"1", Value(open.Root().FirstChild(), L"x"));
    EXPECT_TRUE(Parse(L"<a>text").ok);
    EXPECT_TRUE(Parse(L"<a><b>text").ok);
    EXPECT_FALSE(Parse(L"<a><b><c/>").ok);
    EXPECT_FALSE(Parse(L"<a><b><c></c>").ok);
}

TEST(SkinMarkupSections, CommentsAndDeclarationsAreSkipped)
{
    CSkinMarkup doc(L"<?xml version=\"1.0\"?><!-- <fake/> --><a><!-- <b/> --><?pi x?><c/></a>");
    ASSERT_TRUE(doc.Root().IsValid());
    EXPECT_EQ(L"a", Str(doc.Root().Name()));
    EXPECT_EQ(L"c", Str(doc.Root().FirstChild().Name()));
    EXPECT_FALSE(doc.Root().FirstChild().NextSibling().IsValid());

    // An unclosed section runs to the end of the text.
    CSkinMarkup comment(L"<!-- never closed <a/>");
    EXPECT_FALSE(comment.Root().IsValid());
    CSkinMarkup pi(L"<?xml <a/>");
    EXPECT_FALSE(pi.Root().IsValid());
    CSkinMarkup empty(L"   ");
    EXPECT_FALSE(empty.Root().IsValid());
}

TEST(SkinMarkupBytes, Utf8WithAndWithoutByteOrderMark)
{
    const std::string body = "<Text id=\"${hello}\" value=\"\xE4\xBD\xA0\xE5\xA5\xBD &amp; \xD0\x9F\"/>";
    const std::wstring expected = std::wstring(L"\x4F60\x597D & \x041F");
    for (const std::string& bytes : {body, "\xEF\xBB\xBF" + body}) {
        CSkinMarkup doc;
        ASSERT_TRUE(doc.LoadFromBytes(bytes.data(), bytes.size()));
        EXPECT_EQ(L"Text", Str(doc.Root().Name()));
        EXPECT_EQ(expected, Value(doc.Root(), L"value"));
        EXPECT_EQ(L"${hello}", Value(doc.Root(), L"id"));
    }
}

TEST(SkinMarkupBytes, ReloadReplacesThePreviousDocument)
{
    const std::string first = "<first/>";
    const std::string second = "<second/>";
    CSkinMarkup doc;
    ASSERT_TRUE(doc.LoadFromBytes(first.data(), first.size()));
    ASSERT_TRUE(doc.LoadFromBytes(second.data(), second.size()));
    EXPECT_EQ(L"second", Str(doc.Root().Name()));
    EXPECT_TRUE(doc.LoadFromBytes(nullptr, 0));
    EXPECT_FALSE(doc.Root().IsValid());
}

TEST(SkinMarkupHostile, EveryTruncationParsesOrFailsCleanly)
{
    const std::string xml =
        "\xEF\xBB\xBF<?xml version=\"1.0\"?><!-- c --><Window a=\"1 &amp; 2\" b = \"&lt;&quot;\">"
        "<Layout><Button name=\"x&apos;\" text=\"\xE4\xBD\xA0\"/>text &gt;<Label/></Layout></Window>";
    for (size_t n = 0; n <= xml.size(); ++n) {
        CSkinMarkup doc;
        bool ok = doc.LoadFromBytes(xml.data(), n);
        CSkinMarkupNode root = doc.Root();
        if (!ok) {
            EXPECT_FALSE(root.IsValid());
            EXPECT_NE(L'\0', doc.LastErrorMessage()[0]) << n;
            continue;
        }
        for (CSkinMarkupNode c = root; c.IsValid(); c = c.FirstChild()) {
            for (int i = 0; i < c.AttributeCount(); ++i)
                EXPECT_NE(nullptr, c.AttributeValue(i));
        }
    }
}

TEST(SkinMarkupHostile, MutatedInputNeverReadsOutside)
{
    const std::string base =
        "<Window caption=\"a &amp; b\"><VerticalLayout><Button name=\"ok\" text=\"&quot;\"/>"
        "<!-- x --><Edit/></VerticalLayout></Window>";
    const char replacements[] = {'<', '>', '/', '"', '&', ';', '=', '!', '?', '-', ' ', '\0', 'a'};
    unsigned int seed = 12345;
    for (int round = 0; round < 3000; ++round) {
        std::string xml = base;
        for (int k = 0; k < 3; ++k) {
            seed = seed * 1103515245u + 12345u;
            size_t pos = (seed >> 8) % xml.size();
            seed = seed * 1103515245u + 12345u;
            xml[pos] = replacements[(seed >> 8) % sizeof(replacements)];
        }
        CSkinMarkup doc;
        if (doc.LoadFromBytes(xml.data(), xml.size())) {
            for (CSkinMarkupNode n = doc.Root(); n.IsValid(); n = n.FirstChild()) {
                wchar_t buffer[8];
                n.CopyAttributeValue(L"name", buffer, 8);
                for (int i = 0; i < n.AttributeCount(); ++i)
                    ASSERT_NE(nullptr, n.AttributeName(i));
            }
        }
    }
}
