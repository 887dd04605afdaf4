// The POSIX launcher with real processes: how command lines are split, what the started program
// receives, when the launch fails, and that nothing is left behind.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixProcessLauncher.h"
#include "support/TempDisc.h"

namespace orvane::testing {
namespace {

// Writes its working folder and then each argument on a line of its own into ./report (or into
// the file the first argument names when it starts with "--report=").
constexpr char kReporter[] =
    "#!/bin/sh\n"
    "out=report\n"
    "{ pwd -P; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > \"$out.tmp\"\n"
    "mv \"$out.tmp\" \"$out\"\n";

// Waits (bounded) for a file that a started program writes, and returns its text.
std::string WaitForFile(const std::string& path) {
    for (int i = 0; i < 1000; ++i) {
        std::ifstream in(path);
        if (in) {
            std::stringstream text;
            text << in.rdbuf();
            return text.str();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return "<no report>";
}

struct Launcher {
    platform::posix::PosixFileSystem files;
    platform::posix::PosixProcessLauncher launcher{files};
    platform::ProcessHandle handle = -1;
    bool Start(const std::string& line, const std::string& folder) {
        return launcher.Start(line, folder, handle);
    }
};

TEST(Launcher, CommandLinesReachTheProgramSplitTheWindowsWay) {
    TempDisc disc;
    disc.Write("my viewer/view er", kReporter).MakeExecutable("my viewer/view er");
    disc.Write("viewer/run", kReporter).MakeExecutable("viewer/run");
    disc.MakeFolder("work");
    struct Case {
        std::string line;      // "@" stands for the disc folder without its trailing '/'
        std::string expected;  // the report: working folder, then one argument a line
    };
    const Case cases[] = {
        {"@/viewer/run", ""},
        {"@/viewer/run a b", "a\nb\n"},
        {"@\\viewer\\run \"two words\" x", "two words\nx\n"},
        {"@/VIEWER/RUN plain", "plain\n"},     // names in another case
        {"@/my viewer/view er arg", "arg\n"},  // unquoted path with blanks
        {"\"@/my viewer/view er\" \"q\\\"uote\"", "q\"uote\n"},
        {"@/viewer/run a\\\\\"b c\"", "a\\b c\n"},
        {"@/viewer/run ; | & $(touch pwned) `touch pwned2` >x",
         ";\n|\n&\n$(touch\npwned)\n`touch\npwned2`\n>x\n"},
    };
    for (const auto& c : cases) {
        std::string line = c.line;
        for (auto at = line.find('@'); at != std::string::npos; at = line.find('@')) {
            line.replace(at, 1, disc.path());
        }
        SCOPED_TRACE(line);
        std::remove(disc.path("work/report").c_str());
        Launcher l;
        ASSERT_TRUE(l.Start(line, disc.path("work")));
        EXPECT_GT(l.handle, 0);
        EXPECT_EQ(WaitForFile(disc.path("work/report")), disc.path("work") + "\n" + c.expected);
    }
    EXPECT_FALSE(std::filesystem::exists(disc.path("work/pwned"))) << "no shell may run";
    EXPECT_FALSE(std::filesystem::exists(disc.path("work/pwned2")));
    EXPECT_FALSE(std::filesystem::exists(disc.path("work/x")));
}

TEST(Launcher, WorkingFolderIsFoundIgnoringCaseAndMustExist) {
    TempDisc disc;
    disc.Write("run", kReporter).MakeExecutable("run").MakeFolder("Work");
    Launcher l;
    ASSERT_TRUE(l.Start(disc.path("run"), disc.path("WORK")));
    EXPECT_EQ(WaitForFile(disc.path("Work/report")), disc.path("Work") + "\n");

    Launcher missing;
    EXPECT_FALSE(missing.Start(disc.path("run"), disc.path("nowhere")));
    EXPECT_EQ(missing.handle, 0);
}

TEST(Launcher, AnswersFalseUnlessTheProgramReallyStarts) {
    TempDisc disc;
    disc.Write("plain", "data\n");  // not executable
    disc.Write("script", "echo no interpreter line\n").MakeExecutable("script");
    disc.Write("windows.exe", std::string("MZ\x90\0\x03\0\0\0", 8) + std::string(200, '\0'))
        .MakeExecutable("windows.exe");
    disc.MakeFolder("folder.exe");
    disc.Symlink("loop", "loop");
    for (std::string name : {"missing", "plain", "script", "windows.exe", "folder.exe", "loop"}) {
        SCOPED_TRACE(name);
        Launcher l;
        EXPECT_FALSE(l.Start(disc.path(name) + " arg", disc.path()));
        EXPECT_EQ(l.handle, 0);
    }
    Launcher empty;
    EXPECT_FALSE(empty.Start("", disc.path()));
    EXPECT_FALSE(empty.Start("   ", disc.path()));
}

TEST(Launcher, LeavesNoZombieNoDescriptorAndNoTieToThisProcess) {
    TempDisc disc;
    disc.Write("fds", "#!/bin/sh\nls /proc/$$/fd > fds.tmp; mv fds.tmp fds.txt\nexec sleep 30\n")
        .MakeExecutable("fds");
    // A descriptor that is not close-on-exec, as a toolkit might leave one.
    int leaky = ::open("/dev/null", O_RDONLY);
    ASSERT_GE(::dup2(leaky, 57), 0);
    Launcher l;
    ASSERT_TRUE(l.Start(disc.path("fds"), disc.path()));
    std::string fds = WaitForFile(disc.path("fds.txt"));
    ::close(57);
    ::close(leaky);
    std::istringstream list(fds);
    for (std::string fd; list >> fd;)
        EXPECT_NE(fd, "57") << "descriptor leaked into the program";

    // Running in a session of its own: signals to this process group do not reach it.
    EXPECT_NE(::getsid(static_cast<pid_t>(l.handle)), ::getsid(0));
    EXPECT_NE(::getpgid(static_cast<pid_t>(l.handle)), ::getpgid(0));
    // Not our child: nothing to reap, so nothing can be left as a zombie.
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
    ::kill(static_cast<pid_t>(l.handle), SIGKILL);
}

// Processes whose parent is this one and that have ended without being reaped.
std::vector<std::string> OurZombies() {
    std::vector<std::string> zombies;
    const std::string me = std::to_string(::getpid());
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream status(entry.path() / "status");
        std::string line, state, parent;
        while (std::getline(status, line)) {
            if (line.rfind("State:", 0) == 0)
                state = line;
            if (line.rfind("PPid:", 0) == 0)
                parent = line.substr(line.find_first_not_of(" \t", 5));
        }
        if (parent == me && state.find('Z') != std::string::npos) {
            zombies.push_back(entry.path().filename().string());
        }
    }
    return zombies;
}

TEST(Launcher, TwentyLaunchesLeaveNoZombie) {
    TempDisc disc;
    disc.Write("quick", "#!/bin/sh\nexit 0\n").MakeExecutable("quick");
    for (int i = 0; i < 20; ++i) {
        Launcher l;
        ASSERT_TRUE(l.Start(disc.path("quick") + " " + std::to_string(i), disc.path()));
    }
    // The programs end quickly; none of them, nor any helper, is left for this process to reap.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(OurZombies().empty());
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
}

}  // namespace
}  // namespace orvane::testing
