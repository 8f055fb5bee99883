// A two-dimensional k-d tree of small ids (the Simulation's bullets by
// index), rebuilt every tick and asked once per enemy for the ids within a
// radius. Axes alternate x, y, x, ... from the root down; a node of more
// than LeafCapacity entries splits at the mean of its median distinct
// coordinate and the next one. A split that would leave one side empty
// (coincident points, or a mean that rounds onto a coordinate) leaves the
// node a leaf, so building always ends.
//
// Storage is kept between builds: Clear() empties the tree without
// releasing memory, so a tick allocates nothing once the arrays have grown
// to the largest tree seen.
#pragma once

#include "engine/core/Vector2.h"

#include <algorithm>
#include <cmath>
#include <vector>

struct KDTreeCompare
{
    enum Enum
    {
        X = 0,
        Y = 1,
    };
};

template <class Id, int LeafCapacity> class KDTree
{
public:
    struct Entry
    {
        Vector2 point;
        Id id;
    };

    // An inner node has both children; a leaf holds entries [begin, end) of
    // the entry array.
    struct Node
    {
        KDTreeCompare::Enum axis;
        float split;
        int left;  // coordinate < split; -1 in a leaf
        int right; // coordinate >= split; -1 in a leaf
        int begin;
        int end;

        bool IsLeaf() const { return left < 0; }
    };

    explicit KDTree(int expectedEntries = 128)
    {
        entries.reserve(expectedEntries);
        scratch.reserve(expectedEntries);
        coordinates.reserve(expectedEntries);
        nodes.reserve(2 * expectedEntries + 1);
        Clear();
    }
    virtual ~KDTree() {}

    void Clear()
    {
        entries.clear();
        nodes.clear();
        nodes.push_back(Node{KDTreeCompare::X, 0.0f, -1, -1, 0, 0});
    }

    // All inserts come before Build. A point that is not finite can never be
    // within any radius and is not kept.
    void Insert(Vector2 const& point, Id id)
    {
        if (!std::isfinite(point.x) || !std::isfinite(point.y))
            return;
        entries.push_back(Entry{point, id});
    }

    void Build()
    {
        nodes.clear();
        nodes.push_back(Node{KDTreeCompare::X, 0.0f, -1, -1, 0, int(entries.size())});
        Split(0);
    }

    // Adds to out (anything with insert(Id)) the id of every entry whose
    // squared distance from centre is below radius squared.
    template <class Out> void Query(Vector2 const& centre, float radius, Out& out) const
    {
        QueryNode(0, centre, radius * radius, radius, out);
    }

    int GetEntryCount() const { return int(entries.size()); }
    int GetNodeCount() const { return int(nodes.size()); }
    Node const& GetNode(int index) const { return nodes[index]; }
    Node const& GetRoot() const { return nodes[0]; }
    Entry const& GetEntry(int index) const { return entries[index]; }

private:
    static float Coordinate(Vector2 const& p, KDTreeCompare::Enum axis)
    {
        return axis == KDTreeCompare::X ? p.x : p.y;
    }

    void Split(int index)
    {
        const KDTreeCompare::Enum axis = nodes[index].axis;
        const int begin = nodes[index].begin;
        const int end = nodes[index].end;
        if (end - begin <= LeafCapacity)
            return;

        // The distinct coordinates in order.
        coordinates.clear();
        for (int i = begin; i < end; ++i)
            coordinates.push_back(Coordinate(entries[i].point, axis));
        std::sort(coordinates.begin(), coordinates.end());
        const int distinct = int(std::unique(coordinates.begin(), coordinates.end()) - coordinates.begin());
        const int median = (distinct - 1) / 2;
        float split = coordinates[median];
        if (distinct > 1)
            split = (coordinates[median] + coordinates[median + 1]) / 2.0f;

        // Stable partition: each side keeps the insertion order.
        scratch.clear();
        int leftCount = 0;
        for (int i = begin; i < end; ++i)
            if (Coordinate(entries[i].point, axis) < split)
            {
                entries[begin + leftCount] = entries[i];
                ++leftCount;
            }
            else
                scratch.push_back(entries[i]);
        std::copy(scratch.begin(), scratch.end(), entries.begin() + begin + leftCount);
        if (leftCount == 0 || leftCount == end - begin)
            return;

        const KDTreeCompare::Enum childAxis = axis == KDTreeCompare::X ? KDTreeCompare::Y : KDTreeCompare::X;
        const int left = int(nodes.size());
        nodes.push_back(Node{childAxis, 0.0f, -1, -1, begin, begin + leftCount});
        const int right = int(nodes.size());
        nodes.push_back(Node{childAxis, 0.0f, -1, -1, begin + leftCount, end});
        nodes[index].split = split;
        nodes[index].left = left;
        nodes[index].right = right;
        Split(left);
        Split(right);
    }

    template <class Out>
    void QueryNode(int index, Vector2 const& centre, float radiusSquared, float radius, Out& out) const
    {
        Node const& node = nodes[index];
        if (node.IsLeaf())
        {
            for (int i = node.begin; i < node.end; ++i)
            {
                const float dx = entries[i].point.x - centre.x;
                const float dy = entries[i].point.y - centre.y;
                if (dx * dx + dy * dy < radiusSquared)
                    out.insert(entries[i].id);
            }
            return;
        }
        const float d = Coordinate(centre, node.axis) - node.split;
        if (d >= 0.0f)
        {
            QueryNode(node.right, centre, radiusSquared, radius, out);
            if (d <= radius)
                QueryNode(node.left, centre, radiusSquared, radius, out);
        }
        else
        {
            QueryNode(node.left, centre, radiusSquared, radius, out);
            if (-d <= radius)
                QueryNode(node.right, centre, radiusSquared, radius, out);
        }
    }

    std::vector<Entry> entries;
    std::vector<Entry> scratch;
    std::vector<float> coordinates;
    std::vector<Node> nodes;
};
