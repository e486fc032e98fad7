// The probe's socket: one client at a time, one reply per request line.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <thread>

#include "tests/support/SimProbe.h"

namespace sim {

namespace {

bool SendAll(SOCKET client, const std::string& text) {
    size_t sent = 0;
    while (sent < text.size()) {
        const int n = send(client, text.data() + sent, static_cast<int>(text.size() - sent), 0);
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

void Serve(SOCKET client) {
    std::string pending;
    char buffer[4096];
    for (;;) {
        const int n = recv(client, buffer, sizeof(buffer), 0);
        if (n <= 0) return;
        pending.append(buffer, static_cast<size_t>(n));
        size_t end;
        while ((end = pending.find('\n')) != std::string::npos) {
            std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!SendAll(client, ProbeAnswer(line))) return;
            // Answered first, so the kit knows the end was asked for.
            if (line == "QUIT") TerminateProcess(GetCurrentProcess(), 0);
        }
        // A request is one short line; anything longer is not ours.
        if (pending.size() > 65536) return;
    }
}

// Written whole under another name first, so a reader never sees half a port.
bool WritePortFile(const std::wstring& path, unsigned port) {
    const std::wstring partial = path + L".part";
    FILE* file = _wfopen(partial.c_str(), L"wb");
    if (!file) return false;
    const bool written = fprintf(file, "%u\n", port) > 0;
    fclose(file);
    return written && MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

bool StartProbe() {
    wchar_t portFile[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"BRISA_PROBE_PORT_FILE", portFile, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return false;
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener == INVALID_SOCKET) return false;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int size = sizeof(address);
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 || listen(listener, 1) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size) != 0 ||
        !WritePortFile(portFile, ntohs(address.sin_port))) {
        closesocket(listener);
        return false;
    }
    // Runs until the process ends; nothing in the program waits for it.
    std::thread([listener] {
        for (;;) {
            SOCKET client = accept(listener, nullptr, nullptr);
            if (client == INVALID_SOCKET) return;
            Serve(client);
            closesocket(client);
        }
    }).detach();
    return true;
}

[[maybe_unused]] const bool gProbeStarted = StartProbe();

}  // namespace

}  // namespace sim
