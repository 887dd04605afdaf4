// Starting programs on POSIX without a shell.
#pragma once

#include "platform/FileSystem.h"
#include "platform/Process.h"

namespace orvane::platform::posix {

// The command line is split as the disc's authors' system splits it (see CommandLine.h), the
// program is found like every other name (ignoring case when needed) and started directly with
// execve. The started program runs in a session of its own, so it outlives this program and
// survives signals sent to this program's process group; an intermediate process is reaped at
// once, so no zombie is ever left. Only the standard streams are passed on: every other file
// descriptor of this program is closed in the new one.
class PosixProcessLauncher final : public ProcessLauncher {
public:
    explicit PosixProcessLauncher(FileSystem& files) : files_(files) {}

    bool Start(std::string_view commandLine, std::string_view workingFolder,
               ProcessHandle& handle) override;

private:
    FileSystem& files_;
};

}  // namespace orvane::platform::posix
