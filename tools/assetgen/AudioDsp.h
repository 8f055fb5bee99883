// The building blocks of the generated sound: a seeded noise source,
// band-limited oscillators, filters that may be swept while they run, a
// plate-like reverb and a ping-pong delay. Everything runs at 44.1 kHz in
// double precision; the results are deterministic for a given seed.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace AssetGen
{
namespace Dsp
{

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;

// Frequency of a MIDI note number (69 = A4 = 440 Hz); fractional notes bend.
inline double MidiToHz(double note)
{
    return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}
inline double DbToGain(double db)
{
    return std::pow(10.0, db / 20.0);
}

// xorshift64*: small, fast and the same on every machine.
class Rng
{
public:
    explicit Rng(uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull)
    {
        if (state == 0)
            state = 1;
    }
    uint64_t Next()
    {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return state * 0x2545F4914F6CDD1Dull;
    }
    // [0, 1)
    double Uniform() { return double(Next() >> 11) * (1.0 / 9007199254740992.0); }
    // [-1, 1)
    double Bipolar() { return Uniform() * 2.0 - 1.0; }
    double Range(double a, double b) { return a + (b - a) * Uniform(); }

private:
    uint64_t state;
};

// Correction for the discontinuity of a naive saw or square (polyBLEP): two
// samples wide, it removes most of the audible aliasing.
inline double PolyBlep(double t, double dt)
{
    if (t < dt)
    {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt)
    {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

// One oscillator with its own phase; the frequency may change every sample.
class Oscillator
{
public:
    explicit Oscillator(double phase = 0.0) : phase(phase - std::floor(phase)) {}
    double Saw(double hz)
    {
        double dt = hz / kRate;
        double v = 2.0 * phase - 1.0 - PolyBlep(phase, dt);
        Advance(dt);
        return v;
    }
    double Square(double hz, double width = 0.5)
    {
        double dt = hz / kRate;
        double v = phase < width ? 1.0 : -1.0;
        v += PolyBlep(phase, dt);
        double t2 = phase - width;
        if (t2 < 0.0)
            t2 += 1.0;
        v -= PolyBlep(t2, dt);
        Advance(dt);
        return v;
    }
    double Triangle(double hz)
    {
        double v = phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
        Advance(hz / kRate);
        return v;
    }
    double Sine(double hz)
    {
        double v = std::sin(kTwoPi * phase);
        Advance(hz / kRate);
        return v;
    }
    double Phase() const { return phase; }

private:
    void Advance(double dt)
    {
        phase += dt;
        if (phase >= 1.0 || phase < 0.0)
            phase -= std::floor(phase);
    }
    double phase;
};

// State-variable filter in the trapezoidal form: stable while its cutoff is
// swept, gives low, band and high pass at once.
class Svf
{
public:
    void Set(double cutoffHz, double q)
    {
        double fc = cutoffHz < 10.0 ? 10.0 : (cutoffHz > 0.45 * kRate ? 0.45 * kRate : cutoffHz);
        g = std::tan(kPi * fc / kRate);
        k = 1.0 / (q < 0.05 ? 0.05 : q);
        a1 = 1.0 / (1.0 + g * (g + k));
        a2 = g * a1;
        a3 = g * a2;
    }
    void Process(double x)
    {
        double v3 = x - ic2;
        double v1 = a1 * ic1 + a2 * v3;
        double v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2.0 * v1 - ic1;
        ic2 = 2.0 * v2 - ic2;
        low = v2;
        band = v1;
        high = x - k * v1 - v2;
    }
    double Low(double x)
    {
        Process(x);
        return low;
    }
    double Band(double x)
    {
        Process(x);
        return band;
    }
    double High(double x)
    {
        Process(x);
        return high;
    }
    double low = 0, band = 0, high = 0;

private:
    double g = 0, k = 1, a1 = 0, a2 = 0, a3 = 0, ic1 = 0, ic2 = 0;
};

// First-order smoothing low pass (or, via HighPass, its complement).
class OnePole
{
public:
    void Set(double cutoffHz) { a = 1.0 - std::exp(-kTwoPi * cutoffHz / kRate); }
    double LowPass(double x) { return z += a * (x - z); }
    double HighPass(double x) { return x - LowPass(x); }

private:
    double a = 1.0, z = 0.0;
};

// Attack, decay, sustain, release; t in seconds since the note began, gate
// the held length. The release starts from wherever the envelope was.
struct Adsr
{
    double attack = 0.005, decay = 0.1, sustain = 1.0, release = 0.1;
    double At(double t, double gate) const;
    double Length(double gate) const { return gate + release; }
};

// Freeverb-style stereo reverb: eight damped combs and four all-passes per
// side, the right side spread by a few samples for width.
class Reverb
{
public:
    Reverb(double roomSize, double damping);
    void Process(double in, double& left, double& right);

private:
    struct Comb
    {
        std::vector<double> buffer;
        size_t index = 0;
        double store = 0;
    };
    struct AllPass
    {
        std::vector<double> buffer;
        size_t index = 0;
    };
    Comb combs[2][8];
    AllPass passes[2][4];
    double feedback, damp;
};

// Tempo-synced ping-pong echo with a darkening feedback path.
class PingPongDelay
{
public:
    PingPongDelay(double seconds, double feedback, double toneHz);
    void Process(double inLeft, double inRight, double& outLeft, double& outRight);

private:
    std::vector<double> left, right;
    size_t index = 0;
    double feedback;
    OnePole toneLeft, toneRight;
};

// Room every generated sound leaves below full scale. The game adds the
// music and the effects of heavy play (up to eight voices) into one 16-bit
// stream at full volumes; their sum must stay under full scale. Music and
// effects lose the same amount, so the balance between them stays.
constexpr double kHeadroomDb = 7.0;

// A second-order Butterworth high pass over a whole one-shot, from rest.
template <class Sample> void HighPass(std::vector<Sample>& x, double cutoffHz)
{
    Svf filter;
    filter.Set(cutoffHz, 0.7071);
    for (Sample& v : x)
        v = Sample(filter.High(double(v)));
}

// The same over a loop: the filter first runs once round it to settle, so
// what it gives repeats without a seam.
template <class Sample> void HighPassLoop(std::vector<Sample>& x, double cutoffHz)
{
    Svf filter;
    filter.Set(cutoffHz, 0.7071);
    for (Sample v : x)
        filter.Process(double(v));
    for (Sample& v : x)
        v = Sample(filter.High(double(v)));
}

// Soft saturation that leaves small signals alone.
inline double SoftClip(double x)
{
    return std::tanh(x);
}

} // namespace Dsp
} // namespace AssetGen
