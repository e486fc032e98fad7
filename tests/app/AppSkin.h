#pragma once

// The skin as the program opens it at start (archive resource, resource
// index), plus the three languages with English selected. Safe to call more
// than once.
bool OpenAppSkin();
