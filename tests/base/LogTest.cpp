#include "base/Log.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <io.h>

#include <chrono>
#include <cstdio>
#include <future>
#include <string>
#include <thread>

#include "base/AnsiText.h"
#include "tests/support/WideFile.h"

namespace {

using sim::ReadWideFile;

std::wstring TempPath(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

long long SizeOnDisk(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

class LogTest : public ::testing::Test {
protected:
    void SetUp() override {
        path = TempPath(L"brisa_log_test.log");
        ASSERT_TRUE(OpenLogFile(path.c_str()));
    }
    void TearDown() override {
        CloseLog();
        LogTimePrefixOn = 1;
        DeleteFileW(path.c_str());
    }
    std::wstring path;
};

TEST(LogOff, WritesNothingAndReturnsZero) {
    CloseLog();
    EXPECT_EQ(0, LogPrintW(L"hello %d\n", 5));
    EXPECT_EQ(0, LogPrintA("hello %d\n", 5));
}

TEST(LogOpen, FailsOnAnUnwritablePathAndStaysOff) {
    EXPECT_FALSE(OpenLogFile(L"Z:\\no\\such\\folder\\save.log"));
    EXPECT_EQ(0, LogPrintW(L"x\n"));
}

TEST_F(LogTest, WideFormatTakesWideAndNarrowTexts) {
    LogTimePrefixOn = 0;
    EXPECT_EQ(18, LogPrintW(L"%s|%S|%d|%ls\n", L"wide", "narrow", 42, L"ok"));
    CloseLog();
    EXPECT_EQ(L"wide|narrow|42|ok\n", ReadWideFile(path));
}

TEST_F(LogTest, PercentInsideAnArgumentIsNotFormattedAgain) {
    LogTimePrefixOn = 0;
    LogPrintW(L"file %s\n", L"100%s_%d.bin");
    CloseLog();
    EXPECT_EQ(L"file 100%s_%d.bin\n", ReadWideFile(path));
}

TEST_F(LogTest, PrefixFlagControlsTheTimeStamp) {
    LogPrintW(L"title:");
    LogTimePrefixOn = 0;
    LogPrintW(L"aa bb ");
    LogPrintW(L"\n");
    LogTimePrefixOn = 1;
    LogPrintW(L"next\n");
    CloseLog();
    std::wstring text = ReadWideFile(path);
    // "[hh:mm:ss.mmm] title:aa bb \n[hh:mm:ss.mmm] next\n"
    ASSERT_EQ(15u + 13u + 15u + 5u, text.size()) << std::string(text.begin(), text.end());
    EXPECT_EQ(L'[', text[0]);
    EXPECT_EQ(L':', text[3]);
    EXPECT_EQ(L'.', text[9]);
    EXPECT_EQ(L"] title:aa bb \n", text.substr(13, 15));
    EXPECT_EQ(L"] next\n", text.substr(28 + 13));
}

TEST_F(LogTest, FlushesAfterThe12thAndThe23rdEntry) {
    LogTimePrefixOn = 0;
    for (int i = 1; i <= 11; ++i) LogPrintW(L"e\n");
    EXPECT_EQ(0, SizeOnDisk(path));
    LogPrintW(L"e\n");
    EXPECT_EQ(12 * 4, SizeOnDisk(path));
    for (int i = 13; i <= 22; ++i) LogPrintW(L"e\n");
    EXPECT_EQ(12 * 4, SizeOnDisk(path));
    LogPrintW(L"e\n");
    EXPECT_EQ(23 * 4, SizeOnDisk(path));
}

// A console that takes nothing (standard output a full pipe nobody reads yet)
// holds neither the callers nor the file, however far behind it falls.
TEST_F(LogTest, EntriesDoNotWaitOnTheConsole) {
    LogTimePrefixOn = 0;
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 4096));
    fflush(stdout);
    const int savedOut = _dup(1);
    const int pipeOut = _open_osfhandle(reinterpret_cast<intptr_t>(writeEnd), 0);
    _dup2(pipeOut, 1);
    const std::wstring line(99, L'c');
    std::promise<void> written;
    std::thread writer([&] {
        for (int i = 0; i < 2000; ++i) LogPrintW(L"%s\n", line.c_str());
        written.set_value();
    });
    bool returned = written.get_future().wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    std::thread reader([&] {
        char sink[4096];
        DWORD got = 0;
        while (ReadFile(readEnd, sink, sizeof(sink), &got, nullptr) && got > 0) {
        }
    });
    writer.join();
    CloseLog();
    fflush(stdout);
    _dup2(savedOut, 1);
    _close(savedOut);
    _close(pipeOut);
    reader.join();
    CloseHandle(readEnd);
    EXPECT_TRUE(returned) << "the entries waited on the console";
    EXPECT_EQ(2000 * 200, SizeOnDisk(path));
}

TEST_F(LogTest, OverlongEntryIsCutNotOverrun) {
    LogTimePrefixOn = 0;
    std::wstring longText(5000, L'x');
    int written = LogPrintW(L"%s", longText.c_str());
    EXPECT_EQ(1023, written);
    std::string narrow(3000, 'y');
    EXPECT_EQ(1023, LogPrintA("%s", narrow.c_str()));
    CloseLog();
    FILE* f = _wfopen(path.c_str(), L"rb");
    ASSERT_NE(nullptr, f);
    fseek(f, 0, SEEK_END);
    EXPECT_EQ(1023 * 2 + 1023, ftell(f));
    fclose(f);
}

TEST_F(LogTest, NarrowEntriesAreWrittenAsBytes) {
    LogTimePrefixOn = 0;
    LogPrintA("return UPG_FILE_INVALID %s %d\n", "a.bin", 2);
    CloseLog();
    FILE* f = _wfopen(path.c_str(), L"rb");
    ASSERT_NE(nullptr, f);
    char buffer[64] = {};
    size_t n = fread(buffer, 1, sizeof(buffer) - 1, f);
    fclose(f);
    EXPECT_EQ(std::string("return UPG_FILE_INVALID a.bin 2\n"), std::string(buffer, n));
}

TEST(AnsiText, ConvertsWithinTheBufferOnly) {
    wchar_t wide[8];
    ASSERT_TRUE(AnsiToWide("Scene 1", wide, 8));
    EXPECT_STREQ(L"Scene 1", wide);
    EXPECT_FALSE(AnsiToWide("Scene 10", wide, 8)) << "terminator does not fit";
    char narrow[8];
    ASSERT_TRUE(WideToAnsi(L"Bass", narrow, 8));
    EXPECT_STREQ("Bass", narrow);
    EXPECT_FALSE(WideToAnsi(L"Too long name", narrow, 8));
    EXPECT_STREQ("", narrow);
}

}  // namespace
