// The three generators behind Vexel::Random. The twisters follow Matsumoto
// and Nishimura's reference code (init_genrand, init_by_array,
// genrand_int32, genrand_real2) with the words dropped after seeding that
// the game's sequences were built on.
#include "engine/core/Random.h"

#include <climits>
#include <cmath>

namespace Vexel
{

class Random::Impl
{
public:
    virtual ~Impl() {}
    virtual void Seed(unsigned seed) = 0;
    virtual void Seed(unsigned const* keys, int count) = 0;
    virtual int Next(int min, int max, bool exact) = 0;
    virtual float NextFloat() = 0;
    virtual float NextFloat(float min, float max) = 0;
    virtual double NextDouble() = 0;
    virtual uint32_t NextUInt32() = 0;
};

namespace
{

// The largest float below 1: a double draw that rounds up to 1.0f becomes it.
const float kBelowOne = 0.99999994f;

float FloatBelowOne(double unit)
{
    float f = float(unit);
    return f < 1.0f ? f : kBelowOne;
}

// Spans are 64-bit so that the full int range (2^32 values) needs no
// special case.
int64_t SpanOf(int min, int max)
{
    return int64_t(max) - int64_t(min) + 1;
}

// POSIX drand48 family: 48-bit state, 15 bits taken per step.
class ImplDRand48 final : public virtual Random::Impl
{
public:
    explicit ImplDRand48(unsigned seed) : state(1) { Seed(seed); }

    void Seed(unsigned seed) override { state = ((uint64_t(seed) << 16) | 0x330E) & kMask; }

    void Seed(unsigned const* keys, int count) override
    {
        unsigned mixed = 0;
        if (keys != nullptr)
            for (int i = 0; i < count; i++)
                mixed ^= keys[i];
        Seed(mixed);
    }

    // Spans above 32768 reach only their first 32768 values.
    int Next(int min, int max, bool /*exact*/) override
    {
        int64_t span = SpanOf(min, max);
        if (span < 1)
            return INT_MIN;
        return int(int64_t(NextRaw()) % span + min);
    }

    float NextFloat() override { return float(NextRaw()) / 32768.0f; }
    float NextFloat(float min, float max) override { return min + NextFloat() * (max - min); }
    double NextDouble() override { return double(NextRaw()) / 32768.0; }

    uint32_t NextUInt32() override
    {
        uint32_t r1 = NextRaw(), r2 = NextRaw(), r3 = NextRaw(), r4 = NextRaw(), r5 = NextRaw();
        return (r1 >> 5) ^ r2 ^ (r3 << 9) ^ (r4 << 20) ^ (r5 << 27);
    }

private:
    static constexpr uint64_t kMask = (uint64_t(1) << 48) - 1;

    // Bits 32..46 of the next state.
    uint32_t NextRaw()
    {
        state = (0x5DEECE66DULL * uint64_t(state) + 11) & kMask;
        return uint32_t(state >> 32) & 0x7FFF;
    }

