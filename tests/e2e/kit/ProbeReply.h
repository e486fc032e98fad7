// Reading the probe's replies: record fields, escaped texts, frames.
#pragma once

#include <map>
#include <string>

#include "tests/e2e/kit/BrisaE2E.h"

namespace e2e {

// The "key=value" fields of an "OK ..." record, texts unescaped; empty for "ERR ...".
std::map<std::string, std::string> ParseRecord(const std::string& reply);
std::string Unescape(const std::string& text);
// "l,t,r,b"; false when it is not four integers.
bool ParseRect(const std::string& text, Rect* rect);

ControlState ParseControl(const std::string& reply);
WindowState ParseWindow(const std::string& reply);
// "01 09 bb 000001"
UnitFrame ParseFrame(const std::string& line);
ProcessResources ParseResources(const std::string& reply);

}  // namespace e2e
