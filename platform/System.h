// Services of the system and the application framework that start-up calls.
#pragma once

#include <string>
#include <string_view>

namespace orvane::platform {

class System {
  public:
    virtual ~System() = default;
    // Starts the network layer; false when it cannot.
    virtual bool StartSockets() = 0;
    // Prepares the hosting of the browser engine.
    virtual void EnableControlContainer() = 0;
    // The framework's dialog look.
    virtual void Enable3dControls() = 0;
    // Names the framework's per-user settings key. The program stores nothing there.
    virtual void SetRegistryKey(std::string_view key) = 0;
    // The framework's list of recently used files, of this many entries.
    virtual void LoadStdProfileSettings(unsigned maxRecentFiles) = 0;
    // The full path of the running program file, empty when it cannot be told.
    virtual std::string ModuleFileName() = 0;
    // The version text of the installed browser, as the browser's own registration gives it;
    // empty when there is none.
    virtual std::string InstalledBrowserVersion() = 0;
};

}  // namespace orvane::platform
