// Saved files replaced whole: a write that did not land says so (once per
// file, with the reason) and keeps the old file, and the temporaries of
// writers that died are cleared at the next start.
#include "engine/core/File.h"
#include "engine/platform/ReplacingFile.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDirectory.h"
#include "tests/support/TextFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <memory>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{
// A save folder of its own, through the platform layer's environment.
struct SaveFolder
{
    TempDirectory home;
    ScopedEnvironment homeVariable{"XDG_DATA_HOME", home.Path()};

    std::string Folder() const { return home.Path() + "/cobalt-keep"; }
    std::string SavePath(std::string const& name) const { return Folder() + "/" + name; }
    void MakeFolder() const { mkdir(Folder().c_str(), 0700); }

    // The names in the save folder, sorted.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        if (DIR* folder = opendir(Folder().c_str()))
        {
            while (dirent* entry = readdir(folder))
                if (std::string(entry->d_name) != "." && std::string(entry->d_name) != "..")
                    names.push_back(entry->d_name);
            closedir(folder);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    static bool Write(std::string const& name, std::string const& bytes)
    {
        return Vexel::IO::File::WriteAllBytes(name, bytes.data(), bytes.size());
    }
};

class ReplacingFileTest : public ::testing::Test, public SaveFolder
{
};

// Puts a file size limit in place for one scope; a write past it fails with
// EFBIG instead of killing the process.
class ScopedFileSizeLimit
{
public:
    explicit ScopedFileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &old);
        previousHandler = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~ScopedFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old);
        signal(SIGXFSZ, previousHandler);
    }

private:
    rlimit old;
    void (*previousHandler)(int);
};
} // namespace

TEST_F(ReplacingFileTest, AWriteReplacesTheFileWholeAndSaysTrue)
{
    TestSupport::LogCapture log;
    ASSERT_TRUE(Write("prefs.prf", "first"));
    EXPECT_EQ(ReadText(SavePath("prefs.prf")), "first");
    ASSERT_TRUE(Write("prefs.prf", std::string(100000, 'x')));
    EXPECT_EQ(ReadText(SavePath("prefs.prf")), std::string(100000, 'x'));
    ASSERT_TRUE(Write("prefs.prf", ""));
    EXPECT_EQ(ReadText(SavePath("prefs.prf")), "");
    EXPECT_EQ(Names(), std::vector<std::string>{"prefs.prf"});
    EXPECT_TRUE(log.Lines().empty());
    EXPECT_FALSE(Vexel::IO::File::WriteAllBytes("", "x", 1));
}

// Each way a save folder can refuse a write, as root too: the write says
// false, the old file (if any) stays, no temporary is left, and the failure
// is said once with its reason, however often it is tried. Once the cause
// is gone the next save lands.
TEST(ReplacingFile, AFailedWriteIsSaidOnceWithItsReasonAndKeepsTheOldFile)
{
    struct Case
    {
        const char* what;
        const char* reason;                           // in the message
        std::function<void(SaveFolder const&)> block; // null: a file size limit
        std::function<void(SaveFolder const&)> unblock;
        bool oldFile; // a previous "state.sav" is there to keep
    };
    const Case cases[] = {
        {"a file where the save folder should be", "Not a directory",
         [](SaveFolder const& t) { WriteText(t.Folder(), "not a folder"); },
         [](SaveFolder const& t) { unlink(t.Folder().c_str()); }, false},
        {"a folder with files in it at the file's name", "Is a directory",
         [](SaveFolder const& t)
         {
             t.MakeFolder();
             mkdir(t.SavePath("state.sav").c_str(), 0700);
             WriteText(t.SavePath("state.sav/inside"), "x");
         },
         [](SaveFolder const& t)
         {
             unlink(t.SavePath("state.sav/inside").c_str());
             rmdir(t.SavePath("state.sav").c_str());
         },
         false},
        {"a save folder on a file system that takes no files", "",
         [](SaveFolder const& t) { symlink("/sys/kernel", t.Folder().c_str()); },
         [](SaveFolder const& t) { unlink(t.Folder().c_str()); }, false},
        {"a full disk (a file size limit)", "File too large", nullptr, nullptr, true},
    };
    for (Case const& c : cases)
    {
        SCOPED_TRACE(c.what);
        SaveFolder folder; // a new save folder, so that each case is said
        const std::string old = "the previous save";
        if (c.oldFile)
        {
            ASSERT_TRUE(SaveFolder::Write("state.sav", old));
        }
        TestSupport::LogCapture log;
        const std::string bigger(4096, 's');
        {
            std::unique_ptr<ScopedFileSizeLimit> limit;
            if (c.block)
                c.block(folder);
            else
                limit.reset(new ScopedFileSizeLimit(1024));
            EXPECT_FALSE(SaveFolder::Write("state.sav", bigger));
            EXPECT_FALSE(SaveFolder::Write("state.sav", bigger)) << "tried again at the next save point";
            if (std::ofstream* stream = Vexel::IO::File::OpenWrite("state.sav"))
            {
                *stream << bigger;
                delete stream;
            }
            if (c.unblock)
                c.unblock(folder);
        }
        const std::vector<TestSupport::LogCapture::Line> lines = log.Lines();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].tag, "file");
        EXPECT_NE(lines[0].message.find(folder.SavePath("state.sav")), std::string::npos) << lines[0].message;
        EXPECT_NE(lines[0].message.find(c.reason), std::string::npos) << lines[0].message;
        if (c.oldFile)
        {
            EXPECT_EQ(ReadText(folder.SavePath("state.sav")), old);
        }
        for (std::string const& name : folder.Names())
            EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;

        EXPECT_TRUE(SaveFolder::Write("state.sav", bigger)) << "the cause gone, the next save lands";
        EXPECT_EQ(ReadText(folder.SavePath("state.sav")), bigger);
    }
}

