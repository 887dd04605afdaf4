// The whole search and load on a disc folder whose COMMAND.TXT is the input: whatever the file
// holds, loading finishes and leaves exactly one of the viewer command and the message.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "FuzzSupport.h"
#include "app/OrvaneStartApp.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixProcessLauncher.h"
#include "platform/posix/PosixSystem.h"

namespace {

class NoUi final : public orvane::platform::Ui {
public:
    int MessageBox(std::string_view, unsigned) override { return orvane::res::IDOK; }
    int DoModal(const orvane::res::DialogTemplate&, orvane::platform::DialogEvents*) override {
        return orvane::res::IDCANCEL;
    }
    std::optional<std::string> GetOpenFileName(std::string_view) override { return {}; }
};

// One disc for the whole run, with a few pages and a viewer, made on first use.
const std::string& Disc() {
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvane-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        std::filesystem::create_directories(pattern + "/run/ORVANE");
        std::filesystem::create_directories(pattern + "/run/viewer");
        std::ofstream(pattern + "/run/START.HTM") << "start";
        std::ofstream(pattern + "/run/ORVANE/FRAMESET.HTM") << "results";
        std::ofstream(pattern + "/run/viewer/view.exe") << "viewer";
        return pattern + "/";
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& disc = Disc();
    // The first byte chooses where COMMAND.TXT lies: beside the program or one folder above.
    const bool above = size > 0 && (data[0] & 1);
    const std::string settings = disc + (above ? "" : "run/") + "COMMAND.TXT";
    std::filesystem::remove(disc + "COMMAND.TXT");
    std::filesystem::remove(disc + "run/COMMAND.TXT");
    {
        std::ofstream out(settings, std::ios::binary);
        if (size > 1) out.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    }
    orvane::platform::posix::PosixSystem system;
    orvane::platform::posix::PosixFileSystem files;
    orvane::platform::posix::PosixProcessLauncher processes(files);
    NoUi ui;
    orvane::COrvaneStartApp app({system, files, processes, ui}, nullptr);
    app.LoadSettingsFrom(disc + "run/");
    const auto& s = app.settings();
    if (s.viewerCommand.empty() == s.settingsMessage.empty()) std::abort();
    if (s.resultsFileName.empty()) std::abort();
    return 0;
}
