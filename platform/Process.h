// Starting other programs.
#pragma once

#include <string_view>

namespace orvane::platform {

// Identifies a started process; 0 when none was started. The program never waits on it.
using ProcessHandle = long;

class ProcessLauncher {
  public:
    virtual ~ProcessLauncher() = default;
    // Starts the program that `commandLine` names (a Windows-style command line: the program's
    // path, quoted or not, then its arguments) in `workingFolder`, without a shell and without
    // waiting. Answers true only when the program really started; `handle` is always written.
    // The started program outlives this one and is never left as a zombie.
    virtual bool Start(std::string_view commandLine, std::string_view workingFolder,
                       ProcessHandle& handle) = 0;
};

}  // namespace orvane::platform
