#include "engine/core/Log.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

using Vexel::Log::Level;

TEST(LogTest, LinesReachTheSinkWithTagLevelAndNoTrailingNewline)
{
    TestSupport::LogCapture log;
    Vexel::Log::Error("scores", "\"%s\" is truncated at byte %d\n", "awards.awd", 17);
    Vexel::Log::Warning("", "no tag");
    Vexel::Log::Info("audio", "%s", "plain");

    auto lines = log.Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].level, Level::Error);
    EXPECT_EQ(lines[0].tag, "scores");
    EXPECT_EQ(lines[0].message, "\"awards.awd\" is truncated at byte 17");
    EXPECT_EQ(lines[1].tag, "game"); // an empty tag still names someone
    EXPECT_EQ(lines[2].level, Level::Info);
}

TEST(LogTest, VerboseLinesPassOnlyWhenVerbose)
{
    const bool was = Vexel::Log::IsVerbose();
    TestSupport::LogCapture log;
    Vexel::Log::SetVerbose(false);
    Vexel::Log::Verbose("shell", "hidden");
    Vexel::Log::SetVerbose(true);
    Vexel::Log::Verbose("shell", "shown %d", 1);
    Vexel::Log::SetVerbose(was);
    EXPECT_EQ(log.Messages(), std::vector<std::string>{"shown 1"});
}

TEST(LogTest, LongMessagesAreCutNotOverrun)
{
    TestSupport::LogCapture log;
    std::string text(5000, 'x');
    Vexel::Log::Error("test", "%s", text.c_str());
    ASSERT_EQ(log.Lines().size(), 1u);
    EXPECT_EQ(log.Lines()[0].message.size(), 1023u);
}
