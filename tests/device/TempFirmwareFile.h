// A firmware file written to the working folder for one test and removed
// when it ends. Each test program names its files with a prefix of its own,
// since the programs run side by side in the same folder.
#pragma once

#include <gtest/gtest.h>
#include <stdio.h>

#include <cstdint>
#include <string>
#include <vector>

namespace fwtest {

class TempFile {
public:
    TempFile(const std::wstring& prefix, const std::wstring& name, const std::vector<uint8_t>& bytes)
        : path_(prefix + name) {
        FILE* f = _wfopen(path_.c_str(), L"wb");
        EXPECT_NE(f, nullptr);
        if (f == nullptr) return;
        if (!bytes.empty()) {
            EXPECT_EQ(fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
        }
        fclose(f);
    }
    ~TempFile() { _wremove(path_.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const wchar_t* path() const { return path_.c_str(); }

private:
    std::wstring path_;
};

}  // namespace fwtest
