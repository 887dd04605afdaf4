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

// The real path of `absolute`, which does not exist as written (its lstat failed with ENOENT).
std::optional<std::string> ResolveMissing(const std::string& absolute, int* errorNumber) {
    auto fail = [&](int error) -> std::optional<std::string> {
        if (errorNumber)
            *errorNumber = error;
        return std::nullopt;
    };
    struct stat st {};
    // Find the deepest folder that exists as written, then match names from there on, one
    // folder listing per name. Existence goes down the path (a folder exists only when the one
    // above it does), so a binary search over the folders finds it in a few calls even when the
    // path holds thousands of names.
    std::vector<std::size_t> slashes;  // where each folder of the path ends
    for (std::size_t i = 1; i < absolute.size(); ++i) {
        if (absolute[i] == '/')
            slashes.push_back(i);
    }
    std::string probe = absolute;
    std::ptrdiff_t found = -1;                                   // the root exists
    auto missing = static_cast<std::ptrdiff_t>(slashes.size());  // the whole path does not
    while (missing - found > 1) {
        std::ptrdiff_t middle = found + (missing - found) / 2;
        std::size_t end = slashes[static_cast<std::size_t>(middle)];
        probe[end] = '\0';
        int result = ::lstat(probe.c_str(), &st);
        int error = errno;
        probe[end] = '/';
        if (result == 0)
            found = middle;
        else if (error == ENOENT)
            missing = middle;
        else
            return fail(error);
    }
    const std::size_t matched = found < 0 ? 0 : slashes[static_cast<std::size_t>(found)];

    // Built without a trailing '/'; "" stands for the root.
    std::string real =
        matched == 0 ? std::string() : WithoutEmptyNames(absolute.substr(0, matched));
    while (!real.empty() && real.back() == '/')
        real.pop_back();
    std::size_t pos = matched + 1;
    // The first name below that folder is known to be missing as written: it goes straight to
    // the folder's listing.
    bool knownMissing = true;
    while (pos < absolute.size()) {
        std::size_t next = absolute.find('/', pos);
        if (next == std::string::npos)
            next = absolute.size();
        std::string_view name(absolute.data() + pos, next - pos);
        pos = next + 1;
        if (name.empty() || name == ".")
            continue;
        std::string candidate = real + '/' + std::string(name);
        if (name == "..") {
            real = std::move(candidate);
            continue;
        }
        if (!std::exchange(knownMissing, false)) {
            if (::lstat(candidate.c_str(), &st) == 0) {
                real = std::move(candidate);
                continue;
            }
            if (errno != ENOENT)
                return fail(errno);
        }
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

// `path` made absolute: a relative path is taken from the current folder. Nothing for an empty
// path or one that holds a NUL, which name no file.
std::optional<std::string> Absolute(std::string_view path) {
    if (path.empty() || path.find('\0') != std::string_view::npos)
        return std::nullopt;
    std::string absolute;
    if (path.front() != '/') {
        absolute = CurrentFolder();
        if (absolute.empty())
            return std::nullopt;
        if (absolute.back() != '/')
            absolute.push_back('/');
    }
    absolute.append(path);
    return absolute;
}

// Resolves `path` and stats what it names (following links).
std::optional<std::string> ResolveAndStat(std::string_view path, struct stat& st, OpenError* why) {
    auto fail = [&](int error) -> std::optional<std::string> {
        if (why)
            *why = ErrorFromErrno(error);
        return std::nullopt;
    };
    auto absolute = Absolute(path);
    if (!absolute)
        return fail(ENOENT);
    // A path that names its file as written needs nothing but the stat.
    if (::stat(absolute->c_str(), &st) == 0)
        return WithoutEmptyNames(*absolute);
    if (errno != ENOENT)
        return fail(errno);
    int error = 0;
    auto real = ResolveMissing(*absolute, &error);
    if (!real)
        return fail(error);
    if (::stat(real->c_str(), &st) != 0)
        return fail(errno);
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
    int error = ENOENT;
    if (auto absolute = Absolute(path)) {
        // The common case costs one call: the path exists as written.
        struct stat st {};
        if (::lstat(absolute->c_str(), &st) == 0)
            return WithoutEmptyNames(*absolute);
        error = errno;
        if (error == ENOENT)
            return ResolveMissing(*absolute, errorNumber);
    }
    if (errorNumber)
        *errorNumber = error;
    return std::nullopt;
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
    struct stat st {};
    auto real = ResolveAndStat(folder, st, nullptr);
    if (!real)
        return {};
    std::string current = std::move(*real);
    while (current.size() > 1 && current.back() == '/')
        current.pop_back();
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
