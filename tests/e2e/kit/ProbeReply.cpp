#include "tests/e2e/kit/ProbeReply.h"

#include <cstdio>
#include <cstdlib>

namespace e2e {

namespace {

long Number(const std::map<std::string, std::string>& fields, const std::string& key, long fallback) {
    auto found = fields.find(key);
    if (found == fields.end() || found->second.empty()) return fallback;
    char* end = nullptr;
    const long value = std::strtol(found->second.c_str(), &end, 10);
    return *end == '\0' ? value : fallback;
}

// A field's text, empty when the reply has none.
std::string Text(const std::map<std::string, std::string>& fields, const std::string& key) {
    auto found = fields.find(key);
    return found == fields.end() ? std::string() : found->second;
}

bool Flag(const std::map<std::string, std::string>& fields, const std::string& key) {
    return Number(fields, key, 0) == 1;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string Unescape(const std::string& text) {
    std::string plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            plain += text[i];
            continue;
        }
        const char next = text[++i];
        plain += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return plain;
}

std::map<std::string, std::string> ParseRecord(const std::string& reply) {
    std::map<std::string, std::string> fields;
    if (reply.rfind("OK ", 0) != 0) return fields;
    size_t start = 3;
    while (start <= reply.size()) {
        size_t end = reply.find('\t', start);
        if (end == std::string::npos) end = reply.size();
        const std::string field = reply.substr(start, end - start);
        const size_t eq = field.find('=');
        if (eq != std::string::npos) fields[field.substr(0, eq)] = Unescape(field.substr(eq + 1));
        start = end + 1;
    }
    return fields;
}

bool ParseRect(const std::string& text, Rect* rect) {
    int l, t, r, b;
    char tail;
    if (std::sscanf(text.c_str(), "%d,%d,%d,%d%c", &l, &t, &r, &b, &tail) != 4) return false;
    *rect = Rect{l, t, r, b};
    return true;
}

ControlState ParseControl(const std::string& reply) {
    const auto fields = ParseRecord(reply);
    ControlState state;
    if (fields.count("type") == 0 || !ParseRect(fields.at("rect"), &state.rect)) return state;
    state.found = true;
    state.type = fields.at("type");
    state.text = Text(fields, "text");
    state.visible = Flag(fields, "visible");
    state.enabled = Flag(fields, "enabled");
    state.selected = Flag(fields, "selected");
    state.hasValue = fields.count("value") && !fields.at("value").empty();
    state.value = static_cast<int>(Number(fields, "value", 0));
    state.min = static_cast<int>(Number(fields, "min", 0));
    state.max = static_cast<int>(Number(fields, "max", 0));
    state.hasIndex = fields.count("index") && !fields.at("index").empty();
    state.index = static_cast<int>(Number(fields, "index", -1));
    state.over = Text(fields, "over");
    state.xwindow = Text(fields, "xwindow");
    state.dirty = Flag(fields, "dirty");
    return state;
}

WindowState ParseWindow(const std::string& reply) {
    const auto fields = ParseRecord(reply);
    WindowState state;
    if (fields.count("hwnd") == 0 || fields.count("rect") == 0 || !ParseRect(fields.at("rect"), &state.rect)) {
        return state;
    }
    state.found = true;
    state.hwnd = std::strtoul(fields.at("hwnd").c_str(), nullptr, 16);
    state.visible = Flag(fields, "visible");
    state.enabled = Flag(fields, "enabled");
    state.dirty = Flag(fields, "dirty");
    state.title = Text(fields, "title");
    state.className = Text(fields, "class");
    state.xwindow = Text(fields, "xwindow");
    return state;
}

UnitFrame ParseFrame(const std::string& line) {
    UnitFrame frame;
    unsigned type = 0, sub = 0, op = 0;
    char payload[256] = {};
    const int read = std::sscanf(line.c_str(), "%2x %2x %2x %255s", &type, &sub, &op, payload);
    if (read < 3) return frame;
    frame.type = static_cast<uint8_t>(type);
    frame.subcommand = static_cast<uint8_t>(sub);
    frame.optype = static_cast<uint8_t>(op);
    for (size_t i = 0; payload[i] && payload[i + 1]; i += 2) {
        const int high = HexDigit(payload[i]);
        const int low = HexDigit(payload[i + 1]);
        if (high < 0 || low < 0) break;
        frame.payload.push_back(static_cast<uint8_t>(high << 4 | low));
    }
    const size_t at = line.find(" @");
    if (at != std::string::npos) frame.atMs = std::atol(line.c_str() + at + 2);
    return frame;
}

std::string UnitFrame::Text() const {
    char head[16];
    std::snprintf(head, sizeof(head), "%02x %02x %02x ", type, subcommand, optype);
    std::string text = head;
    for (uint8_t byte : payload) {
        char hex[3];
        std::snprintf(hex, sizeof(hex), "%02x", byte);
        text += hex;
    }
    return text;
}

ProcessResources ParseResources(const std::string& reply) {
    const auto fields = ParseRecord(reply);
    ProcessResources resources;
    resources.gdi = Number(fields, "gdi", -1);
    resources.user = Number(fields, "user", -1);
    resources.threads = Number(fields, "threads", -1);
    resources.replies = Number(fields, "replies", -1);
    resources.memoryKiB = Number(fields, "memory", -1);
    resources.faces = Number(fields, "faces", -1);
    resources.images = Number(fields, "images", -1);
    resources.fonts = Number(fields, "fonts", -1);
    resources.dcCache = Number(fields, "dccache", -1);
    return resources;
}

}  // namespace e2e