    int64_t state;
};

struct MT11213AParameters
{
    static constexpr uint32_t kWords = 351;
    static constexpr uint32_t kMiddle = 175;
    static constexpr uint32_t kUpperMask = 0xFFF80000;
    static constexpr uint32_t kLowerMask = 0x0007FFFF;
    static constexpr uint32_t kMatrixA = 0xE4BD75F5;
    static uint32_t Temper(uint32_t y)
    {
        y ^= y >> 11;
        y ^= (y << 7) & 0x655E5280;
        y ^= (y << 15) & 0xFFD58000;
        y ^= y >> 17;
        return y;
    }
};

struct MT19937Parameters
{
    static constexpr uint32_t kWords = 624;
    static constexpr uint32_t kMiddle = 397;
    static constexpr uint32_t kUpperMask = 0x80000000;
    static constexpr uint32_t kLowerMask = 0x7FFFFFFF;
    static constexpr uint32_t kMatrixA = 0x9908B0DF;
    static uint32_t Temper(uint32_t y)
    {
        y ^= y >> 11;
        y ^= (y << 7) & 0x9D2C5680;
        y ^= (y << 15) & 0xEFC60000;
        y ^= y >> 18;
        return y;
    }
};

template <typename P> class MersenneTwister : public virtual Random::Impl
{
public:
    explicit MersenneTwister(unsigned seed) : index(0), cachedRange(0), cachedLimit(0) { Seed(seed); }

    // The first 37 words of a seed are dropped.
    void Seed(unsigned seed) override
    {
        InitGenRand(seed);
        for (int i = 0; i < 37; i++)
            NextUInt32();
    }

    // init_by_array, then the seeded array itself and the first word of the
    // first regenerated block are dropped. No keys: init_genrand(19650218)
    // alone.
    void Seed(unsigned const* keys, int count) override
    {
        InitGenRand(19650218);
        if (keys == nullptr || count < 1)
            return;

        const uint32_t n = P::kWords;
        uint32_t i = 1;
        uint32_t j = 0;
        for (uint32_t k = n > uint32_t(count) ? n : uint32_t(count); k > 0; k--)
        {
            mt[i] = (mt[i] ^ ((mt[i - 1] ^ (mt[i - 1] >> 30)) * 1664525u)) + keys[j] + j;
            i++;
            j++;
            if (i >= n)
            {
                mt[0] = mt[n - 1];
                i = 1;
            }
            if (j >= uint32_t(count))
                j = 0;
        }
        for (uint32_t k = n - 1; k > 0; k--)
        {
            mt[i] = (mt[i] ^ ((mt[i - 1] ^ (mt[i - 1] >> 30)) * 1566083941u)) - i;
            i++;
            if (i >= n)
            {
                mt[0] = mt[n - 1];
                i = 1;
            }
        }
        mt[0] = 0x80000000;

        index = 0;
        for (uint32_t k = 0; k < n + 1; k++)
            NextUInt32();
    }

    int Next(int min, int max, bool exact) override
    {
        if (max < min)
            return INT_MIN;
        if (max == min)
            return min;
        uint64_t span = uint64_t(SpanOf(min, max));

        if (!exact)
        {
            // Truncation toward zero is part of the game's tuning; the
            // comparison happens in double so that a draw rounding up past
            // max is never converted out of range.
            double value = std::trunc(double(span) * NextDouble() + double(min));
            return value > double(max) ? max : int(value);
        }

        if (span != cachedRange)
        {
            cachedLimit = (uint64_t(1) << 32) / span;
            cachedRange = span;
        }
        uint64_t r;
        do
            r = NextUInt32();
        while (r / span >= cachedLimit);
        return int(int64_t(min) + int64_t(r % span));
    }

    float NextFloat() override { return FloatBelowOne(NextDouble()); }
    float NextFloat(float min, float max) override { return min + NextFloat() * (max - min); }
    double NextDouble() override { return double(NextUInt32()) * (1.0 / 4294967296.0); }

    uint32_t NextUInt32() override
    {
        if (index >= P::kWords)
            Regenerate();
        return P::Temper(mt[index++]);
    }

private:
    void InitGenRand(uint32_t seed)
    {
        mt[0] = seed;
        for (uint32_t i = 1; i < P::kWords; i++)
            mt[i] = 1812433253u * (mt[i - 1] ^ (mt[i - 1] >> 30)) + i;
        index = P::kWords;
    }

    static uint32_t Twist(uint32_t partner, uint32_t upper, uint32_t lower)
    {
        static const uint32_t kMatrix[2] = {0, P::kMatrixA};
        uint32_t y = (upper & P::kUpperMask) | (lower & P::kLowerMask);
        return partner ^ (y >> 1) ^ kMatrix[y & 1];
    }

    void Regenerate()
    {
        const uint32_t n = P::kWords, m = P::kMiddle;
        uint32_t k = 0;
        for (; k < n - m; k++)
            mt[k] = Twist(mt[k + m], mt[k], mt[k + 1]);
        for (; k < n - 1; k++)
            mt[k] = Twist(mt[k + m - n], mt[k], mt[k + 1]);
        mt[n - 1] = Twist(mt[m - 1], mt[n - 1], mt[0]);
        index = 0;
    }

    uint32_t mt[P::kWords];
    uint32_t index;
    // Span of the last exact draw and floor(2^32 / span), kept across draws
    // of the same span; 64-bit so that the 2^32 span fits.
    uint64_t cachedRange;
    uint64_t cachedLimit;
};

class ImplMT11213A final : public MersenneTwister<MT11213AParameters>
{
public:
    explicit ImplMT11213A(unsigned seed) : MersenneTwister(seed) {}
};

class ImplMT19937 final : public MersenneTwister<MT19937Parameters>
{
public:
    explicit ImplMT19937(unsigned seed) : MersenneTwister(seed) {}
};

} // namespace

Random::Random(int type, unsigned seed) : impl(nullptr)
{
    if (type == 0)
        impl = new ImplDRand48(seed);
    else if (type == 1)
        impl = new ImplMT11213A(seed);
    else
        impl = new ImplMT19937(seed);
}

Random::~Random()
{
    delete impl;
    impl = nullptr;
}

void Random::Seed(unsigned seed)
{
    impl->Seed(seed);
}

void Random::Seed(unsigned const* keys, int count)
{
    impl->Seed(keys, count);
}

int Random::Next(int min, int max, bool exact)
{
    return impl->Next(min, max, exact);
}

float Random::NextFloat()
{
    return impl->NextFloat();
}

float Random::NextFloat(float min, float max)
{
    return impl->NextFloat(min, max);
}

double Random::NextDouble()
{
    return impl->NextDouble();
}

uint32_t Random::NextUInt32()
{
    return impl->NextUInt32();
}

} // namespace Vexel
