// A map from byte to byte (enemy index to enemy index) in a fixed table: the
// per-tick record of which enemies moved during swap-removal, without a
// std::map built and torn down every tick.
#pragma once

#include "game/simulation/ByteSet.h"

#include <cstdint>

class ByteMap
{
public:
    void clear() { keys.clear(); }
    bool contains(int key) const { return keys.contains(key); }
    // The value of a present key.
    uint8_t at(int key) const { return values[key & 255]; }
    void set(uint8_t key, uint8_t value)
    {
        keys.insert(key);
        values[key] = value;
    }
    void erase(uint8_t key) { keys.erase(key); }
    bool empty() const { return keys.empty(); }
    ByteSet const& Keys() const { return keys; }

    // This map turned around: value -> key for every entry.
    void InvertInto(ByteMap& out) const
    {
        out.clear();
        for (uint8_t key : keys)
            out.set(values[key], key);
    }

private:
    ByteSet keys;
    uint8_t values[256];
};
