#include "engine/core/File.h"
#include "tests/scores/ScoresTestSupport.h"
#include "tests/support/LogCapture.h"

#include <atomic>
#include <thread>

using namespace ScoresTest;

namespace
{
class SaveFileTest : public SaveFolderTest
{
protected:
    void Save(std::string const& name, std::string const& bytes)
    {
        std::ofstream* out = Vexel::IO::File::OpenWrite(name);
        ASSERT_NE(out, nullptr);
        out->write(bytes.data(), std::streamsize(bytes.size()));
        delete out;
    }
};

// Content that shows whether it is whole: every byte is the same letter and
// the length belongs to the letter.
std::string Version(int i)
{
    return std::string(size_t(20000 + 997 * (i % 7)), char('a' + i % 7));
}

bool IsWholeVersion(std::string const& bytes)
{
    if (bytes.empty())
        return false;
    const int i = bytes[0] - 'a';
    return i >= 0 && i < 7 && bytes == Version(i);
}
} // namespace

TEST_F(SaveFileTest, EachWriterHasATemporaryOfItsOwn)
{
    Save("state.sav", "old");
    std::ofstream* first = Vexel::IO::File::OpenWrite("state.sav");
    std::ofstream* second = Vexel::IO::File::OpenWrite("state.sav");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(SavedNames().size(), 3u) << "the file and two distinct temporaries";
    *first << "first writer";
    *second << "second";
    EXPECT_EQ(ReadSaved("state.sav"), "old") << "nothing replaced before a writer finishes";
    delete second;
    EXPECT_EQ(ReadSaved("state.sav"), "second");
    delete first;
    EXPECT_EQ(ReadSaved("state.sav"), "first writer");
    EXPECT_EQ(SavedNames(), std::vector<std::string>{"state.sav"});
}

TEST_F(SaveFileTest, AFailedWriteKeepsTheOldFileAndLeavesNoTemporary)
{
    Save("awards.awd", "version one");
    std::ofstream* out = Vexel::IO::File::OpenWrite("awards.awd");
    ASSERT_NE(out, nullptr);
    *out << "half";
    out->setstate(std::ios::badbit); // as a full disk would
    TestSupport::LogCapture log;
    delete out;
    EXPECT_EQ(ReadSaved("awards.awd"), "version one");
    EXPECT_EQ(SavedNames(), std::vector<std::string>{"awards.awd"});
    EXPECT_EQ(log.Lines().size(), 1u);
    EXPECT_TRUE(log.Contains("awards.awd"));
}

TEST_F(SaveFileTest, AWriteIntoAMissingFolderFails)
{
    // A save folder that cannot exist (a file stands in its place).
    WriteSaved("placeholder", "");
    ScopedEnvironment blocked("XDG_DATA_HOME", SavePath("placeholder"));
    TestSupport::LogCapture log;
    EXPECT_EQ(Vexel::IO::File::OpenWrite("state.sav"), nullptr);
}

TEST_F(SaveFileTest, ConcurrentSavesOfOneFileNeverTearIt)
{
    Save("highscore_level_1005.score", Version(0));
    std::atomic<bool> stop(false);
    std::atomic<int> torn(0), reads(0);
    std::thread reader([&] {
        while (!stop)
        {
            std::string bytes = ReadSaved("highscore_level_1005.score");
            reads++;
            if (!IsWholeVersion(bytes))
                torn++;
        }
    });
    std::vector<std::thread> writers;
    for (int w = 0; w < 4; w++)
        writers.emplace_back([this, w] {
            for (int i = 0; i < 25; i++)
                Save("highscore_level_1005.score", Version(w + i));
        });
    for (std::thread& writer : writers)
        writer.join();
    stop = true;
    reader.join();
    EXPECT_EQ(torn.load(), 0) << "of " << reads.load() << " reads";
    EXPECT_TRUE(IsWholeVersion(ReadSaved("highscore_level_1005.score")));
    EXPECT_EQ(SavedNames(), std::vector<std::string>{"highscore_level_1005.score"});
}
