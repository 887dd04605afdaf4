// The searches for a start page and a results page in the program's folder: the order of the
// names, names stored in another case, and entries that bear a page's name without being a
// readable file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/PageDiscovery.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/Subprocess.h"
#include "support/TempDisc.h"

namespace {

using orvane::FindResultsPage;
using orvane::FindStartPage;
using orvane::platform::posix::PosixFileSystem;
using orvane::testing::RunInChild;
using orvane::testing::TempDisc;

// The names as a disc carries them on this system, in the order they are tried.
const std::vector<std::string> kStartOrder{
    "orvane/start.htm", "OrvaneStart.html", "start.htm",   "orvane/start.html", "start.html",
    "index.htm",        "index.html",       "default.htm", "default.html",      "IHE_PDI/index.htm",
};
const std::vector<std::string> kResultsOrder{
    "orvane/frameset.htm",  "frameset.htm",        "results/frameset.htm",
    "IHE_PDI/frameset.htm", "OrvaneFrameset.html", "results/OrvaneFrameset.html",
};

std::string Upper(std::string s) {
    for (char& c : s) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    }
    return s;
}

// Runs both searches in a child process, so that an entry that blocks fails the test.
struct Found {
    std::string start;
    std::string results;
};
Found SearchBoth(const TempDisc& disc) {
    auto answer = RunInChild([&] {
        PosixFileSystem files;
        return FindStartPage(disc.folder(), files) + "\n" + FindResultsPage(disc.folder(), files);
    });
    if (!answer) {
        ADD_FAILURE() << "the page search blocked or crashed";
        return {};
    }
    auto nl = answer->find('\n');
    return {answer->substr(0, nl), answer->substr(nl + 1)};
}

using Search = std::string (*)(std::string_view, orvane::platform::FileSystem&);

struct OrderCase {
    const char* title;
    Search search;
    const std::vector<std::string>* names;
};

// With the names from position k to the end all present, the name at k wins: every name comes
// before all that follow it. Tried with the names as listed and stored in upper case.
TEST(PagesDiscovery, EachNameWinsOverAllThatFollowIt) {
    const OrderCase cases[] = {
        {"start", FindStartPage, &kStartOrder},
        {"results", FindResultsPage, &kResultsOrder},
    };
    for (const auto& c : cases) {
        for (bool upper : {false, true}) {
            for (std::size_t k = 0; k < c.names->size(); ++k) {
                SCOPED_TRACE(std::string(c.title) + (upper ? " upper case" : "") + " from " +
                             (*c.names)[k]);
                TempDisc disc;
                for (std::size_t i = k; i < c.names->size(); ++i) {
                    const std::string& name = (*c.names)[i];
                    disc.Write(upper ? Upper(name) : name, name);
                }
                PosixFileSystem files;
                const std::string& winner = (*c.names)[k];
                EXPECT_EQ(c.search(disc.folder(), files),
                          disc.path(upper ? Upper(winner) : winner));
            }
        }
    }
}

// Single cases from a disc author's point of view.
struct DiscCase {
    const char* title;
    std::vector<const char*> files;    // regular files on the disc
    std::vector<const char*> folders;  // folders on the disc
    const char* start;                 // expected, relative; "" for none
    const char* results;
};

const DiscCase kDiscs[] = {
    {"nothing at all", {}, {}, "", ""},
    {"pages of other programs only", {"home.htm", "results.htm", "orvane/index.htm"}, {}, "", ""},
    {"both start pages", {"start.htm", "orvane/start.htm"}, {}, "orvane/start.htm", ""},
    {"OrvaneStart.html before start.htm",
     {"OrvaneStart.html", "start.htm"},
     {},
     "OrvaneStart.html",
     ""},
    {"only index.html", {"index.html"}, {}, "index.html", ""},
    {"only the IHE_PDI page",
     {"IHE_PDI/index.htm", "IHE_PDI/frameset.htm"},
     {},
     "IHE_PDI/index.htm",
     "IHE_PDI/frameset.htm"},
    {"frameset.htm before results/frameset.htm",
     {"results/frameset.htm", "frameset.htm"},
     {},
     "",
     "frameset.htm"},
    {"subfolders in other case",
     {"Orvane/Start.Htm", "Orvane/FRAMESET.HTM"},
     {},
     "Orvane/Start.Htm",
     "Orvane/FRAMESET.HTM"},
    {"IHE folder in lower case",
     {"ihe_pdi/INDEX.HTM", "ihe_pdi/FrameSet.htm"},
     {},
     "ihe_pdi/INDEX.HTM",
     "ihe_pdi/FrameSet.htm"},
    {"results subfolder in other case",
     {"Results/orvaneframeset.HTML"},
     {},
     "",
     "Results/orvaneframeset.HTML"},
    {"a folder named like a page",
     {"default.htm", "OrvaneFrameset.html"},
     {"index.htm", "frameset.htm", "orvane/start.htm"},
     "default.htm",
     "OrvaneFrameset.html"},
    {"a file named like a page folder", {"orvane", "IHE_PDI", "index.html"}, {}, "index.html", ""},
    {"names with blanks are not the names", {"start.htm ", " frameset.htm"}, {}, "", ""},
};

