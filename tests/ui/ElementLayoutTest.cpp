// Alignment arithmetic and the layout record's constructors.
#include "engine/ui/ElementLayout.h"

#include <gtest/gtest.h>

using namespace Vexel::UI;

namespace
{
struct AlignCase
{
    uint32_t alignment;
    Vector2 position;
    Vector2 expectedOffset;
};

// A 100 x 50 element in a 320 x 480 parent.
const AlignCase kAlignCases[] = {
    {0, Vector2(0, 0), Vector2(110, 215)},       // centre both
    {5, Vector2(7, 9), Vector2(7, 9)},           // top left
    {8 | 1, Vector2(-10, 0), Vector2(210, 0)},   // right, top
    {4 | 2, Vector2(3, -4), Vector2(3, 426)},    // left, bottom
    {12 | 3, Vector2(1, 2), Vector2(111, 217)},  // stretch is placed like centre
    {4 | 3, Vector2(0, 0), Vector2(0, 215)},     // left, stretch y
    {8 | 2, Vector2(-5, -5), Vector2(215, 425)}, // bottom right
};

class AlignTable : public ::testing::TestWithParam<AlignCase>
{
};
} // namespace

TEST_P(AlignTable, OffsetAndInverse)
{
    const AlignCase c = GetParam();
    const Vector2 size(100, 50), parent(320, 480);
    const Vector2 offset = AlignedToOffset(c.position, c.alignment, size, parent);
    EXPECT_FLOAT_EQ(offset.x, c.expectedOffset.x);
    EXPECT_FLOAT_EQ(offset.y, c.expectedOffset.y);
    const Vector2 back = OffsetToAligned(offset, c.alignment, size, parent);
    EXPECT_FLOAT_EQ(back.x, c.position.x);
    EXPECT_FLOAT_EQ(back.y, c.position.y);
}

INSTANTIATE_TEST_SUITE_P(Alignments, AlignTable, ::testing::ValuesIn(kAlignCases));

TEST(ElementLayout, ConstructorsSetVisibleAndTheirFields)
{
    const ElementPosition one(Vector2(3, 4));
    EXPECT_EQ(one.alignment, 5u);
    EXPECT_EQ(one.positionPortrait, Vector2(3, 4));
    EXPECT_EQ(one.positionLandscape, Vector2(3, 4));

    const ElementLayout both(one, Vector2(10, 20), 0.5f, false);
    EXPECT_EQ(both.sizePortrait, Vector2(10, 20));
    EXPECT_EQ(both.sizeLandscape, Vector2(10, 20));
    EXPECT_EQ(both.alpha, 0.5f);
    EXPECT_FALSE(both.enabled);
    EXPECT_TRUE(both.visible);

    const ElementLayout two(ElementPosition(Vector2(1, 2), Vector2(5, 6), 0), Vector2(10, 20),
                            Vector2(30, 40), 1.0f, true);
    EXPECT_EQ(two.sizePortrait, Vector2(10, 20));
    EXPECT_EQ(two.sizeLandscape, Vector2(30, 40));
    EXPECT_TRUE(two.visible);
    EXPECT_EQ(two.GetOffset(1, Vector2(480, 320), two.sizeLandscape), Vector2(5 + 225, 6 + 140));

    const ElementLayout standard;
    EXPECT_EQ(standard.position.alignment, 5u);
    EXPECT_EQ(standard.alpha, 1.0f);
    EXPECT_TRUE(standard.enabled);
    EXPECT_TRUE(standard.visible);
}
