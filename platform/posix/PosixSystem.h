// System services on Linux.
#pragma once

#include "platform/System.h"

namespace orvane::platform::posix {

// The browser version answered on this platform. The embedded engine is current and stands in
// for the newest version of the browser that discs ask for, so it answers what a current
// installation of that browser registers; a disc passes the version gate here exactly when it
// passes on a current system of the kind it was authored for.
inline constexpr std::string_view kEmbeddedBrowserVersion = "9.11.19041.0";

class PosixSystem : public System {
  public:
    bool StartSockets() override { return true; }  // nothing to start here
    void EnableControlContainer() override {}
    void Enable3dControls() override {}
    void SetRegistryKey(std::string_view) override {}  // no per-user store: nothing is written
    void LoadStdProfileSettings(unsigned) override {}
    std::string ModuleFileName() override;
    std::string InstalledBrowserVersion() override { return std::string(kEmbeddedBrowserVersion); }
};

}  // namespace orvane::platform::posix
