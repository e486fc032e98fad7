// The kit's record of its failed steps, and the plain poll its own retries use.
#pragma once

#include <functional>
#include <string>

namespace e2e {

// Keeps a failed step's line ("click send_btn in Kit Host: not visible");
// false, so that a step can end with it.
bool NoteFailedStep(const std::string& line);
// Keeps the last probe request and its reply, which a failed wait reports.
void NoteSeen(const std::string& request, const std::string& reply);
// Polls condition until it holds or boundMs passed, keeping nothing.
bool Poll(const std::function<bool()>& condition, int boundMs);

}  // namespace e2e
