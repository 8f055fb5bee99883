#include "tools/assetgen/Sequencer.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>

#include <sys/mman.h>

namespace AssetGen
{
namespace Music
{

using namespace Dsp;

namespace
{

// A zeroed buffer of floats straight from the kernel, in huge pages where it
// allows them: a song's buses are hundreds of megabytes of first touches,
// which cost more in small pages than the synthesis does.
class Bus
{
public:
    explicit Bus(size_t n) : count(n), bytes(n * sizeof(float))
    {
        void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED)
        {
            fallback.assign(n, 0.0f);
            data = fallback.data();
            return;
        }
        madvise(p, bytes, MADV_HUGEPAGE);
        data = static_cast<float*>(p);
    }
    ~Bus()
    {
        if (fallback.empty())
            munmap(data, bytes);
    }
    Bus(Bus const&) = delete;
    Bus& operator=(Bus const&) = delete;
    float& operator[](size_t i) { return data[i]; }
    size_t size() const { return count; }

private:
    size_t count, bytes;
    float* data = nullptr;
    std::vector<float> fallback;
};

// Renders one subtractive note into l/r (already sized), from sample 0.
void RenderSynth(SynthPatch const& p, double midi, double gateSeconds, double velocity, Rng& rng,
                 std::vector<double>& l, std::vector<double>& r)
{
    size_t n = l.size();
    int voices = std::max(1, p.unison);
    std::vector<Oscillator> oscs;
    std::vector<double> ratio, panL, panR;
    for (int v = 0; v < voices; ++v)
    {
        double spread = voices == 1 ? 0.0 : (double(v) / double(voices - 1)) * 2.0 - 1.0;
        oscs.emplace_back(rng.Uniform());
        ratio.push_back(std::pow(2.0, spread * p.detuneCents * 0.5 / 1200.0));
        double pan = spread * p.width;
        panL.push_back(std::cos((pan + 1.0) * kPi * 0.25));
        panR.push_back(std::sin((pan + 1.0) * kPi * 0.25));
    }
    Oscillator sub(rng.Uniform());
    Svf filterL, filterR;
    double base = MidiToHz(midi);
    double norm = 1.0 / std::sqrt(double(voices));
    double cutoffBase =
        p.cutoff * std::pow(base / 261.63, p.keyTrack) * (1.0 + p.velocityToCutoff * (velocity - 0.7));
    double bend = 1.0;
    const bool mono = p.width == 0.0;
    const double driveGain = 1.0 + p.drive, driveNorm = 1.0 / std::tanh(driveGain);
    for (size_t i = 0; i < n; ++i)
    {
        double t = double(i) / kRate;
        if ((i & 15) == 0)
        {
            double semis = 0.0;
            if (p.slide != 0.0)
                semis += p.slide * std::exp(-t / p.slideTime);
            if (p.vibratoDepth > 0.0 && t > p.vibratoDelay)
            {
                double ramp = std::min(1.0, (t - p.vibratoDelay) / 0.3);
                semis += p.vibratoDepth * ramp * std::sin(kTwoPi * p.vibratoRate * t);
            }
            bend = std::pow(2.0, semis / 12.0);
            double fc = cutoffBase + p.envAmount * std::exp(-t / p.filterDecay);
            filterL.Set(fc, p.resonance);
            filterR.Set(fc, p.resonance);
        }
        double hz = base * bend;
        double sl = 0.0, sr = 0.0;
        for (int v = 0; v < voices; ++v)
        {
            double f = hz * ratio[size_t(v)];
            Oscillator& o = oscs[size_t(v)];
            double s = 0.0;
            if (p.saw != 0.0)
                s += p.saw * o.Saw(f);
            else if (p.square != 0.0)
                s += p.square * o.Square(f, p.pulseWidth);
            else if (p.triangle != 0.0)
                s += p.triangle * o.Triangle(f);
            else
                s += p.sine * o.Sine(f);
            sl += s * panL[size_t(v)];
            sr += s * panR[size_t(v)];
        }
        double common = 0.0;
        if (p.sub != 0.0)
            common += p.sub * sub.Sine(hz * 0.5);
        if (p.noise != 0.0)
            common += p.noise * rng.Bipolar();
        sl = sl * norm + common * 0.7071;
        sr = sr * norm + common * 0.7071;
        // Without stereo spread both sides are the same signal.
        double yl = filterL.Low(sl), yr = mono ? yl : filterR.Low(sr);
        if (p.drive > 0.0)
        {
            yl = std::tanh(yl * driveGain) * driveNorm;
            yr = mono ? yl : std::tanh(yr * driveGain) * driveNorm;
        }
        double env = p.amp.At(t, gateSeconds) * velocity;
        l[i] = yl * env;
        r[i] = yr * env;
    }
}

void RenderFm(FmPatch const& p, double midi, double gateSeconds, double velocity, std::vector<double>& out)
{
    double hz = MidiToHz(midi);
    double pc = 0, pm = 0, pm2 = 0;
    // Exponential decays as running products: exp() per sample is costly.
    double fall = 1.0, fallStep = std::exp(-1.0 / (p.decay * kRate));
    double idx = 1.0, idxStep = std::exp(-1.0 / (p.indexDecay * kRate));
    double idx2 = 1.0, idx2Step = std::exp(-2.0 / (p.indexDecay * kRate));
    double depth = p.index * (0.6 + 0.5 * velocity);
    for (size_t i = 0; i < out.size(); ++i)
    {
        double t = double(i) / kRate;
        double m = std::sin(kTwoPi * pm) * depth * (0.25 + 0.75 * idx);
        if (p.index2 > 0.0)
            m += std::sin(kTwoPi * pm2) * p.index2 * idx2;
        double s = std::sin(kTwoPi * pc + m);
        pc += hz / kRate;
        pm += hz * p.ratio / kRate;
        pm2 += hz * p.ratio2 / kRate;
        pc -= pc >= 1.0 ? 1.0 : 0.0;
        pm -= std::floor(pm);
        pm2 -= std::floor(pm2);
        out[i] = s * p.amp.At(t, gateSeconds) * fall * velocity;
        fall *= fallStep;
        idx *= idxStep;
        idx2 *= idx2Step;
    }
}

double DrumSeconds(Drum::Enum d)
{
    switch (d)
    {
    case Drum::Kick:
        return 0.5;
    case Drum::Snare:
    case Drum::Clap:
        return 0.45;
    case Drum::ClosedHat:
    case Drum::Rim:
        return 0.12;
    case Drum::Shaker:
        return 0.1;
    case Drum::OpenHat:
        return 0.5;
    case Drum::Crash:
        return 2.8;
    case Drum::Tom:
        return 0.7;
    case Drum::Timpani:
        return 1.6;
    }
    return 0.5;
}

// midi tunes the pitched drums (60 is their natural pitch).
void RenderDrum(Drum::Enum d, double midi, double velocity, Rng& rng, std::vector<double>& out)
{
    double tune = std::pow(2.0, (midi - 60.0) / 12.0);
    Oscillator o1, o2;
    Svf f1, f2;
    double lastNoise = 0.0;
    switch (d)
    {
    case Drum::Snare:
        f1.Set(5200.0, 0.6);
        f2.Set(1800.0, 0.8);
        break;
    case Drum::Clap:
        f1.Set(1300.0, 1.4);
        break;
    case Drum::ClosedHat:
    case Drum::OpenHat:
        f1.Set(7500.0, 0.8);
        f2.Set(10500.0, 1.0);
        break;
    case Drum::Shaker:
        f1.Set(6500.0, 1.2);
        break;
    case Drum::Crash:
        f1.Set(5000.0, 0.5);
        f2.Set(9000.0, 0.6);
        break;
    case Drum::Rim:
        f1.Set(1700.0 * tune, 6.0);
        break;
    default:
        break;
    }
    for (size_t i = 0; i < out.size(); ++i)
    {
        double t = double(i) / kRate;
        double white = rng.Bipolar();
        double s = 0.0;
        switch (d)
        {
        case Drum::Kick:
        {
            double f = (48.0 + 110.0 * std::exp(-t / 0.035)) * tune;
            double body = o1.Sine(f) * std::exp(-t / 0.28);
            double click = t < 0.003 ? white * 0.3 : 0.0;
            s = std::tanh(body * 1.6) * 0.9 + click;
            break;
        }
        case Drum::Snare:
        {
            double tone = (o1.Sine(185.0 * tune) * 0.6 + o2.Sine(330.0 * tune) * 0.3) * std::exp(-t / 0.05);
            double noise = (f1.Low(white) - f2.Low(white) * 0.3) * std::exp(-t / 0.13);
            s = tone + noise * 0.9;
            break;
        }
        case Drum::Clap:
        {
            // Three quick slaps, then the tail.
            double env = 0.0;
            for (int k = 0; k < 3; ++k)
            {
                double u = t - k * 0.011;
                if (u >= 0.0)
                    env = std::max(env, std::exp(-u / 0.006));
            }
            env = std::max(env, 0.6 * std::exp(-(t - 0.022) / 0.11) * (t > 0.022 ? 1.0 : 0.0));
            s = f1.Band(white) * env * 2.2;
            break;
        }
        case Drum::ClosedHat:
            s = f2.High(f1.High(white)) * std::exp(-t / 0.025);
            break;
        case Drum::OpenHat:
            s = f2.High(f1.High(white)) * std::exp(-t / 0.18) * 0.8;
            break;
        case Drum::Shaker:
        {
            double env = (1.0 - std::exp(-t / 0.008)) * std::exp(-t / 0.03);
            s = f1.Band(white) * env * 1.6;
            break;
        }
        case Drum::Crash:
        {
            double metal = o1.Square(587.0, 0.5) * o2.Square(845.0, 0.5);
            double n = f1.High(white) * 0.8 + f2.Band(metal) * 0.4;
            s = n * (0.55 * std::exp(-t / 0.35) + 0.45 * std::exp(-t / 1.1)) * 0.7;
            break;
        }
        case Drum::Tom:
        {
            double f = (95.0 + 60.0 * std::exp(-t / 0.06)) * tune;
            s = o1.Sine(f) * std::exp(-t / 0.22) + white * 0.08 * std::exp(-t / 0.02);
            break;
        }
        case Drum::Rim:
            s = f1.Band(white + (t < 0.001 ? 1.0 : 0.0)) * std::exp(-t / 0.012) * 4.0;
            break;
        case Drum::Timpani:
        {
            double f = 87.0 * tune * (1.0 + 0.04 * std::exp(-t / 0.05));
            lastNoise = lastNoise * 0.97 + white * 0.03;
            s = (o1.Sine(f) * 0.8 + o2.Sine(f * 1.5) * 0.25) * std::exp(-t / 0.55) +
                lastNoise * std::exp(-t / 0.03) * 2.0;
            break;
        }
        }
        double fadeOut = std::min(1.0, double(out.size() - i) / 200.0);
        out[i] = s * velocity * fadeOut;
    }
}

// The pumping gain at every sample: each duck beat drops the gain, which
// recovers exponentially; periodic over the song.
std::vector<float> DuckCurve(Song const& song, size_t total, size_t length)
{
    std::vector<float> curve;
    if (song.duckBeats.empty())
        return curve;
    std::vector<size_t> hits;
    for (double b : song.duckBeats)
        hits.push_back(size_t(b * song.SecondsPerBeat() * kRate + 0.5) % length);
    std::sort(hits.begin(), hits.end());
    curve.resize(total);
    // Start from the last hit of the previous pass.
    double since = double(length - hits.back());
    size_t next = 0;
    for (size_t i = 0; i < total; ++i)
    {
        size_t at = i % length;
        if (at == 0)
            next = 0;
        while (next < hits.size() && hits[next] == at)
        {
            since = 0.0;
            ++next;
        }
        double t = since / kRate;
        curve[i] = float(std::exp(-t / song.duckRelease) * (t < 0.004 ? t / 0.004 : 1.0));
        since += 1.0;
    }
    return curve;
}

} // namespace

size_t Song::Length() const
{
    return size_t(TotalBeats() * SecondsPerBeat() * kRate + 0.5);
}

void Render(Song const& song, std::vector<float>& left, std::vector<float>& right)
{
    const size_t length = song.Length();
    const size_t tail = size_t(4.0 * kRate);
    const size_t total = length + tail;
    // Buses in float: at a few minutes of audio each, their first touch is
    // a large share of the time.
    Bus dryL(total), dryR(total), reverbSend(total), delaySend(total);
    std::vector<float> duck = DuckCurve(song, total, length);
    Rng rng(song.seed);
    const double spb = song.SecondsPerBeat();

    for (Part const& part : song.parts)
    {
        double pan = std::max(-1.0, std::min(1.0, part.pan));
        double gl = std::cos((pan + 1.0) * kPi * 0.25) * 1.4142 * part.gain;
        double gr = std::sin((pan + 1.0) * kPi * 0.25) * 1.4142 * part.gain;
        bool ducked = part.duck > 0.0 && !duck.empty();
        // Scratch for one note, reused: fresh large buffers per note cost
        // more than the synthesis.
        std::vector<double> l, r;
        std::map<double, std::vector<std::vector<double>>> drumTakes;
        size_t hits = 0;
        for (Note const& note : part.notes)
        {
            double gate = note.beats * spb;
            size_t start = size_t(note.beat * spb * kRate + 0.5);
            Instrument const& ins = part.instrument;
            bool stereo = ins.kind == Instrument::Synth;
            if (stereo)
            {
                size_t n = size_t((gate + ins.synth.amp.release) * kRate) + 1;
                l.resize(n);
                r.resize(n);
                RenderSynth(ins.synth, note.midi, gate, note.velocity, rng, l, r);
            }
            else if (ins.kind == Instrument::Fm)
            {
                l.resize(size_t((gate + ins.fm.amp.release) * kRate) + 1);
                RenderFm(ins.fm, note.midi, gate, note.velocity, l);
            }
            else
            {
                // A few takes of each drum pitch, rendered once and reused:
                // hits differ in their noise, not their shape.
                std::vector<std::vector<double>>& takes = drumTakes[note.midi];
                if (takes.empty())
                    for (int k = 0; k < 4; ++k)
                    {
                        takes.emplace_back(size_t(DrumSeconds(ins.drum) * kRate));
                        RenderDrum(ins.drum, note.midi, 1.0, rng, takes.back());
                    }
                std::vector<double> const& take = takes[hits++ % takes.size()];
                l.resize(take.size());
                for (size_t i = 0; i < take.size(); ++i)
                    l[i] = take[i] * note.velocity;
            }
            for (size_t i = 0; i < l.size(); ++i)
            {
                size_t at = start + i;
                if (at >= total)
                    at -= length; // a note past the end rings into the start
                if (at >= total)
                    break;
                double g = ducked ? 1.0 - part.duck * duck[at] : 1.0;
                double sl = l[i] * gl * g, sr = (stereo ? r[i] : l[i]) * gr * g;
                dryL[at] += float(sl);
                dryR[at] += float(sr);
                reverbSend[at] += float((sl + sr) * 0.5 * part.reverb);
                delaySend[at] += float((sl + sr) * 0.5 * part.delay);
            }
        }
    }

    PingPongDelay delay(song.delayBeats * spb, song.delayFeedback, song.delayTone);
    Reverb reverb(song.reverbRoom, song.reverbDamp);
    for (size_t i = 0; i < total; ++i)
    {
        double el, er, rl, rr;
        delay.Process(delaySend[i] * 2.0, 0.0, el, er);
        el *= song.delayReturn;
        er *= song.delayReturn;
        reverb.Process(reverbSend[i] + (el + er) * 0.25, rl, rr);
        dryL[i] += float(el + rl * song.reverbReturn);
        dryR[i] += float(er + rr * song.reverbReturn);
    }
    // Close the loop: everything past the end belongs to the start.
    for (size_t i = length; i < total; ++i)
    {
        dryL[i - length] += dryL[i];
        dryR[i - length] += dryR[i];
    }
    Bus& mixL = dryL;
    Bus& mixR = dryR;

    // Level: a fixed loudness, then a soft knee on the rare peaks.
    double sum = 0.0;
    for (size_t i = 0; i < length; ++i)
        sum += double(mixL[i]) * mixL[i] + double(mixR[i]) * mixR[i];
    double rms = std::sqrt(sum / double(2 * length));
    double scale = rms > 0.0 ? song.loudness / rms : 1.0;
    auto limit = [](double x)
    {
        const double knee = 0.6, room = 0.32;
        double a = std::fabs(x);
        if (a <= knee)
            return x;
        double y = knee + room * std::tanh((a - knee) / room);
        return x < 0.0 ? -y : y;
    };
    left.resize(length);
    right.resize(length);
    for (size_t i = 0; i < length; ++i)
    {
        left[i] = float(limit(mixL[i] * scale));
        right[i] = float(limit(mixR[i] * scale));
    }
}

int NoteNumber(std::string const& name)
{
    static const int kLetters[7] = {9, 11, 0, 2, 4, 5, 7}; // A..G
    if (name.size() < 2 || name[0] < 'A' || name[0] > 'G')
        return -1;
    int pc = kLetters[name[0] - 'A'];
    size_t i = 1;
    if (name[i] == '#')
        ++pc, ++i;
    else if (name[i] == 'b')
        --pc, ++i;
    if (i >= name.size())
        return -1;
    int octave = 0;
    bool negative = false;
    if (name[i] == '-')
        negative = true, ++i;
    if (i >= name.size())
        return -1;
    for (; i < name.size(); ++i)
    {
        if (name[i] < '0' || name[i] > '9')
            return -1;
        octave = octave * 10 + (name[i] - '0');
    }
    if (negative)
        octave = -octave;
    return (octave + 1) * 12 + pc;
}

Chord ParseChord(std::string const& symbol)
{
    static const std::map<std::string, std::vector<int>> kQualities = {
        {"", {0, 4, 7}},
        {"m", {0, 3, 7}},
        {"7", {0, 4, 7, 10}},
        {"m7", {0, 3, 7, 10}},
        {"maj7", {0, 4, 7, 11}},
        {"m9", {0, 3, 7, 10, 14}},
        {"maj9", {0, 4, 7, 11, 14}},
        {"sus2", {0, 2, 7}},
        {"sus4", {0, 5, 7}},
        {"add9", {0, 4, 7, 14}},
        {"6", {0, 4, 7, 9}},
        {"m6", {0, 3, 7, 9}},
        {"dim", {0, 3, 6}},
        {"9", {0, 4, 7, 10, 14}},
    };
    Chord chord;
    if (symbol.empty())
        return chord;
    int n = NoteNumber(symbol.substr(0, symbol.size() > 1 && (symbol[1] == '#' || symbol[1] == 'b') ? 2 : 1) +
                       "4");
    chord.root = ((n % 12) + 12) % 12;
    size_t q = (symbol.size() > 1 && (symbol[1] == '#' || symbol[1] == 'b')) ? 2 : 1;
    auto it = kQualities.find(symbol.substr(q));
    chord.intervals = it != kQualities.end() ? it->second : std::vector<int>{0, 4, 7};
    return chord;
}

std::vector<int> Voicing(Chord const& chord, int centre, int count)
{
    std::vector<int> tones;
    for (int iv : chord.intervals)
    {
        int pc = (chord.root + iv) % 12;
        // The octave of this pitch class nearest the centre.
        int note = centre - ((centre - pc) % 12 + 12) % 12;
        if (centre - note > 6)
            note += 12;
        tones.push_back(note);
    }
    std::sort(tones.begin(), tones.end());
    tones.erase(std::unique(tones.begin(), tones.end()), tones.end());
    std::vector<int> out;
    for (int i = 0; int(out.size()) < count && !tones.empty(); ++i)
        out.push_back(tones[size_t(i) % tones.size()] + 12 * (i / int(tones.size())));
    std::sort(out.begin(), out.end());
    return out;
}

double AddLine(Part& part, double beat, std::string const& text, double velocity)
{
    std::istringstream in(text);
    std::string token;
    while (in >> token)
    {
        size_t colon = token.find(':');
        if (colon == std::string::npos)
            continue;
        double beats = std::atof(token.c_str() + colon + 1) / 4.0;
        std::string name = token.substr(0, colon);
        if (name != "-")
        {
            int midi = NoteNumber(name);
            if (midi >= 0)
                part.notes.push_back({beat, beats, double(midi), velocity});
        }
        beat += beats;
    }
    return beat;
}

void AddPattern(Part& part, double beat, std::string const& pattern, int bars, double midi, int beatsPerBar)
{
    if (pattern.empty())
        return;
    double span = double(pattern.size()) / 4.0;
    int repeats = int(std::ceil(bars * beatsPerBar / span - 1e-9));
    for (int r = 0; r < repeats; ++r)
        for (size_t i = 0; i < pattern.size(); ++i)
        {
            double at = beat + r * span + double(i) / 4.0;
            if (at >= beat + bars * beatsPerBar - 1e-9)
                break;
            char c = pattern[i];
            double v = c == 'X' ? 1.0 : (c == 'x' ? 0.78 : (c == 'o' ? 0.45 : 0.0));
            if (v > 0.0)
                part.notes.push_back({at, 0.25, midi, v});
        }
}

} // namespace Music
} // namespace AssetGen
