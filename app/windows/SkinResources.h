// Where the program's skin comes from: the password-protected archive kept
// inside the executable.
#pragma once

// Points the framework at the archive resource "IDR_ZIPRES" and reads its
// resource index. A missing archive leaves the framework without one.
void LoadSkinResources();

// The three language files, English, Chinese and Russian in this order; each
// added one becomes current, so Russian is until a choice is made.
void RegisterSkinLanguages();
