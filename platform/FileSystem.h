// Files as the program sees them: names found without regard to ASCII case, and only regular
// files count as present.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::platform {

// Why a file could not be opened; the program turns it into a sentence for the user.
enum class OpenError { None, NotFound, AccessDenied, NotAFile, BadPath, Other };

// Sequential reading of an open file. Owns the open file; closing happens in the destructor.
class ByteReader {
  public:
    virtual ~ByteReader() = default;
    // Reads up to `size` bytes; returns how many, 0 at the end of the file or on a read error.
    virtual std::size_t Read(char* buffer, std::size_t size) = 0;
};

// Paths use '/' between names. A relative path is taken from the process's current folder.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // The existence test: `path` names a regular file that can be opened for reading. Each name
    // of the path is matched exactly first, then without regard to ASCII case. Answers the
    // file's real path (absolute, every name in its real case) or nothing; the file is closed
    // again at once and nothing is cached. Never blocks on a FIFO or a device.
    virtual std::optional<std::string> FindFile(std::string_view path,
                                                OpenError* why = nullptr) = 0;

    // A program to start: `path` names an existing regular file, matched like FindFile. It need
    // not be readable and is not opened. Answers its real path.
    virtual std::optional<std::string> FindProgram(std::string_view path) = 0;

    // The folder test: `path` names an existing folder, matched like FindFile. Answers its real
    // path without a trailing '/'.
    virtual std::optional<std::string> FindFolder(std::string_view path) = 0;

    // Opens a regular file for reading, matched like FindFile. Null and `why` on failure.
    virtual std::unique_ptr<ByteReader> OpenRead(std::string_view path, OpenError& why) = 0;

    // The root of the volume that holds `folder` (its mount point), ending in '/'; the search
    // for the settings file never goes above it. Empty when it cannot be told.
    virtual std::string VolumeRoot(std::string_view folder) = 0;
};

}  // namespace orvane::platform
