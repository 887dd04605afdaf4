#include "platform/posix/PosixSystem.h"

#include <unistd.h>

#include <vector>

namespace orvane::platform::posix {

std::string PosixSystem::ModuleFileName() {
    std::vector<char> buffer(4096);
    for (;;) {
        ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0)
            return {};
        if (static_cast<std::size_t>(n) < buffer.size())
            return std::string(buffer.data(), n);
        if (buffer.size() >= (1u << 20))
            return {};
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace orvane::platform::posix
