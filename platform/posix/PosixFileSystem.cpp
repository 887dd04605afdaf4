#include "platform/posix/PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "platform/Text.h"

namespace orvane::platform::posix {
namespace {

// An open file descriptor, closed with its owner.
class UniqueFd {
  public:
    explicit UniqueFd(int fd = -1) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    UniqueFd& operator=(UniqueFd&&) = delete;
    ~UniqueFd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

  private:
    int fd_;
};

class FdReader final : public ByteReader {
  public:
    explicit FdReader(int fd) : fd_(fd) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        for (;;) {
            ssize_t n = ::read(fd_.get(), buffer, size);
            if (n >= 0)
                return static_cast<std::size_t>(n);
            if (errno != EINTR)
                return 0;  // a read error ends the file
        }
    }

  private:
    UniqueFd fd_;
};

std::string CurrentFolder() {
    std::vector<char> buffer(PATH_MAX);
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size()))
            return buffer.data();
        if (errno != ERANGE || buffer.size() > (1u << 20))
            return {};
        buffer.resize(buffer.size() * 2);
    }
}

// The entry of `folder` whose name equals `name` ignoring ASCII case; the smallest such name
// when several do, so that the answer never depends on the order of the folder's listing.
std::optional<std::string> FindEntryNoCase(const std::string& folder, std::string_view name) {
    DIR* dir = ::opendir(folder.empty() ? "/" : folder.c_str());
    if (!dir)
        return std::nullopt;
    std::optional<std::string> best;
    while (const dirent* entry = ::readdir(dir)) {
        std::string_view candidate(entry->d_name);
        if (text::EqualsNoCase(candidate, name) && (!best || candidate < *best)) {
            best = std::string(candidate);
        }
    }
    ::closedir(dir);
    return best;
}

// `path` without empty and "." names ("/a//b/./c" is "/a/b/c"): the same file, written as a
// person would write it. A trailing '/' stays.
std::string WithoutEmptyNames(const std::string& path) {
    std::string out;
    out.reserve(path.size());
    std::size_t pos = 0;
    while (pos <= path.size()) {
        std::size_t next = path.find('/', pos);
        if (next == std::string::npos)
            next = path.size();
        std::string_view name(path.data() + pos, next - pos);
        if (!name.empty() && name != ".") {
            out += '/';
            out.append(name);
        }
        pos = next + 1;
    }
    if (out.empty() || (path.back() == '/' && out.back() != '/'))
        out += '/';
    return out;
}

OpenError ErrorFromErrno(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return OpenError::NotFound;
        case EACCES:
        case EPERM:
            return OpenError::AccessDenied;
        case ENAMETOOLONG:
        case ELOOP:
            return OpenError::BadPath;
        default:
            return OpenError::Other;
    }
}

// Resolves `path` and stats what it names (following links).
std::optional<std::string> ResolveAndStat(std::string_view path, struct stat& st, OpenError* why) {
    // A path that names its file as written needs nothing but the stat.
    if (!path.empty() && path.front() == '/' && path.find('\0') == std::string_view::npos &&
        ::stat(std::string(path).c_str(), &st) == 0)
        return WithoutEmptyNames(std::string(path));
    int error = 0;
    auto real = ResolveCase(path, &error);
    if (!real) {
        if (why)
            *why = ErrorFromErrno(error);
        return std::nullopt;
    }
    if (::stat(real->c_str(), &st) != 0) {
        if (why)
            *why = ErrorFromErrno(errno);
        return std::nullopt;
    }
    return real;
}

// Opens a regular file for reading. FIFOs and devices are refused before they are opened, so
// that nothing blocks and no device sees an open; O_NONBLOCK covers a swap in between.
UniqueFd OpenRegular(std::string_view path, std::string* realPath, OpenError& why) {
    struct stat st {};
    auto real = ResolveAndStat(path, st, &why);
    if (!real)
        return UniqueFd{};
    if (!S_ISREG(st.st_mode)) {
        why = S_ISDIR(st.st_mode) ? OpenError::AccessDenied : OpenError::NotAFile;
        return UniqueFd{};
    }
    UniqueFd fd(::open(real->c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        why = ErrorFromErrno(errno);
        return fd;
    }
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        why = OpenError::NotAFile;
        return UniqueFd{};
    }
    // Reads block normally from here on (a regular file never waits anyway).
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    why = OpenError::None;
    if (realPath)
        *realPath = std::move(*real);
    return fd;
}

}  // namespace