TEST(PagesDiscovery, DiscsFindTheirPages) {
    for (const auto& c : kDiscs) {
        SCOPED_TRACE(c.title);
        TempDisc disc;
        for (const char* f : c.files)
            disc.Write(f, "");  // an empty page is a page
        for (const char* d : c.folders)
            disc.MakeFolder(d);
        Found found = SearchBoth(disc);
        EXPECT_EQ(found.start, *c.start ? disc.path(c.start) : "");
        EXPECT_EQ(found.results, *c.results ? disc.path(c.results) : "");
    }
}

// Entries named like the first pages of both lists that are no readable files: each is passed
// over, nothing blocks, and the next name is found.
TEST(PagesDiscovery, NonFilesNamedLikePagesArePassedOver) {
    struct Trap {
        const char* title;
        void (*make)(const TempDisc&, const std::string& name);
    };
    const Trap traps[] = {
        {"FIFO", [](const TempDisc& d, const std::string& n) { d.MakeFifo(n); }},
        {"link to /dev/zero",
         [](const TempDisc& d, const std::string& n) { d.Symlink(n, "/dev/zero"); }},
        {"link to /dev/null",
         [](const TempDisc& d, const std::string& n) { d.Symlink(n, "/dev/null"); }},
        {"dangling link",
         [](const TempDisc& d, const std::string& n) { d.Symlink(n, "gone.htm"); }},
        {"link loop",
         [](const TempDisc& d, const std::string& n) {
             d.Symlink(n, d.path(n + ".loop"));
             d.Symlink(n + ".loop", d.path(n));
         }},
        {"folder", [](const TempDisc& d, const std::string& n) { d.MakeFolder(n); }},
    };
    for (const auto& trap : traps) {
        SCOPED_TRACE(trap.title);
        TempDisc disc;
        trap.make(disc, "orvane/start.htm");
        trap.make(disc, "frameset.htm");
        disc.Write("START.HTM", "s").Write("Results/FrameSet.htm", "r");
        Found found = SearchBoth(disc);
        EXPECT_EQ(found.start, disc.path("START.HTM"));
        EXPECT_EQ(found.results, disc.path("Results/FrameSet.htm"));
    }
}

// The program's folder is where the names are looked for; a folder above it holds pages that
// do not count.
TEST(PagesDiscovery, OnlyTheGivenFolderIsSearched) {
    TempDisc disc;
    disc.Write("start.htm", "above").Write("frameset.htm", "above").MakeFolder("run");
    PosixFileSystem files;
    EXPECT_EQ(FindStartPage(disc.folder() + "run/", files), "");
    EXPECT_EQ(FindResultsPage(disc.folder() + "run/", files), "");
    disc.Write("run/Index.Html", "here");
    EXPECT_EQ(FindStartPage(disc.folder() + "run/", files), disc.path("run/Index.Html"));
}

// A link to a page elsewhere counts and is answered under the page's name in this folder.
TEST(PagesDiscovery, LinkToAPageCounts) {
    TempDisc disc;
    disc.Write("elsewhere/real.htm", "x").Symlink("index.htm", disc.path("elsewhere/real.htm"));
    PosixFileSystem files;
    EXPECT_EQ(FindStartPage(disc.folder(), files), disc.path("index.htm"));
}

}  // namespace
