#include "tests/support/SimProbe.h"

#include <windows.h>

#include <cstdlib>
#include <memory>
#include <sstream>

namespace sim {

namespace {

// A request the UI thread answers. Shared: when the UI thread is too busy,
// the probe gives up waiting while the request may still be in its queue.
struct UiRequest {
    std::vector<std::string> words;
    std::string reply;
    bool answered = false;
    HANDLE posted = nullptr;  // set once answered, for a request that was posted
    ~UiRequest() {
        if (posted != nullptr) CloseHandle(posted);
    }
};

constexpr UINT kUiRequest = WM_APP + 0x3B0;
constexpr UINT kUiTimeoutMs = 5000;

constexpr long kStallMaxMs = 30000;

LRESULT CALLBACK ProbeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kUiRequest) return DefWindowProcW(window, message, wParam, lParam);
    std::unique_ptr<std::shared_ptr<UiRequest>> held(reinterpret_cast<std::shared_ptr<UiRequest>*>(lParam));
    const std::vector<std::string>& words = (*held)->words;
    long stallMs = -1;
    const bool stall = words[0] == "STALL" && words.size() == 2 && ProbeNumber(words, 1, 0, kStallMaxMs, &stallMs);
    (*held)->reply = stall || words[0] == "SYNC" ? "OK\n" : ProbeUiAnswer(words);
    (*held)->answered = true;
    if ((*held)->posted != nullptr) SetEvent((*held)->posted);
    if (!stall) return 1;
    // Answered first, then held as a long paint or a slow disk holds it:
    // whatever is sent to the thread meanwhile waits.
    ReplyMessage(1);
    Sleep(static_cast<DWORD>(stallMs));
    return 1;
}

// Made by the static initialiser, which runs on the thread that becomes the
// UI thread; its messages are dispatched by every message loop there.
HWND MakeProbeWindow() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ProbeWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"BrisaProbeWnd";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                           nullptr);
}

const HWND gProbeWindow = MakeProbeWindow();

// The program's topmost visible window, read without a message to its thread.
std::string TopWindow() {
    DWORD process = 0;
    HWND w = GetTopWindow(nullptr);
    while (w && (!GetWindowThreadProcessId(w, &process) || process != GetCurrentProcessId() || !IsWindowVisible(w)))
        w = GetWindow(w, GW_HWNDNEXT);
    wchar_t title[64] = {}, className[64] = {};
    if (w) InternalGetWindowText(w, title, 64), GetClassNameW(w, className, 64);
    return ProbeEscape(title) + " (" + ProbeEscape(className) + ")";
}

std::string AskUiThread(const std::vector<std::string>& words) {
    auto request = std::make_shared<UiRequest>();
    request->words = words;
    auto* held = new std::shared_ptr<UiRequest>(request);
    DWORD_PTR result = 0;
    // SYNC is posted: it is answered once the thread has taken every message
    // posted to it before, where a sent request is answered ahead of them.
    bool taken = false;
    if (words[0] == "SYNC") {
        request->posted = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (request->posted == nullptr || !PostMessageW(gProbeWindow, kUiRequest, 0, reinterpret_cast<LPARAM>(held))) {
            delete held;
            return ProbeError("SYNC not posted");
        }
        taken = WaitForSingleObject(request->posted, kUiTimeoutMs) == WAIT_OBJECT_0;
    } else {
        taken = SendMessageTimeoutW(gProbeWindow, kUiRequest, 0, reinterpret_cast<LPARAM>(held), SMTO_NORMAL,
                                    kUiTimeoutMs, &result) != 0;
    }
    if (!taken) {
        return ProbeError("ui thread busy: \"" + words[0] + "\" unanswered for " + std::to_string(kUiTimeoutMs) +
                          " ms, top window " + TopWindow());
    }
    // The system drops a fault inside a window procedure without a word.
    return request->answered ? request->reply : ProbeError("request failed on the ui thread");
}

}  // namespace

std::vector<std::string> ProbeWords(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    std::string word;
    while (in >> word) words.push_back(word);
    return words;
}

std::string ProbeAnswer(const std::string& line) {
    const std::vector<std::string> words = ProbeWords(line);
    if (words.empty()) return ProbeError("empty request");
    if (words[0] == "PING" || words[0] == "QUIT") return words[0] == "PING" ? "OK pong\n" : "OK\n";
    std::string reply = ProbeUnitAnswer(words);
    if (reply.empty()) reply = AskUiThread(words);
    return reply.empty() ? ProbeError("unknown request " + words[0]) : reply;
}

bool ProbeNumber(const std::vector<std::string>& words, size_t index, long low, long high, long* value) {
    if (index >= words.size()) return false;
    char* end = nullptr;
    const long parsed = std::strtol(words[index].c_str(), &end, 10);
    if (end == words[index].c_str() || *end != '\0' || parsed < low || parsed > high) return false;
    *value = parsed;
    return true;
}

std::string ProbeEscape(const std::wstring& text) {
    std::string utf8;
    if (!text.empty()) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                             nullptr, nullptr);
        utf8.resize(size > 0 ? static_cast<size_t>(size) : 0);
        if (size > 0) {
            WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &utf8[0], size, nullptr,
                                nullptr);
        }
    }
    std::string escaped;
    for (char c : utf8) {
        if (c == '\\') escaped += "\\\\";
        else if (c == '\t') escaped += "\\t";
        else if (c == '\n') escaped += "\\n";
        else if (c == '\r') escaped += "\\r";
        else escaped += c;
    }
    return escaped;
}

std::string ProbeList(const std::vector<std::string>& lines) {
    std::string reply = "OK " + std::to_string(lines.size()) + "\n";
    for (const std::string& line : lines) reply += line + "\n";
    return reply;
}

std::string ProbeError(const std::string& reason) { return "ERR " + reason + "\n"; }

}  // namespace sim
