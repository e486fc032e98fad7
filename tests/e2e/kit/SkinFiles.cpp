// The source tree's files the end-to-end tests compare with.
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "tests/e2e/kit/BrisaE2E.h"

namespace e2e {

namespace {

std::string DecodeEntities(const std::string& text) {
    static const std::pair<const char*, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string plain;
    for (size_t i = 0; i < text.size();) {
        bool decoded = false;
        for (const auto& entity : kEntities) {
            const std::string name = entity.first;
            if (text.compare(i, name.size(), name) == 0) {
                plain += entity.second;
                i += name.size();
                decoded = true;
                break;
            }
        }
        if (!decoded) plain += text[i++];
    }
    return plain;
}

}  // namespace

std::string SkinText(const std::string& language, const std::string& key) {
    std::ifstream in(std::string(BRISA_SOURCE_DIR) + "/skin/lan/lan_" + language + ".xml");
    std::stringstream content;
    content << in.rdbuf();
    const std::string xml = content.str();
    const std::string id = "id=\"${" + key + "}\"";
    const size_t at = xml.find(id);
    if (at == std::string::npos) return std::string();
    const size_t value = xml.find("value=\"", at);
    const size_t end = value == std::string::npos ? value : xml.find('"', value + 7);
    if (end == std::string::npos || xml.find('>', at) < value) return std::string();
    return DecodeEntities(xml.substr(value + 7, end - value - 7));
}

std::string ScreenshotFolder() {
    const std::string build = std::string(BRISA_SOURCE_DIR) + "/build";
    const std::string folder = build + "/screenshots";
    mkdir(build.c_str(), 0755);
    mkdir(folder.c_str(), 0755);
    return folder;
}

}  // namespace e2e
