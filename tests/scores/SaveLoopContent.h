// What the save-loop helper writes, shared with the test that checks the
// files it leaves behind.
#pragma once

#include <string>

namespace SaveLoopContent
{

// Names of many lengths, so that a torn file would not parse.
inline std::string NameFor(int i)
{
    return std::string(size_t(1 + i % 60), char('A' + i % 26));
}

// Every stored award flag, one after the other.
const int AwardSteps = 72 * 3;

} // namespace SaveLoopContent
