#include "engine/core/Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

namespace
{

using Vexel::Random;

const int kDRand48 = 0;
const int kMT11213A = 1;
const int kMT19937 = 2;

// A Mersenne Twister written from its defining recurrence, one word at a
// time over the whole history: x[k + n] = x[k + m] ^ twist(x[k], x[k + 1]),
// output k is the tempered x[n + k].
struct TwisterParameters
{
    uint32_t n, m, lowerBits, a;
    uint32_t b, c;
    int l;
};

const TwisterParameters kMT11213AParameters = {351, 175, 19, 0xE4BD75F5, 0x655E5280, 0xFFD58000, 17};
const TwisterParameters kMT19937Parameters = {624, 397, 31, 0x9908B0DF, 0x9D2C5680, 0xEFC60000, 18};

class ReferenceTwister
{
public:
    ReferenceTwister(TwisterParameters const& p) : p(p), x(p.n), produced(0) {}

    void InitGenRand(uint32_t seed)
    {
        x.assign(p.n, 0);
        x[0] = seed;
        for (uint32_t i = 1; i < p.n; i++)
            x[i] = 1812433253u * (x[i - 1] ^ (x[i - 1] >> 30)) + i;
        produced = 0;
    }

    void InitByArray(std::vector<uint32_t> const& keys)
    {
        InitGenRand(19650218);
        const uint32_t n = p.n;
        uint32_t i = 1, j = 0;
        for (uint32_t k = std::max<uint32_t>(n, uint32_t(keys.size())); k > 0; k--)
        {
            x[i] = (x[i] ^ ((x[i - 1] ^ (x[i - 1] >> 30)) * 1664525u)) + keys[j] + j;
            if (++i >= n)
            {
                x[0] = x[n - 1];
                i = 1;
            }
            if (++j >= keys.size())
                j = 0;
        }
        for (uint32_t k = n - 1; k > 0; k--)
        {
            x[i] = (x[i] ^ ((x[i - 1] ^ (x[i - 1] >> 30)) * 1566083941u)) - i;
            if (++i >= n)
            {
                x[0] = x[n - 1];
                i = 1;
            }
        }
        x[0] = 0x80000000u;
    }

    uint32_t Next()
    {
        const uint32_t lower = (1u << p.lowerBits) - 1;
        size_t k = produced++;
        uint32_t y = (x[k] & ~lower) | (x[k + 1] & lower);
        x.push_back(x[k + p.m] ^ (y >> 1) ^ ((y & 1) ? p.a : 0));
        uint32_t z = x.back();
        z ^= z >> 11;
        z ^= (z << 7) & p.b;
        z ^= (z << 15) & p.c;
        z ^= z >> p.l;
        return z;
    }

    void Discard(int count)
    {
        while (count-- > 0)
            Next();
    }

private:
    TwisterParameters p;
    std::vector<uint32_t> x;
    size_t produced;
};

// glibc's lrand48 gives bits 17..47 of the same 48-bit state; the
// generator's raw value is bits 32..46.
uint32_t GlibcRaw()
{
    return uint32_t(lrand48() >> 15) & 0x7FFF;
}

// Draws count raw words and returns them, for comparing two generators.
std::vector<uint32_t> Words(Random& random, int count)
{
    std::vector<uint32_t> words;
    for (int i = 0; i < count; i++)
        words.push_back(random.NextUInt32());
    return words;
}

} // namespace

TEST(Random, ReferenceTwisterMatchesTheStandardLibrary)
{
    // The test's own twister is checked against std::mt19937 and against
    // the published init_by_array outputs before it judges MT11213A.
    ReferenceTwister reference(kMT19937Parameters);
    reference.InitGenRand(5489);
    std::mt19937 standard(5489);
    for (int i = 0; i < 2000; i++)
        ASSERT_EQ(reference.Next(), standard()) << i;

    reference.InitByArray({0x123, 0x234, 0x345, 0x456});
    EXPECT_EQ(reference.Next(), 1067595299u);
    EXPECT_EQ(reference.Next(), 955945823u);
}

