// Text bound for standard output, written by a thread of its own: a console
// can take seconds over a burst of entries, and no log caller may wait on it.
// Safe to call from any thread; text comes out in the order it was put.
// The process exit gives the console a second to take what is queued and
// then ends without it.
#pragma once

#include <cstddef>

// Appends narrow bytes and returns at once. While the console is too far
// behind to hold them they are left out, and where they would have been the
// console says how many bytes it left out.
void ConsolePut(const char* bytes, size_t length);

// The same for wide text of up to 1024 characters, converted through the
// runtime's character-type locale as the console's wide output would; a
// character the locale cannot show becomes '?'.
void ConsolePutWide(const wchar_t* text, size_t length);
