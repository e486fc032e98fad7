#include "tests/e2e/kit/Process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/e2e/kit/Steps.h"

extern char** environ;

namespace e2e {

pid_t Spawn(const std::vector<std::string>& argv, const Environment& env, const std::string& cwd,
            const std::string& outputFile) {
    // Everything the child needs is made before fork: only async-signal-safe calls after it.
    Environment merged;
    for (char** e = environ; *e; ++e) {
        const std::string entry(*e);
        const size_t eq = entry.find('=');
        if (eq != std::string::npos) merged[entry.substr(0, eq)] = entry.substr(eq + 1);
    }
    for (const auto& kv : env) merged[kv.first] = kv.second;
    std::vector<std::string> entries;
    for (const auto& kv : merged) entries.push_back(kv.first + "=" + kv.second);
    std::vector<char*> envp, args;
    for (std::string& entry : entries) envp.push_back(&entry[0]);
    envp.push_back(nullptr);
    std::vector<std::string> argCopy(argv);
    for (std::string& arg : argCopy) args.push_back(&arg[0]);
    args.push_back(nullptr);
    const std::string output = outputFile.empty() ? "/dev/null" : outputFile;

    const pid_t pid = fork();
    if (pid != 0) return pid;
    // Own process group, so a kill reaches what the child starts.
    setpgid(0, 0);
    const int fd = open(output.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd >= 0) {
        dup2(fd, 1);
        dup2(fd, 2);
        close(fd);
    }
    const int null = open("/dev/null", O_RDONLY);
    if (null >= 0) dup2(null, 0);
    if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(126);
    execvpe(args[0], args.data(), envp.data());
    _exit(127);
}

bool WaitChild(pid_t pid, int boundMs, int* exitCode) {
    if (pid <= 0) return false;
    int status = 0;
    const bool ended = Poll([&] { return waitpid(pid, &status, WNOHANG) == pid; }, boundMs);
    if (ended && exitCode) *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return ended;
}

bool RunTool(const std::vector<std::string>& argv, const Environment& env, int boundMs,
             const std::string& outputFile) {
    const pid_t pid = Spawn(argv, env, "", outputFile);
    int code = -1;
    if (WaitChild(pid, boundMs, &code)) return code == 0;
    if (pid > 0) {
        kill(-pid, SIGKILL);
        WaitChild(pid, 5000);
    }
    return false;
}

}  // namespace e2e
