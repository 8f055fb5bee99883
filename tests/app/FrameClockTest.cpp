// The frame step's clock, its flags and the tilt filter, as pure values.
#include "app/FrameClock.h"
#include "app/FrameFlags.h"
#include "app/TiltFilter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using Vexel::App::FrameClock;
using Vexel::App::FrameFlags;
using Vexel::App::TiltFilter;

namespace
{

struct Step
{
    uint32_t now; // microseconds
    bool redraw;
    bool runs;
    int32_t accumulator;
};

struct ClockCase
{
    const char* name;
    std::vector<Step> steps;
};

const uint32_t kT = 1000000000u; // an arbitrary start

} // namespace

TEST(FrameClockTest, TickDecisionsClampAndExpose)
{
    const std::vector<ClockCase> cases = {
        {"first call always runs", {{kT, false, true, 0}}},
        {"first call at zero runs", {{0, false, true, 0}}},
        {"33332 us is not yet a tick", {{kT, false, true, 0}, {kT + 33332, false, false, 0}}},
        {"33333 us is a tick", {{kT, false, true, 0}, {kT + 33333, false, true, 0}}},
        {"the excess is kept", {{kT, false, true, 0}, {kT + 33340, false, true, 7}}},
        {"time keeps counting from the last tick",
         {{kT, false, true, 0}, {kT + 20000, false, false, 0}, {kT + 40000, false, true, 6667}}},
        {"a stall is clamped to three ticks of backlog",
         {{kT, false, true, 0},
          {kT + 500000, false, true, 100000},
          {kT + 500000, false, true, 66667},
          {kT + 500000, false, true, 33334},
          {kT + 500000, false, true, 1},
          {kT + 500000, false, false, 1}}},
        {"an expose between ticks draws and spends a tick in advance",
         {{kT, false, true, 0},
          {kT + 10000, true, true, -33333},
          {kT + 33333, false, false, -33333},
          {kT + 66665, false, false, -33333},
          {kT + 66666, false, true, 0}}},
        {"an expose on a due tick spends nothing extra", {{kT, false, true, 0}, {kT + 33333, true, true, 0}}},
        {"repeated exposes are clamped too",
         {{kT, false, true, 0},
          {kT + 1, true, true, -33333},
          {kT + 2, true, true, -66666},
          {kT + 3, true, true, -99999},
          {kT + 4, true, true, -100000},
          {kT + 5, true, true, -100000}}},
        {"the microsecond clock wraps",
         {{0xFFFFF000u, false, true, 0}, {0xFFFFF000u + 40000u, false, true, 6667}}},
        // 3000 s apart: more than 2^31 us, which a signed difference would
        // turn negative and so never tick again.
        {"a stall longer than half the clock range",
         {{kT, false, true, 0}, {kT + 3000000000u, false, true, 100000}}},
    };
    for (ClockCase const& c : cases)
    {
        FrameClock clock;
        for (size_t i = 0; i < c.steps.size(); ++i)
        {
            Step const& s = c.steps[i];
            EXPECT_EQ(s.runs, clock.Advance(s.now, s.redraw)) << c.name << ", step " << i;
            EXPECT_EQ(s.accumulator, clock.GetAccumulator()) << c.name << ", step " << i;
        }
    }
}

TEST(FrameClockTest, FlagsFromTheActiveEdges)
{
    struct Row
    {
        bool wasActive, active, runWhileInactive;
        bool activateFrame, draw, animate;
    };
    const Row rows[] = {
        {true, true, false, false, true, true},     // a normal frame
        {true, false, false, false, true, false},   // the last frame after deactivation: no animate
        {false, false, false, false, false, false}, // inactive: nothing
        {false, true, false, true, true, true},     // becoming active: an extra animate first
        {true, true, true, false, true, true},      {true, false, true, false, true, true},
        {false, false, true, false, true, true},    {false, true, true, false, true, true},
    };
    for (Row const& r : rows)
    {
        const FrameFlags f = FrameFlags::From(r.wasActive, r.active, r.runWhileInactive);
        EXPECT_EQ(r.activateFrame, f.activateFrame) << r.wasActive << r.active << r.runWhileInactive;
        EXPECT_EQ(r.draw, f.draw) << r.wasActive << r.active << r.runWhileInactive;
        EXPECT_EQ(r.animate, f.animate) << r.wasActive << r.active << r.runWhileInactive;
    }
}

TEST(TiltFilterTest, ApproachesTheNormalisedReadingByThreeQuartersPerFrame)
{
    struct Row
    {
        Vector3 raw;
    };
    const Row rows[] = {{Vector3(0, 0, 0)}, {Vector3(0.5f, -0.25f, 0.0f)}, {Vector3(-0.3f, 0.9f, 0.4f)}};
    for (Row const& r : rows)
    {
        // The target in double: normalise(raw + (0, 0, -1)).
        const double x = r.raw.x, y = r.raw.y, z = double(r.raw.z) - 1.0;
        const double length = std::sqrt(x * x + y * y + z * z);
        const double target[3] = {x / length, y / length, z / length};
        TiltFilter filter;
        for (int k = 1; k <= 12; ++k)
        {
            const Vector3 f = filter.Advance(r.raw);
            const double remaining = std::pow(0.75, k); // of the first difference, target - 0
            EXPECT_NEAR(target[0] * (1.0 - remaining), f.x, 1e-5) << "frame " << k;
            EXPECT_NEAR(target[1] * (1.0 - remaining), f.y, 1e-5) << "frame " << k;
            EXPECT_NEAR(target[2] * (1.0 - remaining), f.z, 1e-5) << "frame " << k;
        }
    }
}

TEST(TiltFilterTest, FirstValuesAndTheDegenerateReading)
{
    TiltFilter flat;
    Vector3 f = flat.Advance(Vector3());
    EXPECT_FLOAT_EQ(0.0f, f.x);
    EXPECT_FLOAT_EQ(-0.25f, f.z);
    f = flat.Advance(Vector3());
    EXPECT_FLOAT_EQ(-0.4375f, f.z); // 0.75 * -0.25 + 0.25 * -1

    // raw + bias = 0 normalises to (1, 0, 0).
    TiltFilter degenerate;
    f = degenerate.Advance(Vector3(0.0f, 0.0f, 1.0f));
    EXPECT_FLOAT_EQ(0.25f, f.x);
    EXPECT_FLOAT_EQ(0.0f, f.y);
    EXPECT_FLOAT_EQ(0.0f, f.z);
}
