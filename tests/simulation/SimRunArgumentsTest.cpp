// simrun's command line: a mode that starts at a level needs one of the 64,
// and a level out of range is refused with the range, never played as 0.
#include "tools/simrun/SimRun.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
bool Parse(std::vector<const char*> arguments, SimRunOptions& options, std::string& error)
{
    arguments.insert(arguments.begin(), "simrun");
    return ParseSimRunArguments(int(arguments.size()), arguments.data(), options, error);
}
} // namespace

TEST(SimRunArguments, ALevelIsOneOfTheSixtyFourWhereTheModeNeedsOne)
{
    struct Case
    {
        std::vector<const char*> arguments;
        bool accepted;
        int level;         // when accepted
        const char* error; // in the message when refused
    };
    const Case cases[] = {
        {{"--seed", "1", "--mode", "3", "--level", "35"}, true, 35, ""},
        {{"--seed", "1", "--mode", "6", "--level", "0"}, true, 0, ""},
        {{"--seed", "1", "--mode", "4", "--level", "63"}, true, 63, ""},
        {{"--seed", "1", "--mode", "1"}, true, -1, ""},
        {{"--seed", "1", "--mode", "7"}, true, -1, ""},
        {{"--seed", "1", "--mode", "0", "--ticks", "10"}, true, -1, ""},
        {{"--seed", "1", "--mode", "2", "--level", "5"}, true, 5, ""}, // no use for it, but a level
        {{"--seed", "1", "--mode", "3"}, false, 0, "mode 3 needs --level, a level from 0 to 63"},
        {{"--seed", "1", "--mode", "5"}, false, 0, "mode 5 needs --level, a level from 0 to 63"},
        {{"--seed", "1", "--mode", "4"}, false, 0, "mode 4 needs --level"},
        {{"--seed", "1", "--mode", "6"}, false, 0, "mode 6 needs --level"},
        {{"--seed", "1", "--mode", "2"}, true, -1, ""},
        {{"--seed", "1", "--mode", "8"}, false, 0, "bad argument \"--mode\" 8"},
        {{"--seed", "1", "--mode", "-1"}, false, 0, "bad argument \"--mode\" -1"},
        {{"--seed", "1", "--mode", "3", "--level", "64"},
         false,
         0,
         "--level 64 is not a level: levels are 0 to 63"},
        {{"--seed", "1", "--mode", "1", "--level", "-1"}, false, 0, "levels are 0 to 63"},
        {{"--seed", "1", "--mode", "3", "--level", "x"}, false, 0, "--level x is not a level"},
        {{"--seed", "1", "--mode", "3", "--level"}, false, 0, "levels are 0 to 63"},
    };
    for (Case const& c : cases)
    {
        std::string line;
        for (const char* argument : c.arguments)
            line += std::string(argument) + " ";
        SCOPED_TRACE(line);
        SimRunOptions options;
        std::string error;
        ASSERT_EQ(Parse(c.arguments, options, error), c.accepted) << error;
        if (c.accepted)
            EXPECT_EQ(options.level, c.level);
        else
            EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
}
