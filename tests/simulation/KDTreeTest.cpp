#include "game/simulation/KDTree.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <set>
#include <vector>

namespace
{

typedef KDTree<unsigned char, 5> BulletTree;

struct Point
{
    Vector2 position;
    unsigned char id;
};

std::set<unsigned char> BruteForce(std::vector<Point> const& points, Vector2 centre, float radius)
{
    std::set<unsigned char> found;
    for (Point const& p : points)
    {
        const float dx = p.position.x - centre.x;
        const float dy = p.position.y - centre.y;
        if (dx * dx + dy * dy < radius * radius)
            found.insert(p.id);
    }
    return found;
}

std::set<unsigned char> Query(BulletTree const& tree, Vector2 centre, float radius)
{
    std::set<unsigned char> found;
    tree.Query(centre, radius, found);
    return found;
}

// Every leaf holds at most five entries unless it could not be split, and
// every entry sits on its side of every split above it.
void CheckStructure(BulletTree const& tree, int index, float lo[2], float hi[2])
{
    BulletTree::Node const& node = tree.GetNode(index);
    if (node.IsLeaf())
    {
        for (int i = node.begin; i < node.end; ++i)
        {
            Vector2 p = tree.GetEntry(i).point;
            const float c[2] = {p.x, p.y};
            for (int axis = 0; axis < 2; ++axis)
            {
                EXPECT_GE(c[axis], lo[axis]);
                EXPECT_LT(c[axis], hi[axis]);
            }
        }
        return;
    }
    const int axis = node.axis;
    float leftHi[2] = {hi[0], hi[1]};
    leftHi[axis] = node.split;
    CheckStructure(tree, node.left, lo, leftHi);
    float rightLo[2] = {lo[0], lo[1]};
    rightLo[axis] = node.split;
    CheckStructure(tree, node.right, rightLo, hi);
}

TEST(KDTreeTest, MatchesBruteForceOnRandomSetsWithDuplicates)
{
    std::mt19937 generator(20240611u);
    std::uniform_real_distribution<float> coordinate(-300.0f, 300.0f);
    std::uniform_real_distribution<float> radius(0.0f, 90.0f);
    std::uniform_int_distribution<int> size(0, 128);
    std::uniform_int_distribution<int> coin(0, 3);

    BulletTree tree; // reused: Clear keeps its storage
    for (int round = 0; round < 200; ++round)
    {
        std::vector<Point> points;
        const int n = size(generator);
        for (int i = 0; i < n; ++i)
        {
            Point p{Vector2(coordinate(generator), coordinate(generator)), static_cast<unsigned char>(i)};
            // Duplicates of earlier points and of single coordinates.
            if (i > 0 && coin(generator) == 0)
                p.position = points[generator() % points.size()].position;
            else if (i > 0 && coin(generator) == 0)
                p.position.x = points[generator() % points.size()].position.x;
            points.push_back(p);
        }
        tree.Clear();
        for (Point const& p : points)
            tree.Insert(p.position, p.id);
        tree.Build();

        float lo[2] = {-1e30f, -1e30f};
        float hi[2] = {1e30f, 1e30f};
        CheckStructure(tree, 0, lo, hi);

        for (int q = 0; q < 40; ++q)
        {
            Vector2 centre(coordinate(generator), coordinate(generator));
            // Also query exactly at stored points and on their coordinates.
            if (!points.empty() && coin(generator) == 0)
                centre = points[generator() % points.size()].position;
            const float r = radius(generator);
            ASSERT_EQ(BruteForce(points, centre, r), Query(tree, centre, r)) << "round " << round;
        }
    }
}

TEST(KDTreeTest, CoincidentPointsStayInOneLeaf)
{
    // Six or more entries at one point cannot be separated: the node stays a
    // leaf instead of splitting for ever.
    for (int n : {6, 7, 40, 128})
    {
        BulletTree tree;
        for (int i = 0; i < n; ++i)
            tree.Insert(Vector2(12.5f, -3.0f), static_cast<unsigned char>(i));
        tree.Build();
        EXPECT_EQ(1, tree.GetNodeCount()) << n;
        EXPECT_EQ(size_t(n), Query(tree, Vector2(12.5f, -3.0f), 0.5f).size());
        EXPECT_TRUE(Query(tree, Vector2(20.0f, -3.0f), 7.5f).empty()); // exactly at the radius
    }

    // Equal x but different y: the x split cannot separate them, so the root
    // stays a leaf; queries still find everything.
    BulletTree column;
    for (int i = 0; i < 10; ++i)
        column.Insert(Vector2(1.0f, float(i)), static_cast<unsigned char>(i));
    column.Build();
    EXPECT_TRUE(column.GetRoot().IsLeaf());
    EXPECT_EQ((std::set<unsigned char>{3, 4, 5}), Query(column, Vector2(1.0f, 4.0f), 1.5f));
}

TEST(KDTreeTest, SplitsAtTheMeanOfTheMedianAndTheNextDistinctValue)
{
    BulletTree sixDistinct;
    for (int i = 1; i <= 6; ++i)
        sixDistinct.Insert(Vector2(float(i), 0.0f), static_cast<unsigned char>(i));
    sixDistinct.Build();
    BulletTree::Node const& root = sixDistinct.GetRoot();
    ASSERT_FALSE(root.IsLeaf());
    EXPECT_EQ(KDTreeCompare::X, root.axis);
    EXPECT_FLOAT_EQ(3.5f, root.split);
    EXPECT_EQ(3, sixDistinct.GetNode(root.left).end - sixDistinct.GetNode(root.left).begin);
    EXPECT_EQ(3, sixDistinct.GetNode(root.right).end - sixDistinct.GetNode(root.right).begin);
    EXPECT_EQ(KDTreeCompare::Y, sixDistinct.GetNode(root.left).axis);

    BulletTree twoValues;
    const float xs[6] = {1, 5, 1, 5, 5, 1};
    for (int i = 0; i < 6; ++i)
        twoValues.Insert(Vector2(xs[i], float(i)), static_cast<unsigned char>(i));
    twoValues.Build();
    EXPECT_FLOAT_EQ(3.0f, twoValues.GetRoot().split);

    BulletTree five;
    for (int i = 0; i < 5; ++i)
        five.Insert(Vector2(float(i), float(i)), static_cast<unsigned char>(i));
    five.Build();
    EXPECT_EQ(1, five.GetNodeCount());
    EXPECT_EQ(5u, Query(five, Vector2(2.0f, 2.0f), 100.0f).size());
}

TEST(KDTreeTest, RadiusIsStrictAndACentreOnTheSplitSearchesBothSides)
{
    BulletTree tree;
    for (int i = 1; i <= 6; ++i)
        tree.Insert(Vector2(float(i), 0.0f), static_cast<unsigned char>(i));
    tree.Build();
    // Exactly at the radius: not reported.
    EXPECT_EQ((std::set<unsigned char>{4}), Query(tree, Vector2(4.0f, 0.0f), 1.0f));
    // On the split (3.5): both children are searched.
    EXPECT_EQ((std::set<unsigned char>{3, 4}), Query(tree, Vector2(3.5f, 0.0f), 0.6f));
    // Ids already in the output stay.
    std::set<unsigned char> out{200};
    tree.Query(Vector2(1.0f, 0.0f), 0.5f, out);
    EXPECT_EQ((std::set<unsigned char>{1, 200}), out);
}

TEST(KDTreeTest, ClearKeepsNothingAndNonFinitePointsAreNeverFound)
{
    BulletTree tree;
    for (int i = 0; i < 20; ++i)
        tree.Insert(Vector2(float(i), float(-i)), static_cast<unsigned char>(i));
    tree.Build();
    tree.Clear();
    tree.Build();
    EXPECT_TRUE(Query(tree, Vector2(0.0f, 0.0f), 1000.0f).empty());

    tree.Insert(Vector2(std::numeric_limits<float>::quiet_NaN(), 0.0f), 1);
    tree.Insert(Vector2(0.0f, std::numeric_limits<float>::infinity()), 2);
    tree.Insert(Vector2(0.0f, 0.0f), 3);
    tree.Build();
    EXPECT_EQ((std::set<unsigned char>{3}), Query(tree, Vector2(0.0f, 0.0f), 1e30f));
}

} // namespace
