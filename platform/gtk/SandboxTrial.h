// Whether WebKit's web-process sandbox can run on this system.
#pragma once

#include <glib.h>

namespace orvane::platform::gtk {

// One trial run of the sandbox tool, made in the background from the start of the program so
// that its answer is ready by the time the web view is made: the sandbox tool has to be
// installed and able to make the namespaces it needs (some systems forbid them, and a sandbox
// that cannot start would leave the window without pages). The run costs a few milliseconds;
// made at the start, while the toolkit connects to the display, it costs the start-up nothing.
class SandboxTrial {
  public:
    // Starts the run. Nothing is started when the tool is not installed.
    SandboxTrial();
    SandboxTrial(const SandboxTrial&) = delete;
    SandboxTrial& operator=(const SandboxTrial&) = delete;
    // Collects a run nobody asked about, so that it leaves no zombie behind.
    ~SandboxTrial();

    // Whether the run succeeded. The first call waits for the run to end.
    bool Works();

  private:
    GPid pid_ = 0;  // the run, until it is collected
    bool works_ = false;
};

}  // namespace orvane::platform::gtk