// Only "<name>.XXXXXX.tmp" that no live writer holds goes; everything else
// beside the file stays, and it is done once per file and run.
TEST_F(ReplacingFileTest, LeftoversOfDeadWritersGoAtTheFirstLoad)
{
    MakeFolder();
    WriteText(SavePath("awards.awd"), "saved");
    const std::vector<std::string> dead = {"awards.awd.a1B2c3.tmp", "awards.awd.ZZZZZZ.tmp"};
    for (std::string const& name : dead)
        WriteText(SavePath(name), "half");
    const std::vector<std::string> kept = {
        "awards.awd.Q9w8E7.tmp.bak", "awards.awd.abcde.tmp",
        "awards.awd.abcdefg.tmp",    "awards.awd.ab-def.tmp",
        "awards.awd.abcdef.TMP",     "awards.awdx.abcdef.tmp",
        "other.awd.abcdef.tmp",      "awards.awd",
        "awards.awd.live01.tmp", // held by a writer at work
        "awards.awd.folder.tmp", // a folder, not a file of ours
        "awards.awd.linked.tmp", // a link, never followed
    };
    for (std::string const& name : kept)
        if (name != "awards.awd" && name != "awards.awd.folder.tmp" && name != "awards.awd.linked.tmp")
            WriteText(SavePath(name), "not ours to remove");
    mkdir(SavePath("awards.awd.folder.tmp").c_str(), 0700);
    ASSERT_EQ(symlink(SavePath("other.awd.abcdef.tmp").c_str(), SavePath("awards.awd.linked.tmp").c_str()),
              0);
    const int live = open(SavePath("awards.awd.live01.tmp").c_str(), O_RDONLY);
    ASSERT_GE(live, 0);
    ASSERT_EQ(flock(live, LOCK_EX), 0);

    TestSupport::LogCapture log;
    Vexel::IO::File::RemoveLeftovers("awards.awd");
    std::vector<std::string> expected = kept;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Names(), expected);
    EXPECT_TRUE(log.Contains("removed 2 unfinished temporary files")) << "said, as information";
    close(live);

    // Done once: a leftover made later in this run is not looked for again
    // (a writer of this run may own it), neither by a load nor by a save.
    WriteText(SavePath("awards.awd.later1.tmp"), "half");
    Vexel::IO::File::RemoveLeftovers("awards.awd");
    ASSERT_TRUE(Write("awards.awd", "new"));
    EXPECT_EQ(ReadText(SavePath("awards.awd.later1.tmp")), "half");

    // A file first written without a load is cleared before that write.
    WriteText(SavePath("state.sav.dead99.tmp"), "half");
    ASSERT_TRUE(Write("state.sav", "new"));
    struct stat info;
    EXPECT_NE(lstat(SavePath("state.sav.dead99.tmp").c_str(), &info), 0);
}

// A writer holds its temporary locked from its making to its rename, so a
// cleaner running beside it never takes it for a leftover.
TEST_F(ReplacingFileTest, ACleanerLeavesATemporaryInTheWritingAlone)
{
    MakeFolder();
    const std::string target = SavePath("highscore_level_1005.score");
    Platform_Temporary temporary;
    ASSERT_EQ(Platform_OpenTemporary(target.c_str(), &temporary), 0);
    ASSERT_EQ(write(temporary.descriptor, "whole", 5), 5);
    EXPECT_EQ(Platform_RemoveLeftoverTemporaries(target.c_str()), 0);
    ASSERT_EQ(Platform_CommitTemporary(&temporary, target.c_str()), 0);
    EXPECT_EQ(ReadText(target), "whole");
    EXPECT_EQ(Names(), std::vector<std::string>{"highscore_level_1005.score"});
}
