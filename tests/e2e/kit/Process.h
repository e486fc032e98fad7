// Child processes of the kit: spawned with extra environment, waited with a bound.
#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

namespace e2e {

using Environment = std::map<std::string, std::string>;

// Starts argv[0] (searched in PATH) with the current environment plus env, in
// cwd (empty: this one), output to outputFile (empty: /dev/null). -1 on failure.
pid_t Spawn(const std::vector<std::string>& argv, const Environment& env, const std::string& cwd = "",
            const std::string& outputFile = "");
// Waits up to boundMs for the child to end; exitCode gets its code (128 + signal when killed).
bool WaitChild(pid_t pid, int boundMs, int* exitCode = nullptr);
// Runs a tool to its end (at most boundMs), its output to outputFile (empty:
// /dev/null); true when it exited with 0.
bool RunTool(const std::vector<std::string>& argv, const Environment& env, int boundMs = 30000,
             const std::string& outputFile = "");

}  // namespace e2e
