// PosixFileSystem and ResolveCase on a disc folder that holds one entry of every awkward kind:
// names in other case, a folder, a FIFO and devices bearing file names, dangling and looping
// links, an unreadable file. Every lookup that could open something runs in a child process
// under a time limit, so a FIFO or a device that gets opened shows up as a failure, not a hang.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/posix/PosixFileSystem.h"
#include "support/Subprocess.h"
#include "support/TempDisc.h"

namespace {

using orvane::platform::OpenError;
using orvane::platform::posix::PosixFileSystem;
using orvane::platform::posix::ResolveCase;
using orvane::testing::CurrentFolder;
using orvane::testing::RunInChild;
using orvane::testing::TempDisc;

constexpr const char* kNothing = nullptr;

std::string ReadAll(orvane::platform::ByteReader& reader) {
    std::string out;
    char buffer[7];  // small on purpose: the reader must hand out a file in pieces
    while (std::size_t n = reader.Read(buffer, sizeof buffer))
        out.append(buffer, n);
    return out;
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

const char* ErrorName(OpenError e) {
    switch (e) {
        case OpenError::None:
            return "None";
        case OpenError::NotFound:
            return "NotFound";
        case OpenError::AccessDenied:
            return "AccessDenied";
        case OpenError::NotAFile:
            return "NotAFile";
        case OpenError::BadPath:
            return "BadPath";
        case OpenError::Other:
            return "Other";
    }
    return "?";
}

class FileSystemTest : public ::testing::Test {
  protected:
    void SetUp() override {
        disc_.Write("exact.txt", "exact bytes\n")
            .Write("ORVANE/Start.HTM", "<html>start</html>")
            .Write("Dup.txt", "mixed case")
            .Write("DUP.TXT", "upper case")
            .Write("Pages/Sub Folder/Page One.htm", "one")
            .Write("empty.htm", "")
            .MakeFolder("folder.htm")
            .MakeFifo("fifo.htm")
            .Symlink("null.htm", "/dev/null")
            .Symlink("zero.htm", "/dev/zero")
            .Symlink("dangling.htm", "nowhere.htm")
            .Symlink("loop1.htm", "loop2.htm")
            .Symlink("loop2.htm", "loop1.htm")
            .Symlink("link.htm", "exact.txt")
            .Symlink("Linked", "ORVANE")
            .Write("locked.htm", "secret");
        ::chmod(disc_.path("locked.htm").c_str(), 0);
    }

    // The absolute path of `relative` on the disc; a null `relative` stays null.
    std::string Expected(const char* relative) const {
        if (relative == nullptr)
            return "-";
        return *relative ? disc_.path(relative) : disc_.path();
    }

    TempDisc disc_;
};

// What each lookup answers for one name on the disc: FindFile (and OpenRead) with the error it
// reports, FindProgram and FindFolder. Null: not found.
struct LookupRow {
    const char* query;
    const char* file;
    OpenError why;
    const char* program;
    const char* folder;
};

const LookupRow kLookups[] = {
    // Names in their own case, and in any other case, per name of the path.
    {"exact.txt", "exact.txt", OpenError::None, "exact.txt", kNothing},
    {"EXACT.TXT", "exact.txt", OpenError::None, "exact.txt", kNothing},
    {"ORVANE/Start.HTM", "ORVANE/Start.HTM", OpenError::None, "ORVANE/Start.HTM", kNothing},
    {"orvane/start.htm", "ORVANE/Start.HTM", OpenError::None, "ORVANE/Start.HTM", kNothing},
    {"Orvane/START.htm", "ORVANE/Start.HTM", OpenError::None, "ORVANE/Start.HTM", kNothing},
    {"pages/sub folder/PAGE ONE.HTM", "Pages/Sub Folder/Page One.htm", OpenError::None,
     "Pages/Sub Folder/Page One.htm", kNothing},
    // Empty and "." names are dropped from the answer.
    {"orvane//./start.htm", "ORVANE/Start.HTM", OpenError::None, "ORVANE/Start.HTM", kNothing},
    {"ORVANE/./Start.HTM", "ORVANE/Start.HTM", OpenError::None, "ORVANE/Start.HTM", kNothing},
    // Two names that differ in case only: the exact one is taken.
    {"Dup.txt", "Dup.txt", OpenError::None, "Dup.txt", kNothing},
    {"DUP.TXT", "DUP.TXT", OpenError::None, "DUP.TXT", kNothing},
    {"empty.htm", "empty.htm", OpenError::None, "empty.htm", kNothing},
    // A link to a file counts, and is answered under its own name.
    {"LINK.HTM", "link.htm", OpenError::None, "link.htm", kNothing},
    {"linked/start.htm", "Linked/Start.HTM", OpenError::None, "Linked/Start.HTM", kNothing},
    // Folders.
    {"folder.htm", kNothing, OpenError::AccessDenied, kNothing, "folder.htm"},
    {"FOLDER.HTM", kNothing, OpenError::AccessDenied, kNothing, "folder.htm"},
    {"orvane", kNothing, OpenError::AccessDenied, kNothing, "ORVANE"},
    {"orvane/", kNothing, OpenError::AccessDenied, kNothing, "ORVANE"},
    {"LINKED", kNothing, OpenError::AccessDenied, kNothing, "Linked"},
    {"pages/SUB FOLDER", kNothing, OpenError::AccessDenied, kNothing, "Pages/Sub Folder"},
    {"", kNothing, OpenError::AccessDenied, kNothing, ""},
    // Nothing there.
    {"missing.htm", kNothing, OpenError::NotFound, kNothing, kNothing},
    {"missing/start.htm", kNothing, OpenError::NotFound, kNothing, kNothing},
    {"orvane/missing.htm", kNothing, OpenError::NotFound, kNothing, kNothing},
    {"exact.txt/start.htm", kNothing, OpenError::NotFound, kNothing, kNothing},
    {"dangling.htm", kNothing, OpenError::NotFound, kNothing, kNothing},
    {"DANGLING.HTM", kNothing, OpenError::NotFound, kNothing, kNothing},
    // Things that are no files, some of which would block or never end if opened and read.
    {"fifo.htm", kNothing, OpenError::NotAFile, kNothing, kNothing},
    {"FIFO.HTM", kNothing, OpenError::NotAFile, kNothing, kNothing},
    {"null.htm", kNothing, OpenError::NotAFile, kNothing, kNothing},
    {"zero.htm", kNothing, OpenError::NotAFile, kNothing, kNothing},
    {"loop1.htm", kNothing, OpenError::BadPath, kNothing, kNothing},
    {"Loop2.htm", kNothing, OpenError::BadPath, kNothing, kNothing},
};

TEST_F(FileSystemTest, EachLookupAnswersWhatTheEntryIs) {
    for (const auto& row : kLookups) {
        SCOPED_TRACE(std::string("query \"") + row.query + "\"");
        const std::string path = row.query[0] ? disc_.path(row.query) : disc_.folder();

        auto answer = RunInChild([&] {
            PosixFileSystem files;
            OpenError why = OpenError::Other;
            auto found = files.FindFile(path, &why);
            std::string out = found.value_or("-") + "|" + ErrorName(why);
            OpenError openWhy = OpenError::Other;
            auto reader = files.OpenRead(path, openWhy);
            out += "|" + std::string(reader ? ReadAll(*reader) : "-") + "|" + ErrorName(openWhy);
            out += "|" + files.FindProgram(path).value_or("-");
            out += "|" + files.FindFolder(path).value_or("-");
            return out;
        });
        ASSERT_TRUE(answer.has_value()) << "the lookup blocked or crashed";

        std::string expectedContent = row.file ? Slurp(Expected(row.file)) : "-";
        std::string expected = Expected(row.file) + "|" + ErrorName(row.why) + "|" +
                               expectedContent + "|" + (row.file ? "None" : ErrorName(row.why)) +
                               "|" + Expected(row.program) + "|" + Expected(row.folder);
        EXPECT_EQ(*answer, expected);
    }
}

// A file that cannot be read does not exist for the program, but it is still a program that
// can be named. Root reads every file, so there the row means nothing.
TEST_F(FileSystemTest, UnreadableFileIsRefusedWithAccessDenied) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root can read a file of mode 000";
    PosixFileSystem files;
    OpenError why = OpenError::None;
    EXPECT_EQ(files.FindFile(disc_.path("LOCKED.HTM"), &why), std::nullopt);
    EXPECT_EQ(why, OpenError::AccessDenied);
    why = OpenError::None;
    EXPECT_EQ(files.OpenRead(disc_.path("locked.htm"), why), nullptr);
    EXPECT_EQ(why, OpenError::AccessDenied);
    EXPECT_EQ(files.FindProgram(disc_.path("LOCKED.HTM")), disc_.path("locked.htm"));
}

TEST_F(FileSystemTest, EmptyPathIsNotFound) {
    PosixFileSystem files;
    OpenError why = OpenError::None;
    EXPECT_EQ(files.FindFile("", &why), std::nullopt);
    EXPECT_EQ(why, OpenError::NotFound);
    why = OpenError::None;
    EXPECT_EQ(files.OpenRead("", why), nullptr);
    EXPECT_EQ(why, OpenError::NotFound);
    EXPECT_EQ(files.FindProgram(""), std::nullopt);
    EXPECT_EQ(files.FindFolder(""), std::nullopt);
}

// The file is read once opened; nothing that was found before is remembered.
TEST_F(FileSystemTest, NothingIsCached) {
    PosixFileSystem files;
    ASSERT_TRUE(files.FindFile(disc_.path("exact.txt")));
    std::filesystem::remove(disc_.path("exact.txt"));
    EXPECT_EQ(files.FindFile(disc_.path("EXACT.TXT")), std::nullopt);
    disc_.Write("Exact.Txt", "again");
    EXPECT_EQ(files.FindFile(disc_.path("exact.txt")), disc_.path("Exact.Txt"));
}

TEST_F(FileSystemTest, RelativePathsStartInTheCurrentFolder) {
    CurrentFolder here(disc_.path("ORVANE"));
    PosixFileSystem files;
    EXPECT_EQ(files.FindFile("start.htm"), disc_.path("ORVANE/Start.HTM"));
    EXPECT_EQ(files.FindFile("../EXACT.TXT").value_or("-").ends_with("/exact.txt"), true);
    EXPECT_EQ(files.FindProgram("START.HTM"), disc_.path("ORVANE/Start.HTM"));
    OpenError why = OpenError::Other;
    auto reader = files.OpenRead("Start.htm", why);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(ReadAll(*reader), "<html>start</html>");
    EXPECT_EQ(files.FindFile("exact.txt"), std::nullopt);  // not in this folder
}

TEST_F(FileSystemTest, RelativeFolderStartsInTheCurrentFolder) {
    CurrentFolder here(disc_.path());
    PosixFileSystem files;
    EXPECT_EQ(files.FindFolder("pages/sub folder"), disc_.path("Pages/Sub Folder"));
    EXPECT_EQ(files.FindFolder("orvane/"), disc_.path("ORVANE"));
}

// ResolveCase only finds names; it does not care what kind of entry the last one is.
struct ResolveRow {
    const char* query;
    const char* expected;  // null: nothing
    int error;
};

const ResolveRow kResolves[] = {
    {"exact.txt", "exact.txt", 0},
    {"orvane/START.HTM", "ORVANE/Start.HTM", 0},
    {"ORVANE/Start.HTM", "ORVANE/Start.HTM", 0},
    {"orvane/", "ORVANE/", 0},
    {"pages//sub folder/./page one.htm", "Pages/Sub Folder/Page One.htm", 0},
    {"PAGES/Sub Folder/Page One.htm", "Pages/Sub Folder/Page One.htm", 0},
    {"Pages/sub folder/Page One.htm", "Pages/Sub Folder/Page One.htm", 0},
    {"Pages/Sub Folder/PAGE ONE.HTM", "Pages/Sub Folder/Page One.htm", 0},
    {"pages/SUB FOLDER/", "Pages/Sub Folder/", 0},
    {"orvane/../EXACT.txt", "ORVANE/../exact.txt", 0},
    {"LINKED/start.htm", "Linked/Start.HTM", 0},
    {"fifo.htm", "fifo.htm", 0},
    {"DANGLING.HTM", "dangling.htm", 0},
    {"missing.htm", kNothing, ENOENT},
    {"orvane/missing.htm", kNothing, ENOENT},
    {"missing/start.htm", kNothing, ENOENT},
    {"Pages/Sub Folder/missing/deeper/PAGE ONE.HTM", kNothing, ENOENT},
    {"exact.txt/start.htm", kNothing, ENOTDIR},
};

TEST_F(FileSystemTest, ResolveCaseFindsEachNameInItsRealCase) {
    for (const auto& row : kResolves) {
        SCOPED_TRACE(row.query);
        int error = 0;
        auto real = ResolveCase(disc_.path(row.query), &error);
        EXPECT_EQ(real.value_or("-"), Expected(row.expected));
        if (!row.expected) {
            EXPECT_EQ(error, row.error);
        }
    }
}

// Deep paths: every level in other case, and a long run of missing names below the disc.
TEST_F(FileSystemTest, ResolveCaseOfDeepPaths) {
    std::string real, query;
    for (int level = 0; level < 40; ++level) {
        real += level % 2 ? "Level/" : "LEVEL/";
        query += level % 3 ? "level/" : "LeVeL/";
    }
    disc_.Write(real + "Deep File.txt", "deep");
    EXPECT_EQ(ResolveCase(disc_.path(query + "DEEP FILE.TXT")), disc_.path(real + "Deep File.txt"));
    EXPECT_EQ(ResolveCase(disc_.path(query)), disc_.path(real));

    std::string missing;
    for (int level = 0; level < 1500; ++level)
        missing += "x/";
    int error = 0;
    EXPECT_EQ(ResolveCase(disc_.path(real + missing + "file.txt"), &error), std::nullopt);
    EXPECT_EQ(error, ENOENT);
    PosixFileSystem files;
    OpenError why{};
    EXPECT_EQ(files.FindFile(disc_.path(query + missing + "file.txt"), &why), std::nullopt);
    EXPECT_STREQ(ErrorName(why), "NotFound");
}

TEST_F(FileSystemTest, ResolveCaseOfRelativeAndSpecialPaths) {
    {
        CurrentFolder here(disc_.path());
        EXPECT_EQ(ResolveCase("Orvane/start.HTM"), disc_.path("ORVANE/Start.HTM"));
        EXPECT_EQ(ResolveCase("exact.txt"), disc_.path("exact.txt"));
    }
    EXPECT_EQ(ResolveCase("/"), "/");
    int error = 0;
    EXPECT_EQ(ResolveCase("", &error), std::nullopt);
    EXPECT_EQ(error, ENOENT);
    EXPECT_EQ(ResolveCase(std::string_view("exact.txt\0x", 11)), std::nullopt);
}

// The mount point that holds a folder: the folder itself or the highest folder above it on the
// same file system.
TEST_F(FileSystemTest, VolumeRootIsTheMountPointAboveTheFolder) {
    PosixFileSystem files;
    const std::string root = files.VolumeRoot(disc_.folder());
    ASSERT_FALSE(root.empty());
    ASSERT_EQ(root.back(), '/');
    EXPECT_TRUE(disc_.folder().starts_with(root)) << root;
    struct stat discStat {};
    struct stat rootStat {};
    ASSERT_EQ(::stat(disc_.path().c_str(), &discStat), 0);
    ASSERT_EQ(::stat(root.c_str(), &rootStat), 0);
    EXPECT_EQ(rootStat.st_dev, discStat.st_dev);
    if (root != "/") {
        struct stat above {};
        ASSERT_EQ(::stat((root + "..").c_str(), &above), 0);
        EXPECT_NE(above.st_dev, rootStat.st_dev) << root << " is not a mount point";
    }
    // The same answer for the folder written in another case, or without its trailing '/'.
    EXPECT_EQ(files.VolumeRoot(disc_.path("orvane")), root);
    EXPECT_EQ(files.VolumeRoot(disc_.path("Pages/Sub Folder/")), root);
    EXPECT_EQ(files.VolumeRoot("/"), "/");
    EXPECT_EQ(files.VolumeRoot(disc_.path("missing/")), "");
}

TEST(FileSystemMounts, VolumeRootStopsAtAMountPoint) {
    struct stat top {};
    struct stat proc {};
    if (::stat("/", &top) != 0 || ::stat("/proc/self", &proc) != 0 || top.st_dev == proc.st_dev) {
        GTEST_SKIP() << "/proc is not a file system of its own here";
    }
    PosixFileSystem files;
    EXPECT_EQ(files.VolumeRoot("/proc/self/"), "/proc/");
    EXPECT_EQ(files.VolumeRoot("/proc/"), "/proc/");
}

}  // namespace
