#include "platform/gtk/SandboxTrial.h"

#include <sys/wait.h>

#include <cerrno>

namespace orvane::platform::gtk {

namespace {
constexpr char kTool[] = "/usr/bin/bwrap";
}

SandboxTrial::SandboxTrial() {
    if (!g_file_test(kTool, G_FILE_TEST_IS_EXECUTABLE))
        return;
    const char* argv[] = {kTool,       "--unshare-all", "--die-with-parent", "--ro-bind", "/", "/",
                          "/bin/true", nullptr};
    // The descriptors are the ones the program was started with (the trial comes first of all);
    // leaving them as they are lets the run start without copying the program's memory.
    GPid pid = 0;
    if (g_spawn_async(nullptr, const_cast<char**>(argv), nullptr,
                      GSpawnFlags(G_SPAWN_DO_NOT_REAP_CHILD | G_SPAWN_LEAVE_DESCRIPTORS_OPEN |
                                  G_SPAWN_STDOUT_TO_DEV_NULL | G_SPAWN_STDERR_TO_DEV_NULL),
                      nullptr, nullptr, &pid, nullptr)) {
        pid_ = pid;
    }
}

SandboxTrial::~SandboxTrial() {
    Works();
}

bool SandboxTrial::Works() {
    if (pid_ == 0)
        return works_;
    int status = 0;
    pid_t ended;
    do {
        ended = waitpid(pid_, &status, 0);
    } while (ended < 0 && errno == EINTR);
    pid_ = 0;
    // A run whose end cannot be learnt (SIGCHLD ignored by whoever started us) tells nothing:
    // the pages then run without the sandbox rather than not at all.
    works_ = ended > 0 && g_spawn_check_wait_status(status, nullptr);
    return works_;
}

}  // namespace orvane::platform::gtk
