// A disc folder made in a temporary folder for one test, removed with it.
#pragma once

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orvane::testing {

class TempDisc {
  public:
    TempDisc() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orvane-disc-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        root_ = std::filesystem::canonical(pattern).string();
    }
    TempDisc(const TempDisc&) = delete;
    TempDisc& operator=(const TempDisc&) = delete;
    ~TempDisc() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    // The disc's root folder, ending in '/'.
    std::string folder() const { return root_ + '/'; }
    // The absolute path of `relative` ('/' between names); "" gives the root without '/'.
    std::string path(std::string_view relative = "") const {
        return relative.empty() ? root_ : root_ + '/' + std::string(relative);
    }

    // Writes a file, making the folders above it.
    const TempDisc& Write(std::string_view relative, std::string_view bytes) const {
        auto p = std::filesystem::path(path(relative));
        std::filesystem::create_directories(p.parent_path());
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out)
            throw std::runtime_error("cannot write " + p.string());
        return *this;
    }
    const TempDisc& MakeFolder(std::string_view relative) const {
        std::filesystem::create_directories(path(relative));
        return *this;
    }
    const TempDisc& MakeFifo(std::string_view relative) const {
        MakeParent(relative);
        if (::mkfifo(path(relative).c_str(), 0644) != 0)
            throw std::runtime_error("mkfifo failed");
        return *this;
    }
    const TempDisc& Symlink(std::string_view relative, std::string_view target) const {
        MakeParent(relative);
        std::filesystem::create_symlink(std::string(target), path(relative));
        return *this;
    }
    const TempDisc& MakeExecutable(std::string_view relative) const {
        ::chmod(path(relative).c_str(), 0755);
        return *this;
    }

  private:
    void MakeParent(std::string_view relative) const {
        std::filesystem::create_directories(std::filesystem::path(path(relative)).parent_path());
    }

    std::string root_;
};

// Whether some folder from `folder` up to the root holds a command.txt in any case: tests of a
// disc without settings skip when the machine has one above its temporary folder.
inline bool AnyCommandTxtAbove(std::string folder) {
    for (;;) {
        if (DIR* dir = ::opendir(folder.empty() ? "/" : folder.c_str())) {
            bool found = false;
            while (const dirent* e = ::readdir(dir)) {
                std::string name = e->d_name;
                for (char& c : name) {
                    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                }
                found = found || name == "command.txt";
            }
            ::closedir(dir);
            if (found)
                return true;
        }
        if (folder.empty() || folder == "/")
            return false;
        folder = folder.substr(0, folder.rfind('/'));
    }
}

}  // namespace orvane::testing
