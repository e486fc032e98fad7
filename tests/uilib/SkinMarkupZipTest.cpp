#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/uilib/ZipTestArchive.h"
#include "uilib/core/SkinMarkup.h"
#include "uilib/core/ZipReader.h"

using SkinUI::CSkinMarkup;

namespace {

const char kPassword[] = "skin-Password_2026";

SkinUITest::TTestMember Member(const std::string& name, const std::string& text, uint16_t method,
                               const std::string& password = kPassword)
{
    SkinUITest::TTestMember m;
    m.name = name;
    m.data = SkinUITest::TextBytes(text);
    m.method = method;
    m.password = password;
    m.descriptor = !password.empty();
    return m;
}

class SkinMarkupZip : public testing::Test {
protected:
    void Open(const char* password)
    {
        m_archive = SkinUITest::BuildTestZip({
            Member("XML/main_dlg.xml", "\xEF\xBB\xBF<Window size=\"1230,650\"><Button name=\"ok\"/></Window>", 8),
            Member("xml/res.xml", "<Res><Image id=\"a\" path=\"a.png\"/></Res>", 0),
            Member("empty.xml", "", 0),
            Member("big.xml", "<big/>" + std::string(CSkinMarkup::kMaxDocumentBytes, ' '), 8),
            Member("plain.xml", "<plain/>", 8, ""),
        });
        ASSERT_EQ(SkinUI::ZR_OK, m_reader.OpenMemory(m_archive.bytes.data(),
                                                      static_cast<uint32_t>(m_archive.bytes.size()), password));
        m_zip = &m_reader;
    }

    SkinUITest::TTestArchive m_archive;
    SkinUI::CZipReader m_reader;
    SkinUI::CZipReader* m_zip = nullptr;
};

} // namespace

TEST_F(SkinMarkupZip, BackslashNamesFindEntriesIgnoringCase)
{
    Open(kPassword);
    CSkinMarkup doc;
    ASSERT_TRUE(doc.LoadFromZipEntry(m_zip, L"xml\\Main_dlg.xml")) << doc.LastErrorMessage();
    EXPECT_STREQ(L"Window", doc.Root().Name());
    EXPECT_STREQ(L"ok", doc.Root().FirstChild().AttributeValue(0));

    ASSERT_TRUE(doc.LoadFromZipEntry(m_zip, L"XML/RES.XML"));
    EXPECT_STREQ(L"a.png", doc.Root().FirstChild().AttributeValue(1));
    ASSERT_TRUE(doc.LoadFromZipEntry(m_zip, L"plain.xml"));
    EXPECT_STREQ(L"plain", doc.Root().Name());
}

TEST_F(SkinMarkupZip, EntryErrors)
{
    Open(kPassword);
    const struct {
        const wchar_t* name;
        const wchar_t* message;
    } cases[] = {
        {L"xml\\missing.xml", L"Could not find ziped file"},
        {L"empty.xml", L"File is empty"},
        {L"big.xml", L"File too large"},
    };
    for (const auto& c : cases) {
        CSkinMarkup doc(L"<previous/>");
        EXPECT_FALSE(doc.LoadFromZipEntry(m_zip, c.name));
        EXPECT_STREQ(c.message, doc.LastErrorMessage());
        EXPECT_STREQ(L"", doc.LastErrorLocation());
        EXPECT_FALSE(doc.Root().IsValid());
    }

    CSkinMarkup doc;
    EXPECT_FALSE(doc.LoadFromZipEntry(nullptr, L"xml/res.xml"));
    EXPECT_STREQ(L"Error opening zip file", doc.LastErrorMessage());
}

TEST_F(SkinMarkupZip, WrongPasswordCannotUnzip)
{
    Open("not the password");
    CSkinMarkup doc;
    EXPECT_FALSE(doc.LoadFromZipEntry(m_zip, L"xml/res.xml"));
    EXPECT_STREQ(L"Could not unzip file", doc.LastErrorMessage());
    EXPECT_TRUE(doc.LoadFromZipEntry(m_zip, L"plain.xml"));
}