TEST(Random, MT19937DropsTheFirst37Words)
{
    for (unsigned seed : {5489u, 0u, 1u, 12345u, 0xFFFFFFFFu})
    {
        Random random(kMT19937, seed);
        std::mt19937 standard(seed);
        standard.discard(37);
        for (int i = 0; i < 1500; i++) // crosses two regenerations
            ASSERT_EQ(random.NextUInt32(), standard()) << "seed " << seed << " draw " << i;
    }

    Random defaultSeed(kMT19937, 5489);
    EXPECT_EQ(defaultSeed.NextUInt32(), 3772830893u);

    // Every type number but 0 and 1 is MT19937.
    Random other(7, 99);
    Random twin(kMT19937, 99);
    EXPECT_EQ(Words(other, 10), Words(twin, 10));
}

TEST(Random, SeedingWithKeysDropsTheFirstPublishedWord)
{
    const unsigned keys[] = {0x123, 0x234, 0x345, 0x456};
    Random random(kMT19937, 1);
    random.Seed(keys, 4);
    const uint32_t published[] = {955945823u, 477289528u, 4107218783u, 4228976476u, 3344332714u};
    for (uint32_t word : published)
        EXPECT_EQ(random.NextUInt32(), word);

    ReferenceTwister reference(kMT19937Parameters);
    reference.InitByArray({0x123, 0x234, 0x345, 0x456});
    reference.Discard(1 + 5);
    for (int i = 0; i < 1000; i++)
        ASSERT_EQ(random.NextUInt32(), reference.Next()) << i;

    // More keys than words exercises the other wrap.
    std::vector<unsigned> many(700);
    for (size_t i = 0; i < many.size(); i++)
        many[i] = unsigned(i * 2654435761u);
    random.Seed(many.data(), int(many.size()));
    reference.InitByArray(std::vector<uint32_t>(many.begin(), many.end()));
    reference.Discard(1);
    for (int i = 0; i < 700; i++)
        ASSERT_EQ(random.NextUInt32(), reference.Next()) << i;
}

TEST(Random, SeedingWithNoKeysIsTheFixedInitialisationAlone)
{
    const unsigned key = 5;
    for (int count : {0, -3})
        for (const unsigned* keys : {&key, static_cast<const unsigned*>(nullptr)})
        {
            Random random(kMT19937, 42);
            random.Seed(keys, count);
            std::mt19937 standard(19650218);
            for (int i = 0; i < 700; i++)
                ASSERT_EQ(random.NextUInt32(), standard()) << count << " " << i;
        }
    // Null keys with a count are treated as no keys.
    Random random(kMT19937, 42);
    random.Seed(nullptr, 4);
    std::mt19937 standard(19650218);
    EXPECT_EQ(random.NextUInt32(), standard());
}

TEST(Random, MT11213AFollowsItsRecurrence)
{
    for (unsigned seed : {5489u, 0u, 77u})
    {
        Random random(kMT11213A, seed);
        ReferenceTwister reference(kMT11213AParameters);
        reference.InitGenRand(seed);
        reference.Discard(37);
        for (int i = 0; i < 1000; i++)
            ASSERT_EQ(random.NextUInt32(), reference.Next()) << "seed " << seed << " draw " << i;
    }

    Random random(kMT11213A, 5489);
    const uint32_t pinned[] = {4056312438u, 4142757904u, 2754231373u};
    for (uint32_t word : pinned)
        EXPECT_EQ(random.NextUInt32(), word);

    const unsigned keys[] = {0x123, 0x234, 0x345, 0x456};
    random.Seed(keys, 4);
    EXPECT_EQ(random.NextUInt32(), 1052328279u);
    ReferenceTwister reference(kMT11213AParameters);
    reference.InitByArray({0x123, 0x234, 0x345, 0x456});
    reference.Discard(2);
    for (int i = 0; i < 800; i++)
        ASSERT_EQ(random.NextUInt32(), reference.Next()) << i;

    random.Seed(keys, 0);
    reference.InitGenRand(19650218);
    EXPECT_EQ(random.NextUInt32(), reference.Next());
}

