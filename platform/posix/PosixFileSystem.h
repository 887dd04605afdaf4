// Files on POSIX: names are matched exactly first, then without regard to ASCII case, one name
// of the path at a time, so discs written on systems that ignore case work here too.
#pragma once

#include "platform/FileSystem.h"

namespace orvane::platform::posix {

class PosixFileSystem final : public FileSystem {
  public:
    std::optional<std::string> FindFile(std::string_view path, OpenError* why = nullptr) override;
    std::optional<std::string> FindProgram(std::string_view path) override;
    std::optional<std::string> FindFolder(std::string_view path) override;
    std::unique_ptr<ByteReader> OpenRead(std::string_view path, OpenError& why) override;
    std::string VolumeRoot(std::string_view folder) override;
};

// The real path of `path`: absolute, with each name that exists in its real case. Nothing when
// some name of it exists in no case; `errorNumber` then says why.
std::optional<std::string> ResolveCase(std::string_view path, int* errorNumber = nullptr);

}  // namespace orvane::platform::posix
