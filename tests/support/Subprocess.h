// Child processes for tests: running a piece of code that might hang (a FIFO or a device opened
// by mistake) under a time limit, and running a program with its output captured.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace orvane::testing {

struct ChildResult {
    bool finished = false;  // false: still running at the time limit, and killed
    int exitStatus = -1;    // the exit status; -1 when it ended by a signal
    std::string out;        // what it wrote to standard output (or the body's answer)
    std::string err;        // what it wrote to standard error
};

namespace detail {

inline void Pipe(int fds[2]) {
    if (::pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe2 failed");
}

// Reads both pipes of `pid` until they close or `seconds` have passed, then reaps it.
inline ChildResult Collect(pid_t pid, int outFd, int errFd, int seconds) {
    ChildResult result;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    std::vector<pollfd> fds;
    if (outFd >= 0)
        fds.push_back({outFd, POLLIN, 0});
    if (errFd >= 0)
        fds.push_back({errFd, POLLIN, 0});
    bool timedOut = false;
    while (!fds.empty()) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        int ready = ::poll(fds.data(), fds.size(), static_cast<int>(left.count()));
        if (ready < 0)
            continue;  // EINTR
        for (std::size_t i = 0; i < fds.size();) {
            if (fds[i].revents == 0) {
                ++i;
                continue;
            }
            char buffer[4096];
            ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                (fds[i].fd == outFd ? result.out : result.err).append(buffer, n);
                ++i;
            } else {
                fds.erase(fds.begin() + static_cast<std::ptrdiff_t>(i));
            }
        }
    }
    if (outFd >= 0)
        ::close(outFd);
    if (errFd >= 0)
        ::close(errFd);
    if (timedOut)
        ::kill(pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.finished = !timedOut;
    if (WIFEXITED(status))
        result.exitStatus = WEXITSTATUS(status);
    return result;
}

}  // namespace detail

// Runs `body` in a forked child and answers the text it returns; nothing when the child has not
// finished after `seconds` (it is then killed) or did not end normally.
inline std::optional<std::string> RunInChild(const std::function<std::string()>& body,
                                             int seconds = 10) {
    int fds[2];
    detail::Pipe(fds);
    pid_t pid = ::fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        ::close(fds[0]);
        int code = 0;
        try {
            std::string answer = body();
            for (std::size_t done = 0; done < answer.size();) {
                ssize_t n = ::write(fds[1], answer.data() + done, answer.size() - done);
                if (n <= 0)
                    break;
                done += static_cast<std::size_t>(n);
            }
        } catch (...) {
            code = 3;
        }
        ::_exit(code);
    }
    ::close(fds[1]);
    ChildResult result = detail::Collect(pid, fds[0], -1, seconds);
    if (!result.finished || result.exitStatus != 0)
        return std::nullopt;
    return result.out;
}

// Runs `argv[0]` with `argv`, in `cwd` when it is not empty, with standard input from
// /dev/null, capturing both output streams.
inline ChildResult RunProgram(const std::vector<std::string>& argv, const std::string& cwd = "",
                              int seconds = 30) {
    int out[2];
    int err[2];
    detail::Pipe(out);
    detail::Pipe(err);
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = ::fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        int in = ::open("/dev/null", O_RDONLY);
        if (in >= 0)
            ::dup2(in, 0);
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        if (!cwd.empty() && ::chdir(cwd.c_str()) != 0)
            ::_exit(126);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    return detail::Collect(pid, out[0], err[0], seconds);
}

// Changes the process's current folder for the life of the object.
class CurrentFolder {
  public:
    explicit CurrentFolder(const std::string& folder) {
        char buffer[4096];
        if (!::getcwd(buffer, sizeof buffer))
            throw std::runtime_error("getcwd failed");
        saved_ = buffer;
        if (::chdir(folder.c_str()) != 0)
            throw std::runtime_error("chdir failed: " + folder);
    }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;
    ~CurrentFolder() {
        if (::chdir(saved_.c_str()) != 0)
            std::abort();
    }

  private:
    std::string saved_;
};

}  // namespace orvane::testing
