#include "platform/posix/PosixProcessLauncher.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>
#include <vector>

#include "platform/CommandLine.h"

extern char** environ;

namespace orvane::platform::posix {
namespace {

// What the helper processes report through the status pipe.
struct Report {
    int kind;   // kStarted or kFailed
    int value;  // the new process's id, or errno
};
constexpr int kStarted = 1;
constexpr int kFailed = 2;

// Only async-signal-safe calls from here on: the parent may have other threads.
void WriteReport(int fd, int kind, int value) {
    Report report{kind, value};
    ssize_t ignored = ::write(fd, &report, sizeof report);
    (void)ignored;
}

[[noreturn]] void RunProgram(const char* program, char* const* argv, char* const* envp,
                             const char* folder, int statusFd, int highestFd) {
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    for (int sig = 1; sig < NSIG; ++sig)
        sigaction(sig, &byDefault, nullptr);

    if (::chdir(folder) != 0) {
        WriteReport(statusFd, kFailed, errno);
        ::_exit(127);
    }
    // Nothing but the standard streams reaches the new program (the status pipe closes on exec).
    if (::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) != 0) {
        for (int fd = 3; fd <= highestFd; ++fd)
            ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    ::execve(program, argv, envp);
    WriteReport(statusFd, kFailed, errno);
    ::_exit(127);
}

int HighestFd() {
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return 65535;
    return static_cast<int>(std::min<rlim_t>(limit.rlim_cur, 65536) - 1);
}

}  // namespace

std::vector<std::string> PosixProcessLauncher::CurrentEnvironment() {
    std::vector<std::string> env;
    for (char** entry = environ; entry && *entry; ++entry)
        env.emplace_back(*entry);
    return env;
}

bool PosixProcessLauncher::Start(std::string_view commandLine, std::string_view workingFolder,
                                 ProcessHandle& handle) {
    handle = 0;
    std::string asked;
    std::optional<std::string> real;
    auto isProgram = [&](const std::string& path) {
        if (path != asked) {
            asked = path;
            real = files_.FindProgram(path);
        }
        return real.has_value();
    };
    SplitCommand split = SplitCommandLine(commandLine, isProgram);
    if (!split.programFound || !isProgram(split.program))
        return false;
    const std::string program = *real;

    std::string folder = ".";
    if (!workingFolder.empty()) {
        auto found = files_.FindFolder(workingFolder);
        if (!found)
            return false;
        folder = *found;
    }

    // Everything the children need is made before forking.
    std::vector<std::string> args;
    args.reserve(split.arguments.size() + 1);
    args.push_back(program);
    for (auto& arg : split.arguments)
        args.push_back(std::move(arg));
    std::vector<char*> argv;
    for (auto& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::vector<std::string> env = environment_.empty() ? CurrentEnvironment() : environment_;
    std::vector<char*> envp;
    for (auto& entry : env)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    const int highestFd = HighestFd();

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return false;

    pid_t middle = ::fork();
    if (middle < 0) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return false;
    }
    if (middle == 0) {
        ::close(pipeFds[0]);
        ::setsid();
        pid_t child = ::_Fork();
        if (child < 0) {
            WriteReport(pipeFds[1], kFailed, errno);
            ::_exit(1);
        }
        if (child == 0) {
            RunProgram(program.c_str(), argv.data(), envp.data(), folder.c_str(), pipeFds[1],
                       highestFd);
        }
        WriteReport(pipeFds[1], kStarted, child);
        ::_exit(0);
    }

    ::close(pipeFds[1]);
    int status = 0;
    while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    // The pipe reaches its end when the program has been executed (or has failed and exited).
    pid_t started = 0;
    bool failed = false;
    Report report{};
    for (;;) {
        ssize_t n = ::read(pipeFds[0], &report, sizeof report);
        if (n < 0 && errno == EINTR)
            continue;
        if (n != static_cast<ssize_t>(sizeof report))
            break;
        if (report.kind == kStarted)
            started = report.value;
        if (report.kind == kFailed)
            failed = true;
    }
    ::close(pipeFds[0]);
    if (failed || started <= 0)
        return false;
    handle = started;
    return true;
}

}  // namespace orvane::platform::posix