TEST(Random, DRand48MatchesTheCLibrary)
{
    for (unsigned seed : {0u, 1u, 5489u, 0xFFFFFFFFu})
    {
        Random random(kDRand48, seed);
        srand48(long(seed));
        for (int i = 0; i < 200; i++)
            ASSERT_EQ(random.Next(0, 32767), int(GlibcRaw())) << "seed " << seed << " draw " << i;

        random.Seed(seed);
        srand48(long(seed));
        for (int i = 0; i < 50; i++)
        {
            uint32_t r[5];
            for (uint32_t& v : r)
                v = GlibcRaw();
            uint32_t expected = (r[0] >> 5) ^ r[1] ^ (r[2] << 9) ^ (r[3] << 20) ^ (r[4] << 27);
            ASSERT_EQ(random.NextUInt32(), expected);
        }

        random.Seed(seed);
        srand48(long(seed));
        for (int i = 0; i < 50; i++)
        {
            uint32_t raw = GlibcRaw();
            float f = random.NextFloat();
            EXPECT_EQ(f, float(raw) / 32768.0f);
            EXPECT_LT(f, 1.0f);
            double d = random.NextDouble();
            EXPECT_EQ(d, double(GlibcRaw()) / 32768.0);
            EXPECT_EQ(random.Next(-10, 10), int(GlibcRaw() % 21) - 10);
            float scaled = random.NextFloat(2.0f, -6.0f);
            EXPECT_EQ(scaled, 2.0f + (float(GlibcRaw()) / 32768.0f) * -8.0f);
        }
    }

    // The keys are folded together by XOR.
    const unsigned keys[] = {0x1234, 0xFF00FF00, 0x0F0F};
    Random keyed(kDRand48, 3);
    keyed.Seed(keys, 3);
    Random folded(kDRand48, 0x1234 ^ 0xFF00FF00 ^ 0x0F0F);
    EXPECT_EQ(Words(keyed, 20), Words(folded, 20));
    keyed.Seed(keys, 0);
    Random zero(kDRand48, 0);
    EXPECT_EQ(Words(keyed, 20), Words(zero, 20));
}

TEST(Random, DRand48Ranges)
{
    Random random(kDRand48, 9);
    Random twin(kDRand48, 9);
    EXPECT_EQ(random.Next(5, 4), INT_MIN);
    EXPECT_EQ(random.Next(INT_MAX, INT_MIN), INT_MIN);
    EXPECT_EQ(Words(random, 3), Words(twin, 3)) << "an empty range draws nothing";

    // The full range: the raw value above the smallest int.
    srand48(9);
    for (int i = 0; i < 15; i++)
        GlibcRaw();
    for (int i = 0; i < 100; i++)
        ASSERT_EQ(random.Next(INT_MIN, INT_MAX), INT_MIN + int(GlibcRaw()));
    for (int i = 0; i < 100; i++)
        ASSERT_EQ(random.Next(7, 7), 7);
}

TEST(Random, EmptyAndSingleValueRangesDrawNothing)
{
    for (int type : {kMT11213A, kMT19937})
        for (bool exact : {false, true})
        {
            Random random(type, 123);
            Random twin(type, 123);
            EXPECT_EQ(random.Next(5, 5, exact), 5);
            EXPECT_EQ(random.Next(5, 4, exact), INT_MIN);
            EXPECT_EQ(random.Next(INT_MAX, INT_MIN, exact), INT_MIN);
            EXPECT_EQ(random.Next(INT_MIN, INT_MIN, exact), INT_MIN);
            EXPECT_EQ(Words(random, 5), Words(twin, 5));
        }
}

TEST(Random, InexactRangesScaleOneDrawAndTruncateTowardZero)
{
    struct Case
    {
        int min, max;
    } cases[] = {{-5, 5}, {0, 1}, {-100, -90}, {INT_MIN, INT_MAX}, {INT_MIN, 0}, {INT_MAX - 1, INT_MAX}};
    for (int type : {kMT11213A, kMT19937})
        for (const Case& c : cases)
        {
            Random random(type, 2024);
            Random twin(type, 2024);
            double span = double(c.max) - double(c.min) + 1;
            for (int i = 0; i < 500; i++)
            {
                double expected = std::trunc(span * twin.NextDouble() + double(c.min));
                int value = random.Next(c.min, c.max);
                ASSERT_EQ(double(value), std::min(expected, double(c.max))) << c.min << " " << c.max;
            }
        }

    // Truncation, not flooring: a draw in (4/11, 5/11) maps 11u - 5 into
    // (-1, 0) and gives 0; -5 comes only from u = 0.
    Random random(kMT19937, 7);
    Random twin(kMT19937, 7);
    int zeros = 0, towardZero = 0;
    for (int i = 0; i < 2000; i++)
    {
        double u = twin.NextDouble();
        int value = random.Next(-5, 5, false);
        if (u > 4.0 / 11 && u < 6.0 / 11)
        {
            EXPECT_EQ(value, 0);
            towardZero += u < 5.0 / 11;
        }
        zeros += value == 0;
        EXPECT_NE(value, -5);
    }
    EXPECT_GT(towardZero, 0);
    EXPECT_GT(zeros, 2000 / 11 + 50);
}

