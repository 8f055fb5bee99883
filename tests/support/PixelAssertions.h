// GoogleTest assertions over the GL test probes.
#pragma once

#include "tests/support/GLTestSupport.h"

#include <gtest/gtest.h>

namespace GLTest
{

// EXPECT_TRUE(Near(Probe(x, y, h), expected, tolerance)) shows both colours.
inline ::testing::AssertionResult Near(Rgb const& actual, Rgb const& expected, int tolerance)
{
    if (IsNear(actual, expected, tolerance))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual << " is not within " << tolerance << " of " << expected;
}

} // namespace GLTest
