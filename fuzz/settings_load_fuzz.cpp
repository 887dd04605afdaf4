// The whole search and load on a disc folder whose COMMAND.TXT is the input: whatever the file
// holds, loading finishes and leaves exactly one of the viewer command and the message.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

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

[[noreturn]] void Fail(const char* what, const std::string& path) {
    std::fprintf(stderr, "settings_load_fuzz: %s %s: %s\n", what, path.c_str(),
                 std::strerror(errno));
    std::abort();
}

// Where the disc is made: a memory file system when there is one, since every input writes a
// file; else the temporary folder.
std::filesystem::path DiscParent() {
    struct stat st {};
    if (::stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) &&
        ::access("/dev/shm", W_OK | X_OK) == 0)
        return "/dev/shm";
    return std::filesystem::temp_directory_path();
}

// One disc for the whole run, with a few pages and a viewer, made on first use and removed when
// the process ends. COMMAND.TXT lies in exactly one of its two places at any time.
class Disc {
  public:
    Disc() {
        std::string pattern = (DiscParent() / "orvane-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            Fail("cannot make", pattern);
        root_ = pattern + "/";
        std::filesystem::create_directories(root_ + "run/ORVANE");
        std::filesystem::create_directories(root_ + "run/viewer");
        std::ofstream(root_ + "run/START.HTM") << "start";
        std::ofstream(root_ + "run/ORVANE/FRAMESET.HTM") << "results";
        std::ofstream(root_ + "run/viewer/view.exe") << "viewer";
        programFolder_ = root_ + "run/";
        settings_[0] = programFolder_ + "COMMAND.TXT";  // beside the program
        settings_[1] = root_ + "COMMAND.TXT";           // one folder above
    }
    ~Disc() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    Disc(const Disc&) = delete;
    Disc& operator=(const Disc&) = delete;

    const std::string& ProgramFolder() const { return programFolder_; }

    // Puts `data` into COMMAND.TXT at place `where` (0 beside the program, 1 above), rewriting the
    // file in place when it is already there instead of removing and creating it again.
    void WriteSettings(int where, const std::uint8_t* data, std::size_t size) {
        if (current_ >= 0 && current_ != where && ::unlink(settings_[current_].c_str()) != 0)
            Fail("cannot remove", settings_[current_]);
        current_ = where;
        const std::string& path = settings_[where];
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0)
            Fail("cannot write", path);
        while (size > 0) {
            ssize_t n = ::write(fd, data, size);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                Fail("cannot write", path);
            data += n;
            size -= static_cast<std::size_t>(n);
        }
        if (::close(fd) != 0)
            Fail("cannot write", path);
    }

  private:
    std::string root_;
    std::string programFolder_;
    std::string settings_[2];
    int current_ = -1;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Disc disc;
    // The first byte chooses where COMMAND.TXT lies: beside the program or one folder above.
    const int where = size > 0 && (data[0] & 1) ? 1 : 0;
    disc.WriteSettings(where, size > 1 ? data + 1 : data, size > 1 ? size - 1 : 0);
    orvane::platform::posix::PosixSystem system;
    orvane::platform::posix::PosixFileSystem files;
    orvane::platform::posix::PosixProcessLauncher processes(files);
    NoUi ui;
    orvane::COrvaneStartApp app({system, files, processes, ui}, nullptr);
    app.LoadSettingsFrom(disc.ProgramFolder());
    const auto& s = app.settings();
    if (s.viewerCommand.empty() == s.settingsMessage.empty())
        std::abort();
    if (s.resultsFileName.empty())
        std::abort();
    return 0;
}