TEST(Random, InexactDrawNearTheTopClampsToMax)
{
    // Seed 10694 puts one of the 128 highest words at draw 708: scaled to
    // the top two ints it rounds up past max in double arithmetic.
    Random random(kMT19937, 10694);
    Random twin(kMT19937, 10694);
    Words(random, 708);
    Words(twin, 708);
    ASSERT_GE(twin.NextUInt32(), 0xFFFFFF80u);
    EXPECT_EQ(random.Next(INT_MAX - 1, INT_MAX), INT_MAX);
}

TEST(Random, NextFloatNeverReturnsOne)
{
    struct Case
    {
        int type;
        unsigned seed;
        int draw;
    } cases[] = {{kMT19937, 10694, 708}, {kMT11213A, 8787, 1505}};
    for (const Case& c : cases)
    {
        Random random(c.type, c.seed);
        Random twin(c.type, c.seed);
        Words(random, c.draw);
        Words(twin, c.draw);
        uint32_t word = twin.NextUInt32();
        ASSERT_GE(word, 0xFFFFFF80u);
        EXPECT_EQ(float(double(word) / 4294967296.0), 1.0f);
        EXPECT_EQ(random.NextFloat(), 0.99999994f);
    }

    // Ordinary draws are the rounded double, which is the word scaled by 2^-32.
    Random random(kMT11213A, 31);
    Random twin(kMT11213A, 31);
    for (int i = 0; i < 300; i++)
    {
        uint32_t word = twin.NextUInt32();
        ASSERT_EQ(random.NextDouble(), double(word) / 4294967296.0);
        float unit = float(double(twin.NextUInt32()) / 4294967296.0);
        ASSERT_EQ(random.NextFloat(), unit);
        float scaled = 3.0f + float(double(twin.NextUInt32()) / 4294967296.0) * (7.5f - 3.0f);
        ASSERT_EQ(random.NextFloat(3.0f, 7.5f), scaled);
    }
}

// Exact draws take r mod span from the first word with r / span below
// floor(2^32 / span); a model of that rule checks results and words used.
TEST(Random, ExactRangesRejectOnlyThePartialTopBlock)
{
    struct Case
    {
        int min, max;
    } cases[] = {
        {0, 2},             // retries only on 0xFFFFFFFF
        {0, 255},           // divides 2^32: never retries
        {-1, INT_MAX},      // span 2^31 + 1: about half the words retried
        {INT_MIN, INT_MAX}, // every word is its own result
        {0, 2},             // the cached limit follows span changes
        {-7, 1000000},
    };
    for (int type : {kMT11213A, kMT19937})
    {
        Random random(type, 555);
        Random twin(type, 555);
        int retries = 0;
        for (int round = 0; round < 3; round++)
            for (const Case& c : cases)
                for (int i = 0; i < 200; i++)
                {
                    uint64_t span = uint64_t(int64_t(c.max) - c.min + 1);
                    uint64_t limit = (uint64_t(1) << 32) / span;
                    uint64_t r = twin.NextUInt32();
                    while (r / span >= limit)
                    {
                        r = twin.NextUInt32();
                        retries++;
                    }
                    int expected = int(int64_t(c.min) + int64_t(r % span));
                    ASSERT_EQ(random.Next(c.min, c.max, true), expected) << c.min << " " << c.max;
                }
        EXPECT_GT(retries, 300);
        EXPECT_EQ(Words(random, 3), Words(twin, 3));
    }

    Random random(kMT19937, 1);
    for (int i = 0; i < 1000; i++)
    {
        int value = random.Next(-3, 3, true);
        ASSERT_GE(value, -3);
        ASSERT_LE(value, 3);
    }
}

TEST(Random, EqualSeedsGiveEqualSequences)
{
    for (int type : {kDRand48, kMT11213A, kMT19937})
    {
        Random a(type, 31337);
        Random b(type, 31337);
        Random c(type, 31338);
        std::vector<uint32_t> first = Words(a, 50);
        EXPECT_EQ(first, Words(b, 50));
        EXPECT_NE(first, Words(c, 50));

        // Reseeding starts the sequence over.
        a.Seed(31337);
        EXPECT_EQ(Words(a, 50), first);
    }
}
