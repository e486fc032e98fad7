#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "uilib/core/SkinMarkup.h"

using SkinUI::CSkinMarkup;

namespace {

class SkinMarkupFile : public testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        ASSERT_NE(0u, GetTempPathW(MAX_PATH, temp));
        m_dir = std::wstring(temp) + L"skinmarkup_test_" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(m_dir.c_str(), nullptr);
    }

    void TearDown() override
    {
        for (const std::wstring& f : m_files)
            DeleteFileW(f.c_str());
        RemoveDirectoryW(m_dir.c_str());
    }

    std::wstring Write(const wchar_t* name, const std::string& bytes)
    {
        std::wstring path = m_dir + L"\\" + name;
        HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(INVALID_HANDLE_VALUE, h);
        DWORD written = 0;
        if (!bytes.empty())
            WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
        m_files.push_back(path);
        return path;
    }

    std::wstring m_dir;
    std::vector<std::wstring> m_files;
};

} // namespace

TEST_F(SkinMarkupFile, LoadsUtf8File)
{
    std::wstring path = Write(L"res.xml", "\xEF\xBB\xBF<Res><Image id=\"logo\" path=\"img/logo.png\"/></Res>");
    CSkinMarkup doc;
    ASSERT_TRUE(doc.LoadFromDiskFile(path.c_str())) << doc.LastErrorMessage();
    EXPECT_STREQ(L"Res", doc.Root().Name());
    EXPECT_STREQ(L"img/logo.png", doc.Root().FirstChild().AttributeValue(1));
}

TEST_F(SkinMarkupFile, FileErrorsHaveEmptyLocation)
{
    CSkinMarkup doc(L"<previous/>");
    EXPECT_FALSE(doc.LoadFromDiskFile((m_dir + L"\\missing.xml").c_str()));
    EXPECT_STREQ(L"Error opening file", doc.LastErrorMessage());
    EXPECT_STREQ(L"", doc.LastErrorLocation());
    EXPECT_FALSE(doc.Root().IsValid());

    EXPECT_FALSE(doc.LoadFromDiskFile(Write(L"empty.xml", "").c_str()));
    EXPECT_STREQ(L"File is empty", doc.LastErrorMessage());

    std::string big(CSkinMarkup::kMaxDocumentBytes + 1, ' ');
    EXPECT_FALSE(doc.LoadFromDiskFile(Write(L"big.xml", big).c_str()));
    EXPECT_STREQ(L"File too large", doc.LastErrorMessage());

    EXPECT_FALSE(doc.LoadFromDiskFile(nullptr));
    EXPECT_STREQ(L"Error opening file", doc.LastErrorMessage());
}

TEST_F(SkinMarkupFile, LargestFileIsAccepted)
{
    std::string xml = "<big/>";
    xml.resize(CSkinMarkup::kMaxDocumentBytes, ' ');
    CSkinMarkup doc;
    EXPECT_TRUE(doc.LoadFromDiskFile(Write(L"max.xml", xml).c_str()));
    EXPECT_STREQ(L"big", doc.Root().Name());
}

TEST_F(SkinMarkupFile, ParseErrorsKeepTheirLocation)
{
    CSkinMarkup doc;
    EXPECT_FALSE(doc.LoadFromDiskFile(Write(L"bad.xml", "<a b=\"1\" c></a>").c_str()));
    EXPECT_STREQ(L"Error while parsing attributes", doc.LastErrorMessage());
    EXPECT_STREQ(L"></a>", doc.LastErrorLocation());
}
