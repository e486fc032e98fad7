// The file steps that differ between Windows and the native build.
#pragma once

#include <cstdio>
#include <filesystem>

// fopen with a wide path on Windows; mode as for fopen ("rb", "wb").
FILE* OpenPathFile(const std::filesystem::path& path, const char* mode);

// Writes the file's flushed data through to the disk; false when that failed.
bool SyncFileToDisk(FILE* file);

// Moves from over to, replacing an existing to in one step.
bool MovePathReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

// True when path exists and is marked read-only.
bool IsPathReadOnly(const std::filesystem::path& path);
