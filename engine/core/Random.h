// Seeded pseudo-random numbers. The type number picks the generator: 0 the
// 48-bit drand48 congruential generator, 1 the Mersenne Twister MT11213A,
// anything else the standard MT19937. Equal type and seed give equal
// sequences. One owner, one thread; no locks.
#pragma once

#include <cstdint>

namespace Vexel
{

class Random
{
public:
    // The generator interface; the implementations live in Random.cpp.
    class Impl;

    Random(int type, unsigned seed);
    virtual ~Random();
    Random(const Random&) = delete;
    Random& operator=(const Random&) = delete;

    void Seed(unsigned seed);
    // A null key array counts as no keys.
    void Seed(unsigned const* keys, int count);

    // An int in [min, max], both inclusive; INT_MIN when max < min. The
    // default maps one draw by scaling, truncating toward zero; exact uses
    // rejection sampling for an unbiased result.
    int Next(int min, int max, bool exact = false);
    // In [0, 1); never 1.0.
    float NextFloat();
    // min + NextFloat() * (max - min) in float arithmetic.
    float NextFloat(float min, float max);
    // In [0, 1).
    double NextDouble();
    uint32_t NextUInt32();

private:
    Impl* impl;
};

} // namespace Vexel
