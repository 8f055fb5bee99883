#include "tools/assetgen/SoundGenerator.h"

#include "tools/assetgen/AudioDsp.h"
#include "tools/assetgen/AudioFiles.h"

#include <algorithm>
#include <cmath>

namespace AssetGen
{

using namespace Dsp;

namespace
{

// The mixer starts 20 bytes (10 samples) into the data and interpolates
// from the sample before: 10 silent samples keep the first output at zero.
const size_t kLeadingSilence = 10;
// Every effect peaks here: the mixer sums up to eight of them with the
// music (see kHeadroomDb).
const double kPeak = 0.89 * DbToGain(-kHeadroomDb);
// Below what any speaker plays: only offset and drift live there.
const double kDcCutoffHz = 20.0;

size_t Samples(double seconds)
{
    return size_t(seconds * kRate + 0.5);
}

void Normalize(std::vector<double>& x, double peak)
{
    double m = 0.0;
    for (double v : x)
        m = std::max(m, std::fabs(v));
    if (m > 0.0)
        for (double& v : x)
            v *= peak / m;
}

// A one-shot: silence first, the sound, a short fade so the end is clean.
// It peaks levelDb under the common peak.
std::vector<int16_t> FinishOneShot(std::vector<double> body, double levelDb = 0.0)
{
    HighPass(body, kDcCutoffHz);
    Normalize(body, kPeak * DbToGain(-levelDb));
    size_t fade = std::min(body.size(), Samples(0.01));
    for (size_t i = 0; i < fade; ++i)
        body[body.size() - 1 - i] *= double(i) / double(fade);
    std::vector<double> out(kLeadingSilence + 6, 0.0);
    out.insert(out.end(), body.begin(), body.end());
    return ToPcm16(out);
}

// A loop: the periodic body is rotated to start on a rising zero crossing,
// so the silence the mixer needs in front doubles as the loop's first
// sample and the jump from the last sample back to it is no bigger than any
// other step.
std::vector<int16_t> FinishLoop(std::vector<double> body, size_t searchFrom)
{
    HighPassLoop(body, kDcCutoffHz);
    Normalize(body, kPeak);
    size_t n = body.size(), best = searchFrom % n;
    double bestScore = 1e9;
    for (size_t k = 0; k < n / 4; ++k)
    {
        size_t i = (searchFrom + k) % n, prev = (i + n - 1) % n;
        if (body[prev] < 0.0 && body[i] >= 0.0)
        {
            double score = std::fabs(body[i]) + std::fabs(body[prev]);
            if (score < bestScore)
            {
                bestScore = score;
                best = i;
            }
            if (score < 0.002)
                break;
        }
    }
    std::rotate(body.begin(), body.begin() + long(best), body.end());
    body[0] = 0.0;
    std::vector<double> out(kLeadingSilence - 1, 0.0);
    out.insert(out.end(), body.begin(), body.end());
    return ToPcm16(out);
}

// Blends the first `fade` samples with the signal just past the loop end,
// so a signal rendered for length + fade samples repeats seamlessly.
std::vector<double> CloseLoop(std::vector<double> const& x, size_t length, size_t fade)
{
    std::vector<double> y(x.begin(), x.begin() + long(length));
    for (size_t i = 0; i < fade; ++i)
    {
        double w = 0.5 - 0.5 * std::cos(kPi * double(i) / double(fade));
        y[i] = x[i] * w + x[i + length] * (1.0 - w);
    }
    return y;
}

void AddRoom(std::vector<double>& x, double room, double damp, double wet)
{
    Reverb reverb(room, damp);
    for (double& v : x)
    {
        double l, r;
        reverb.Process(v, l, r);
        v += wet * 0.5 * (l + r);
    }
}

struct ExplosionSpec
{
    double seconds;
    uint64_t seed;
    double bodyDecay;            // seconds, time constant of the noise body
    double cutoffFrom, cutoffTo; // Hz, the body's low pass sweeps down
    double thumpFrom, thumpTo, thumpDecay, thumpLevel;
    double rumbleLevel, rumbleDecay;
    int crackles;
    double crackleLevel;
    double secondBlastAt; // seconds; 0 for none
    double roomWet;
};

// Noise through a low pass that closes as the blast fades, a sine thump
// that drops in pitch, a brown-noise rumble for the big ones, sparse
// crackles of debris, and a little room.
std::vector<double> Explosion(ExplosionSpec const& s)
{
    Rng rng(s.seed);
    size_t n = Samples(s.seconds);
    std::vector<double> out(n, 0.0);

    auto blast = [&](double start, double scale)
    {
        Svf body;
        Svf grit;
        grit.Set(2400.0, 0.8);
        Oscillator thump;
        Svf brown1, brown2;
        brown1.Set(140.0, 0.7);
        brown2.Set(140.0, 0.7);
        OnePole wobble;
        wobble.Set(6.0);
        double wob = 0.0;
        for (size_t i = Samples(start); i < n; ++i)
        {
            double t = double(i) / kRate - start;
            double white = rng.Bipolar();
            if ((i & 15) == 0)
                body.Set(s.cutoffTo + (s.cutoffFrom - s.cutoffTo) * std::exp(-t / (s.bodyDecay * 0.7)), 0.9);
            double attack = 1.0 - std::exp(-t / 0.0015);
            double env =
                attack * (0.7 * std::exp(-t / s.bodyDecay) + 0.3 * std::exp(-t / (s.bodyDecay * 3.0)));
            double b = body.Low(white) * env;
            b = std::tanh(b * 2.2) * 0.8;
            double g = grit.Band(white) * std::exp(-t / (s.bodyDecay * 0.25)) * 0.5;
            double f = s.thumpTo + (s.thumpFrom - s.thumpTo) * std::exp(-t / 0.04);
            double th = thump.Sine(f) * attack * std::exp(-t / s.thumpDecay) * s.thumpLevel;
            wob = wobble.LowPass(rng.Bipolar() * 4.0);
            double rumbleEnv =
                (1.0 - std::exp(-t / 0.03)) * std::exp(-t / s.rumbleDecay) * (0.75 + 0.25 * wob);
            double ru = brown2.Low(brown1.Low(white)) * 5.0 * rumbleEnv * s.rumbleLevel;
            double click = t < 0.004 ? white * (1.0 - t / 0.004) * 0.6 : 0.0;
            out[i] += scale * (b + g + th + ru + click);
        }
    };
    blast(0.0, 1.0);
    if (s.secondBlastAt > 0.0)
        blast(s.secondBlastAt, 0.75);

    // Debris: short band-passed ticks, dense early, thinning out.
    for (int c = 0; c < s.crackles; ++c)
    {
        double u = rng.Uniform();
        double at = 0.01 + u * u * s.seconds * 0.55;
        double centre = rng.Range(1800.0, 5200.0);
        double level = s.crackleLevel * rng.Range(0.4, 1.0) * std::exp(-at / (s.seconds * 0.4));
        Svf band;
        band.Set(centre, 3.0);
        size_t from = Samples(at), len = Samples(0.012);
        for (size_t k = 0; k < len && from + k < n; ++k)
        {
            double t = double(k) / kRate;
            out[from + k] += band.Band(rng.Bipolar()) * level * std::exp(-t / 0.003) * 3.0;
        }
    }
    AddRoom(out, 0.55, 0.5, s.roomWet);
    // What lies below 40 Hz no game speaker plays; in the mix it would only
    // take headroom.
    HighPass(out, 40.0);
    // Saturate the peaks a little: more weight for the same headroom.
    Normalize(out, 1.0);
    for (double& v : out)
        v = std::tanh(2.5 * v);
    return out;
}

std::vector<double> BeamCharge()
{
    // Played slowed to a quarter or a third: everything sits high here.
    const size_t length = Samples(0.72), fade = Samples(0.12);
    const size_t n = length + fade;
    std::vector<double> x(n, 0.0);
    Rng rng(5);
    const double f0 = 440.0;
    Oscillator saws[3] = {Oscillator(0.0), Oscillator(0.37), Oscillator(0.71)};
    const double detune[3] = {1.0, 1.0046, 0.9951};
    Svf tone;
    tone.Set(2600.0, 1.6);
    // An endless rise: octave-spaced partials glide up one octave per loop
    // under a fixed bell-shaped spectral window.
    const int partials = 7;
    double phase[partials] = {0};
    Svf hiss;
    hiss.Set(6000.0, 0.7);
    for (size_t i = 0; i < n; ++i)
    {
        double t = double(i) / kRate;
        double throb = 0.72 + 0.28 * std::sin(kTwoPi * 11.0 * t);
        double hum = 0.0;
        for (int v = 0; v < 3; ++v)
            hum += saws[v].Saw(f0 * detune[v]);
        hum = tone.Low(hum / 3.0) * throb;
        double rise = 0.0;
        double cycle = double(i) / double(length);
        for (int k = 0; k < partials; ++k)
        {
            // A partial leaving the top re-enters at the bottom where the
            // window has silenced it; its phase runs on.
            double octave = std::fmod(double(k) + cycle, double(partials));
            double hz = 110.0 * std::pow(2.0, octave);
            double centre = partials * 0.5, d = (octave - centre) / 1.4;
            phase[k] += hz / kRate;
            phase[k] -= std::floor(phase[k]);
            rise += std::exp(-d * d) * std::sin(kTwoPi * phase[k]);
        }
        double sparkle = hiss.Band(rng.Bipolar()) * (0.5 + 0.5 * std::sin(kTwoPi * 23.0 * t)) * 0.08;
        x[i] = hum * 0.75 + rise * 0.22 + sparkle;
    }
    return CloseLoop(x, length, fade);
}

// The planet cannon: a blast whose weight lies where small speakers still
// play it (a few hundred Hz to a few kHz): a falling, saturated saw chord, a
// resonant mid thud, a noise roar that closes down, a crack on top and
// only a short punch below.
std::vector<double> BeamFire()
{
    size_t n = Samples(1.6);
    std::vector<double> out(n, 0.0);
    Rng rng(81103);
    Oscillator saws[3] = {Oscillator(0.0), Oscillator(0.3), Oscillator(0.6)};
    const double detune[3] = {1.0, 1.012, 0.988};
    Oscillator punch, shimmer;
    Svf low, roar, thud;
    for (size_t i = 0; i < n; ++i)
    {
        double t = double(i) / kRate;
        double attack = 1.0 - std::exp(-t / 0.002);
        double f = 150.0 + 900.0 * std::exp(-t / 0.12);
        double z = 0.0;
        for (int v = 0; v < 3; ++v)
            z += saws[v].Saw(f * detune[v]);
        if ((i & 15) == 0)
        {
            low.Set(1000.0 + 7000.0 * std::exp(-t / 0.15), 1.2);
            roar.Set(700.0 + 1800.0 * std::exp(-t / 0.25), 0.9);
            thud.Set(380.0 + 400.0 * std::exp(-t / 0.08), 2.0);
        }
        double white = rng.Bipolar();
        double zap = std::tanh(low.Low(z / 3.0) * 3.0) * attack *
                     (0.65 * std::exp(-t / 0.28) + 0.35 * std::exp(-t / 0.7));
        double noise =
            roar.Band(white) * attack * (0.7 * std::exp(-t / 0.2) + 0.3 * std::exp(-t / 0.6)) * 1.6;
        double body = thud.Band(white) * attack * std::exp(-t / 0.14) * 2.2;
        double boom = punch.Sine(70.0 + 80.0 * std::exp(-t / 0.05)) * attack * std::exp(-t / 0.12) * 0.35;
        double shine = shimmer.Sine(1400.0 + 1800.0 * std::exp(-t / 0.05)) * std::exp(-t / 0.06) * 0.2;
        double click = t < 0.003 ? white * 0.8 : 0.0;
        out[i] = zap * 0.8 + noise + body + boom + shine + click;
    }
    HighPass(out, 60.0);
    AddRoom(out, 0.75, 0.45, 0.35);
    return out;
}

std::vector<double> LaserFire()
{
    // Twelve shots per loop; their tails wrap around so the loop is closed.
    const size_t length = Samples(0.8);
    const int shots = 12;
    std::vector<double> x(length, 0.0);
    Rng rng(7);
    for (int s = 0; s < shots; ++s)
    {
        size_t start = size_t(s) * length / shots;
        double spread = rng.Range(0.97, 1.03);
        Oscillator sq, saw(0.25);
        Svf band;
        size_t len = Samples(0.16);
        for (size_t k = 0; k < len; ++k)
        {
            double t = double(k) / kRate;
            double f = (650.0 + 2300.0 * std::exp(-t / 0.022)) * spread;
            if ((k & 7) == 0)
                band.Set(f * 1.6, 1.1);
            double tone = sq.Square(f, 0.3) * 0.6 + saw.Saw(f * 1.5) * 0.4;
            double env = (1.0 - std::exp(-t / 0.0008)) * std::exp(-t / 0.028);
            double tick = t < 0.002 ? rng.Bipolar() * (1.0 - t / 0.002) * 0.5 : 0.0;
            x[(start + k) % length] += (band.Band(tone) * 1.3 + tone * 0.25) * env + tick;
        }
    }
    // A steady undertone keeps the stream feeling like one sustained beam;
    // 110 Hz and its partner repeat exactly within 0.8 s.
    for (size_t i = 0; i < length; ++i)
    {
        double t = double(i) / kRate;
        x[i] += 0.05 * std::sin(kTwoPi * 110.0 * t) + 0.03 * std::sin(kTwoPi * 220.0 * t + 0.5);
    }
    return x;
}

// A short, bright blip on E6 (the menus play it 1.2 and 0.8 times as
// high): it slides up into its pitch within a few milliseconds, opens with
// a rounded attack and dies away fast, its octave, twelfth and a touch of
// the fifth harmonic fading sooner than the tone itself, like a tapped glass.
std::vector<double> MenuBeep()
{
    const size_t n = Samples(0.2);
    const double pitch = 1318.5;
    std::vector<double> out(n, 0.0);
    double phase = 0.0;
    for (size_t i = 0; i < n; ++i)
    {
        double t = double(i) / kRate;
        phase += pitch * (1.0 - 0.04 * std::exp(-t / 0.003)) / kRate;
        double p = kTwoPi * phase;
        double attack = t < 0.0015 ? 0.5 - 0.5 * std::cos(kPi * t / 0.0015) : 1.0;
        double env = attack * (0.6 * std::exp(-t / 0.04) + 0.4 * std::exp(-t / 0.09));
        double tone = std::sin(p) + 0.35 * std::exp(-t / 0.025) * std::sin(2.0 * p + 0.3) +
                      0.25 * std::exp(-t / 0.015) * std::sin(3.0 * p) +
                      0.06 * std::exp(-t / 0.008) * std::sin(5.0 * p);
        out[i] = env * tone;
    }
    return out;
}

} // namespace

std::vector<SoundAsset> const& SoundAssets()
{
    static const std::vector<SoundAsset> assets = {
        {"explosion_rcq0", false},
        {"explosion_rcq1", false},
        {"explosion_rcq2", false},
        {"explosion_rcq4", false},
        {"explosion_rcq5", false},
        {"beam_charge", true},
        {"beam_fire__81103__Pellwick__Blast_Revisited", false},
        {"laserfire", true},
        {"sfx_menubeep", false},
    };
    return assets;
}

std::vector<int16_t> SynthesizeSound(size_t index)
{
    switch (index)
    {
    case 0: // bullet hits: a short crunch
        return FinishOneShot(
            Explosion({0.38, 100, 0.045, 7000, 700, 190, 70, 0.06, 0.55, 0.0, 0.1, 4, 0.2, 0, 0.06}));
    case 1: // small kinds, played high
        return FinishOneShot(
            Explosion({0.75, 101, 0.1, 9000, 420, 150, 50, 0.12, 0.6, 0.25, 0.25, 10, 0.3, 0, 0.1}));
    case 2: // heavy kinds
        return FinishOneShot(
            Explosion({1.6, 102, 0.28, 6500, 180, 105, 34, 0.3, 0.9, 0.65, 0.7, 22, 0.35, 0, 0.16}));
    case 3: // medium kinds
        return FinishOneShot(
            Explosion({1.15, 104, 0.18, 8000, 260, 125, 42, 0.2, 0.75, 0.42, 0.45, 15, 0.32, 0, 0.13}));
    case 4: // bosses: two blasts and a long rumble
        return FinishOneShot(
            Explosion({2.7, 105, 0.42, 7000, 120, 90, 28, 0.5, 1.0, 0.95, 1.2, 42, 0.4, 0.17, 0.22}));
    case 5:
        return FinishLoop(BeamCharge(), 0);
    case 6:
        // Its weight now lies where loudness is heard: 2 dB down keeps it
        // as loud against the music as it always was.
        return FinishOneShot(BeamFire(), 2.0);
    case 7:
        // The restart falls between two shots, where the level is steady.
        return FinishLoop(LaserFire(), Samples(0.8) / 24);
    default:
        return FinishOneShot(MenuBeep());
    }
}

bool GenerateSound(std::string const& directory, size_t index, std::string& error)
{
    return WriteWav(directory + "/" + SoundAssets()[index].name + ".wav", SynthesizeSound(index), kRate,
                    error);
}

} // namespace AssetGen
