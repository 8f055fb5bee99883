// A set of byte values (bullet and enemy indexes) in four 64-bit words: the
// per-tick scratch sets of the simulation and the bullet tree's query output,
// with the order and uniqueness of a std::set<uint8_t> but without touching
// the heap. Iteration is in ascending order.
#pragma once

#include <cstdint>

class ByteSet
{
public:
    ByteSet() { clear(); }

    void clear()
    {
        for (int i = 0; i < 4; i++)
            words[i] = 0;
    }
    // Same shape as std::set::insert, so the KD-tree query can fill either.
    void insert(uint8_t value) { words[value >> 6] |= uint64_t(1) << (value & 63); }
    void erase(uint8_t value) { words[value >> 6] &= ~(uint64_t(1) << (value & 63)); }
    bool contains(int value) const
    {
        return value >= 0 && value < 256 && (words[value >> 6] >> (value & 63) & 1) != 0;
    }
    bool empty() const { return (words[0] | words[1] | words[2] | words[3]) == 0; }
    int size() const
    {
        return __builtin_popcountll(words[0]) + __builtin_popcountll(words[1]) +
               __builtin_popcountll(words[2]) + __builtin_popcountll(words[3]);
    }

    // The smallest member at or above from, or -1.
    int NextFrom(int from) const
    {
        for (int w = from < 0 ? 0 : from >> 6; w < 4 && from < 256; w++)
        {
            uint64_t bits = words[w];
            if (from > w * 64)
                bits &= ~uint64_t(0) << (from & 63);
            if (bits != 0)
                return w * 64 + __builtin_ctzll(bits);
        }
        return -1;
    }
    // The largest member at or below from, or -1.
    int PreviousFrom(int from) const
    {
        if (from > 255)
            from = 255;
        for (int w = from >> 6; w >= 0 && from >= 0; w--)
        {
            uint64_t bits = words[w];
            if (from < w * 64 + 63)
                bits &= ~uint64_t(0) >> (63 - (from & 63));
            if (bits != 0)
                return w * 64 + 63 - __builtin_clzll(bits);
        }
        return -1;
    }

    class const_iterator
    {
    public:
        const_iterator(ByteSet const* set, int value) : set(set), value(value) {}
        uint8_t operator*() const { return uint8_t(value); }
        const_iterator& operator++()
        {
            value = value >= 255 ? -1 : set->NextFrom(value + 1);
            return *this;
        }
        bool operator!=(const_iterator const& o) const { return value != o.value; }
        bool operator==(const_iterator const& o) const { return value == o.value; }

    private:
        ByteSet const* set;
        int value;
    };
    const_iterator begin() const { return const_iterator(this, NextFrom(0)); }
    const_iterator end() const { return const_iterator(this, -1); }

private:
    uint64_t words[4];
};