std::optional<std::string> ResolveCase(std::string_view path, int* errorNumber) {
    auto fail = [&](int error) -> std::optional<std::string> {
        if (errorNumber)
            *errorNumber = error;
        return std::nullopt;
    };
    if (path.empty())
        return fail(ENOENT);
    if (path.find('\0') != std::string_view::npos)
        return fail(ENOENT);
    std::string absolute;
    if (path.front() != '/') {
        absolute = CurrentFolder();
        if (absolute.empty())
            return fail(ENOENT);
        if (absolute.back() != '/')
            absolute.push_back('/');
    }
    absolute.append(path);

    // The common case costs one call: the path exists as written.
    struct stat st {};
    if (::lstat(absolute.c_str(), &st) == 0)
        return WithoutEmptyNames(absolute);
    if (errno != ENOENT)
        return fail(errno);

    // Usually only the last name or two differ in case: step back to the deepest folder that
    // exists as written, and match names from there on, one folder listing per name.
    std::size_t matched = absolute.size();  // `absolute` up to here exists as written
    for (;;) {
        std::size_t slash = absolute.rfind('/', matched - 1);
        if (slash == std::string::npos || slash == 0) {
            matched = 0;
            break;
        }
        matched = slash;
        std::string prefix = absolute.substr(0, matched);
        if (::lstat(prefix.c_str(), &st) == 0)
            break;
        if (errno != ENOENT)
            return fail(errno);
    }

    // Built without a trailing '/'; "" stands for the root.
    std::string real =
        matched == 0 ? std::string() : WithoutEmptyNames(absolute.substr(0, matched));
    while (!real.empty() && real.back() == '/')
        real.pop_back();
    std::size_t pos = matched + 1;
    while (pos < absolute.size()) {
        std::size_t next = absolute.find('/', pos);
        if (next == std::string::npos)
            next = absolute.size();
        std::string_view name(absolute.data() + pos, next - pos);
        pos = next + 1;
        if (name.empty() || name == ".")
            continue;
        std::string candidate = real + '/' + std::string(name);
        if (name == ".." || ::lstat(candidate.c_str(), &st) == 0) {
            real = std::move(candidate);
            continue;
        }
        if (errno != ENOENT)
            return fail(errno);
        auto entry = FindEntryNoCase(real, name);
        if (!entry)
            return fail(ENOENT);
        real += '/' + *entry;
    }
    if (real.empty())
        real = "/";
    if (absolute.back() == '/' && real.back() != '/')
        real.push_back('/');
    return real;
}

std::optional<std::string> PosixFileSystem::FindFile(std::string_view path, OpenError* why) {
    std::string real;
    OpenError error{};
    UniqueFd fd = OpenRegular(path, &real, error);
    if (why)
        *why = error;
    if (fd.get() < 0)
        return std::nullopt;
    return real;
}

std::optional<std::string> PosixFileSystem::FindProgram(std::string_view path) {
    struct stat st {};
    auto real = ResolveAndStat(path, st, nullptr);
    if (!real || !S_ISREG(st.st_mode))
        return std::nullopt;
    return real;
}

std::optional<std::string> PosixFileSystem::FindFolder(std::string_view path) {
    struct stat st {};
    auto real = ResolveAndStat(path, st, nullptr);
    if (!real || !S_ISDIR(st.st_mode))
        return std::nullopt;
    while (real->size() > 1 && real->back() == '/')
        real->pop_back();
    return real;
}

std::unique_ptr<ByteReader> PosixFileSystem::OpenRead(std::string_view path, OpenError& why) {
    UniqueFd fd = OpenRegular(path, nullptr, why);
    if (fd.get() < 0)
        return nullptr;
    return std::make_unique<FdReader>(fd.release());
}

std::string PosixFileSystem::VolumeRoot(std::string_view folder) {
    auto real = ResolveCase(folder);
    if (!real)
        return {};
    std::string current = *real;
    while (current.size() > 1 && current.back() == '/')
        current.pop_back();
    struct stat st {};
    if (::stat(current.c_str(), &st) != 0)
        return {};
    // Walk up while the parent lies on the same file system.
    while (current != "/") {
        auto slash = current.rfind('/');
        std::string parent = slash == 0 ? "/" : current.substr(0, slash);
        struct stat up {};
        if (::stat(parent.c_str(), &up) != 0 || up.st_dev != st.st_dev)
            break;
        current = std::move(parent);
    }
    if (current.back() != '/')
        current.push_back('/');
    return current;
}

}  // namespace orvane::platform::posix
