// Starting programs on POSIX without a shell.
#pragma once

#include <string>
#include <vector>

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
    // Started programs get `environment` ("NAME=value" entries); empty: this process's own at
    // the time of the start.
    explicit PosixProcessLauncher(FileSystem& files, std::vector<std::string> environment = {})
        : files_(files), environment_(std::move(environment)) {}

    // This process's environment now, to hand to the constructor before changing it.
    static std::vector<std::string> CurrentEnvironment();

    bool Start(std::string_view commandLine, std::string_view workingFolder,
               ProcessHandle& handle) override;

  private:
    FileSystem& files_;
    std::vector<std::string> environment_;
};

}  // namespace orvane::platform::posix
