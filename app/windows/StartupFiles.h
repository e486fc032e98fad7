// Marker files in the current directory switch behaviour by their existence.
#pragma once

// True when name exists in the current directory (also when access to it is denied).
bool FileExistsInCurrentDir(const wchar_t* name);
