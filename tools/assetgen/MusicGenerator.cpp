#include "tools/assetgen/MusicGenerator.h"

#include "engine/core/Log.h"
#include "tools/assetgen/AudioFiles.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <sstream>

namespace AssetGen
{

using namespace Music;

namespace
{

struct TimedChord
{
    double beat, beats;
    Chord chord;
};

// "Am9 F Cmaj7 Bb+C" from a bar on: one chord a bar, "+" splits a bar.
std::vector<TimedChord> Progression(int bar, std::string const& text, int beatsPerBar = 4)
{
    std::vector<TimedChord> out;
    std::istringstream in(text);
    std::string token;
    while (in >> token)
    {
        std::vector<std::string> pieces;
        size_t from = 0, plus;
        while ((plus = token.find('+', from)) != std::string::npos)
        {
            pieces.push_back(token.substr(from, plus - from));
            from = plus + 1;
        }
        pieces.push_back(token.substr(from));
        double each = double(beatsPerBar) / double(pieces.size());
        for (size_t i = 0; i < pieces.size(); ++i)
            out.push_back({bar * beatsPerBar + i * each, each, ParseChord(pieces[i])});
        ++bar;
    }
    return out;
}

Chord const& ChordAt(std::vector<TimedChord> const& chords, double beat)
{
    for (TimedChord const& c : chords)
        if (beat >= c.beat - 1e-9 && beat < c.beat + c.beats - 1e-9)
            return c.chord;
    return chords.back().chord;
}

// Sustained chords; notes overlap the next chord a little for legato.
void AddChords(Part& part, std::vector<TimedChord> const& chords, int centre, int count, double velocity,
               double overlap = 0.05)
{
    for (TimedChord const& c : chords)
        for (int note : Voicing(c.chord, centre, count))
            part.notes.push_back({c.beat, c.beats + overlap, double(note), velocity});
}

// A bass line from a one-bar rhythm over the chords: 'r' root, 'f' fifth,
// 'o' octave, 't' third, '-' holds the note before, '.' rests.
void AddBass(Part& part, std::vector<TimedChord> const& chords, std::string const& rhythm, int lowest,
             double velocity)
{
    double first = chords.front().beat, last = chords.back().beat + chords.back().beats;
    double span = double(rhythm.size()) / 4.0;
    for (double start = first; start < last - 1e-9; start += span)
        for (size_t i = 0; i < rhythm.size(); ++i)
        {
            char c = rhythm[i];
            if (c != 'r' && c != 'f' && c != 'o' && c != 't')
                continue;
            size_t hold = 1;
            while (i + hold < rhythm.size() && rhythm[i + hold] == '-')
                ++hold;
            double at = start + i / 4.0;
            if (at >= last - 1e-9)
                break;
            Chord const& chord = ChordAt(chords, at);
            int root = lowest + ((chord.root - lowest) % 12 + 12) % 12;
            int third = chord.intervals.size() > 1 ? chord.intervals[1] : 4;
            int note = c == 'r' ? root : (c == 'f' ? root + 7 : (c == 'o' ? root + 12 : root + third));
            part.notes.push_back({at, hold / 4.0 * 0.92, double(note), velocity * (i % 4 == 0 ? 1.0 : 0.85)});
        }
}

// An arpeggio: each digit picks a tone of the chord's voicing (0 lowest),
// '.' rests; every step is a sixteenth long times gate.
void AddArp(Part& part, std::vector<TimedChord> const& chords, std::string const& steps, int centre,
            int count, double velocity, double gate = 0.9)
{
    double first = chords.front().beat, last = chords.back().beat + chords.back().beats;
    double span = double(steps.size()) / 4.0;
    for (double start = first; start < last - 1e-9; start += span)
        for (size_t i = 0; i < steps.size(); ++i)
        {
            char c = steps[i];
            if (c < '0' || c > '9')
                continue;
            double at = start + i / 4.0;
            if (at >= last - 1e-9)
                break;
            std::vector<int> tones = Voicing(ChordAt(chords, at), centre, count);
            int note = tones[size_t(c - '0') % tones.size()];
            part.notes.push_back({at, 0.25 * gate, double(note), velocity * (i % 4 == 0 ? 1.0 : 0.82)});
        }
}

Part Drums(Drum::Enum kind, double gain, double pan, double reverb)
{
    Part p;
    p.instrument.kind = Instrument::Percussion;
    p.instrument.drum = kind;
    p.gain = gain;
    p.pan = pan;
    p.reverb = reverb;
    return p;
}

struct Score
{
    std::string error;
    // A written line must end where the section does.
    void Line(Part& part, int bar, int bars, std::string const& text, double velocity = 0.8)
    {
        double end = AddLine(part, bar * 4.0, text, velocity);
        if (std::fabs(end - (bar + bars) * 4.0) > 1e-9 && error.empty())
        {
            std::ostringstream msg;
            msg << "a line from bar " << bar + 1 << " ends at beat " << end << " instead of "
                << (bar + bars) * 4.0;
            error = msg.str();
        }
    }
};

void Kicks(Song& song, Part const& kick)
{
    for (Note const& n : kick.notes)
        song.duckBeats.push_back(n.beat);
}

// --- Menu: calm and spacious, A minor, 84 bpm, 32 bars ---------------------
void ComposeMenu(Song& song, Score& score)
{
    song.bpm = 84;
    song.bars = 32;
    song.reverbRoom = 0.9;
    song.reverbDamp = 0.35;
    song.reverbReturn = 1.2;
    song.delayBeats = 0.75;
    song.delayFeedback = 0.45;
    song.delayTone = 3500;
    song.loudness = 0.15;
    song.seed = 11;

    const std::string verse = "Am9 Fmaj7 Cmaj7 Gadd9 Am9 Fmaj7 Dm9 Esus4+E";
    const std::string bridge = "Fmaj7 G Em7 Am7 Dm7 G Cmaj7 Esus4+E";
    auto intro = Progression(0, verse), a = Progression(8, verse), b = Progression(16, bridge),
         c = Progression(24, verse);
    auto all = Progression(0, verse + " " + verse + " " + bridge + " " + verse);

    Part pad;
    pad.instrument.synth.unison = 4;
    pad.instrument.synth.detuneCents = 22;
    pad.instrument.synth.width = 0.9;
    pad.instrument.synth.amp = {1.2, 1.5, 0.8, 1.6};
    pad.instrument.synth.cutoff = 1100;
    pad.instrument.synth.keyTrack = 0.3;
    pad.instrument.synth.resonance = 0.8;
    pad.instrument.synth.vibratoDepth = 0.04;
    pad.instrument.synth.vibratoRate = 0.7;
    pad.instrument.synth.vibratoDelay = 0.0;
    pad.gain = 0.3;
    pad.reverb = 0.7;
    AddChords(pad, all, 62, 4, 0.7, 0.3);

    // A plucked arpeggio floating on the dotted-eighth echo.
    Part pluck;
    pluck.instrument.synth.unison = 2;
    pluck.instrument.synth.detuneCents = 8;
    pluck.instrument.synth.width = 0.4;
    pluck.instrument.synth.amp = {0.002, 0.35, 0.0, 0.3};
    pluck.instrument.synth.cutoff = 500;
    pluck.instrument.synth.envAmount = 3200;
    pluck.instrument.synth.filterDecay = 0.12;
    pluck.instrument.synth.resonance = 1.1;
    pluck.gain = 0.22;
    pluck.pan = 0.25;
    pluck.reverb = 0.45;
    pluck.delay = 0.5;
    AddArp(pluck, all, "0.2.3.1.4.3.2.1.", 69, 5, 0.8);

    Part bass;
    bass.instrument.synth.saw = 0;
    bass.instrument.synth.triangle = 1;
    bass.instrument.synth.sub = 0.8;
    bass.instrument.synth.amp = {0.03, 0.5, 0.8, 0.4};
    bass.instrument.synth.cutoff = 420;
    bass.gain = 0.5;
    AddBass(bass, intro, "r---------------", 33, 0.7);
    AddBass(bass, a, "r-------r---f---", 33, 0.8);
    AddBass(bass, b, "r-----r-----f---", 33, 0.8);
    AddBass(bass, c, "r-------r---f---", 33, 0.75);

    // The melody on a soft bell, then on a breathy flute an octave down.
    Part bell;
    bell.instrument.kind = Instrument::Fm;
    bell.instrument.fm.ratio = 4.0;
    bell.instrument.fm.index = 1.6;
    bell.instrument.fm.indexDecay = 0.25;
    bell.instrument.fm.ratio2 = 1.0;
    bell.instrument.fm.index2 = 0.5;
    bell.instrument.fm.amp = {0.003, 0.1, 1.0, 1.2};
    bell.instrument.fm.decay = 1.4;
    bell.gain = 0.33;
    bell.pan = -0.15;
    bell.reverb = 0.6;
    bell.delay = 0.3;
    const std::string melodyA = "E5:8 G5:4 E5:4 A5:6 G5:2 E5:8 G5:4 E5:4 D5:4 C5:4 D5:12 -:4 "
                                "E5:8 G5:4 A5:4 C6:6 B5:2 A5:8 F5:4 E5:4 D5:4 C5:4 B4:8 G#4:4 -:4";
    const std::string melodyB = "A5:4 C6:4 A5:4 G5:4 B5:6 A5:2 G5:8 G5:8 E5:4 D5:4 E5:12 -:4 "
                                "F5:4 A5:4 C6:4 A5:4 B5:6 C6:2 D6:8 C6:8 B5:4 G5:4 A5:8 G#5:8";
    score.Line(bell, 8, 8, melodyA, 0.75);
    score.Line(bell, 16, 8, melodyB, 0.8);

    Part flute;
    flute.instrument.synth.saw = 0;
    flute.instrument.synth.triangle = 1;
    flute.instrument.synth.noise = 0.04;
    flute.instrument.synth.amp = {0.09, 0.2, 0.85, 0.35};
    flute.instrument.synth.cutoff = 2600;
    flute.instrument.synth.vibratoDepth = 0.18;
    flute.instrument.synth.vibratoRate = 5.0;
    flute.instrument.synth.vibratoDelay = 0.3;
    flute.gain = 0.3;
    flute.pan = 0.15;
    flute.reverb = 0.55;
    flute.delay = 0.25;
    score.Line(flute, 24, 8,
               "E4:8 G4:4 E4:4 A4:6 G4:2 E4:8 G4:4 E4:4 D4:4 C4:4 D4:12 -:4 "
               "E4:8 G4:4 A4:4 C5:6 B4:2 A4:8 F4:4 E4:4 D4:4 C4:4 B3:8 -:8",
               0.7);

    // Light percussion only in the middle of the loop.
    Part kick = Drums(Drum::Kick, 0.55, 0, 0.1), rim = Drums(Drum::Rim, 0.22, 0.2, 0.4),
         shaker = Drums(Drum::Shaker, 0.16, -0.3, 0.2), hat = Drums(Drum::OpenHat, 0.1, 0.35, 0.3),
         snare = Drums(Drum::Snare, 0.2, 0.05, 0.5);
    AddPattern(shaker, 0 * 4, "x.o.x.o.x.o.x.oo", 4);
    AddPattern(shaker, 4 * 4, "x.o.x.o.x.o.x.oo", 4);
    AddPattern(kick, 8 * 4, "x.......x.x.....", 8);
    AddPattern(rim, 8 * 4, "....x.......x...", 8);
    AddPattern(shaker, 8 * 4, "x.o.x.o.x.o.x.oo", 8);
    AddPattern(kick, 16 * 4, "x.......x.x.....x.......x......o", 8);
    AddPattern(snare, 16 * 4, "....x.......x...", 8);
    AddPattern(hat, 16 * 4, "..x...x...x...x.", 8);
    AddPattern(shaker, 16 * 4, "x.o.x.o.x.o.x.oo", 8);
    AddPattern(kick, 24 * 4, "x.......x.......", 4);
    AddPattern(rim, 24 * 4, "....x.......x...", 4);
    AddPattern(shaker, 24 * 4, "x.o.x.o.x.o.x.oo", 8);
    Part crash = Drums(Drum::Crash, 0.14, -0.2, 0.6);
    AddPattern(crash, 8 * 4, "x", 1);
    AddPattern(crash, 16 * 4, "x", 1);

    for (Part* p : {&pad, &pluck, &bass, &bell, &flute, &kick, &rim, &shaker, &hat, &snare, &crash})
        song.parts.push_back(*p);
}

// --- InGame: driving, E minor, 128 bpm, 48 bars -----------------------------
void ComposeInGame(Song& song, Score& score)
{
    song.bpm = 128;
    song.bars = 48;
    song.reverbRoom = 0.72;
    song.reverbDamp = 0.5;
    song.reverbReturn = 0.8;
    song.delayBeats = 0.75;
    song.delayFeedback = 0.3;
    song.delayTone = 4000;
    song.loudness = 0.19;
    song.duckRelease = 0.14;
    song.seed = 22;

    const std::string main = "Em C G D Em C Am B";
    const std::string brk = "C D Em Em C D B B";
    auto intro = Progression(0, main), a = Progression(8, main), b = Progression(16, main),
         breakdown = Progression(24, brk), climax = Progression(32, main), outro = Progression(40, main);
    auto all = Progression(0, main + " " + main + " " + main + " " + brk + " " + main + " " + main);

    Part bass;
    bass.instrument.synth.unison = 1;
    bass.instrument.synth.sub = 0.7;
    bass.instrument.synth.amp = {0.003, 0.12, 0.55, 0.05};
    bass.instrument.synth.cutoff = 200;
    bass.instrument.synth.envAmount = 1500;
    bass.instrument.synth.filterDecay = 0.08;
    bass.instrument.synth.resonance = 1.4;
    bass.instrument.synth.drive = 1.0;
    bass.gain = 0.5;
    bass.duck = 0.45;
    const std::string drive = "r.rrr.rrr.rrr.ro";
    AddBass(bass, intro, drive, 28, 0.8);
    AddBass(bass, a, drive, 28, 0.85);
    AddBass(bass, b, drive, 28, 0.85);
    AddBass(bass, breakdown, "r-------r---r---", 28, 0.75);
    AddBass(bass, climax, "rrorrrorrrorrror", 28, 0.9);
    AddBass(bass, outro, drive, 28, 0.85);

    Part pad;
    pad.instrument.synth.unison = 5;
    pad.instrument.synth.detuneCents = 20;
    pad.instrument.synth.width = 0.9;
    pad.instrument.synth.amp = {0.25, 0.8, 0.8, 0.6};
    pad.instrument.synth.cutoff = 1800;
    pad.instrument.synth.keyTrack = 0.3;
    pad.gain = 0.22;
    pad.reverb = 0.45;
    pad.duck = 0.6;
    auto padChords = Progression(8, main + " " + main + " " + brk + " " + main + " " + main);
    AddChords(pad, padChords, 64, 4, 0.75);

    Part arp;
    arp.instrument.synth.saw = 0;
    arp.instrument.synth.square = 1;
    arp.instrument.synth.pulseWidth = 0.35;
    arp.instrument.synth.unison = 2;
    arp.instrument.synth.detuneCents = 7;
    arp.instrument.synth.width = 0.6;
    arp.instrument.synth.amp = {0.002, 0.12, 0.0, 0.06};
    arp.instrument.synth.cutoff = 900;
    arp.instrument.synth.envAmount = 3800;
    arp.instrument.synth.filterDecay = 0.07;
    arp.instrument.synth.resonance = 1.2;
    arp.gain = 0.2;
    arp.pan = -0.2;
    arp.reverb = 0.25;
    arp.delay = 0.35;
    arp.duck = 0.3;
    AddArp(arp, intro, "0123012301230123", 71, 4, 0.8);
    AddArp(arp, a, "0123012301230123", 71, 4, 0.7);
    AddArp(arp, b, "0213021302130213", 71, 4, 0.7);
    AddArp(arp, breakdown, "0.1.2.3.4.3.2.1.", 71, 5, 0.85);
    AddArp(arp, climax, "0123432101234321", 71, 5, 0.7);
    AddArp(arp, outro, "0123012301230123", 71, 4, 0.8);

    Part lead;
    lead.instrument.synth.unison = 3;
    lead.instrument.synth.detuneCents = 14;
    lead.instrument.synth.width = 0.3;
    lead.instrument.synth.amp = {0.01, 0.25, 0.8, 0.18};
    lead.instrument.synth.cutoff = 1600;
    lead.instrument.synth.keyTrack = 0.5;
    lead.instrument.synth.envAmount = 2600;
    lead.instrument.synth.filterDecay = 0.2;
    lead.instrument.synth.vibratoDepth = 0.15;
    lead.instrument.synth.vibratoDelay = 0.18;
    lead.instrument.synth.drive = 0.4;
    lead.gain = 0.3;
    lead.pan = 0.1;
    lead.reverb = 0.35;
    lead.delay = 0.3;
    const std::string melodyA =
        "B4:3 E5:3 G5:2 F#5:4 E5:4 G5:3 E5:3 C5:2 E5:8 D5:3 G5:3 B5:2 A5:4 G5:4 F#5:12 -:4 "
        "B4:3 E5:3 G5:2 B5:4 A5:4 G5:3 E5:3 G5:2 C6:8 B5:4 A5:4 G5:4 E5:4 F#5:8 D#5:8";
    const std::string melodyB =
        "G5:2 B5:2 E6:4 D6:2 B5:2 G5:4 E6:4 D6:2 C6:2 G5:8 D6:2 B5:2 G5:2 B5:2 D6:4 G6:4 "
        "F#6:8 E6:4 D6:4 G6:4 F#6:2 E6:2 B5:4 E6:4 G6:6 E6:2 C6:8 C6:4 B5:4 A5:4 C6:4 "
        "B5:8 D#6:4 F#6:4";
    score.Line(lead, 8, 8, melodyA, 0.8);
    score.Line(lead, 16, 8, melodyA, 0.85);
    score.Line(lead, 32, 8, melodyB, 0.9);
    // The breakdown sings long notes over the pad.
    score.Line(lead, 24, 8, "E5:16 F#5:16 G5:12 B5:4 B5:16 E5:16 F#5:16 D#5:16 F#5:16", 0.7);

    Part kick = Drums(Drum::Kick, 0.85, 0, 0.05), snare = Drums(Drum::Snare, 0.5, 0.05, 0.3),
         clap = Drums(Drum::Clap, 0.3, -0.1, 0.35), hat = Drums(Drum::ClosedHat, 0.2, 0.3, 0.1),
         open = Drums(Drum::OpenHat, 0.16, -0.3, 0.2), crash = Drums(Drum::Crash, 0.2, -0.25, 0.4),
         tom = Drums(Drum::Tom, 0.45, 0.2, 0.3);
    const std::string four = "X...x...X...x...";
    AddPattern(kick, 0, four, 24);
    AddPattern(hat, 0, "x.oxx.oxx.oxx.ox", 8);
    AddPattern(snare, 4 * 4, "....X.......X...", 4);
    AddPattern(open, 4 * 4, "..x...x...x...x.", 4);
    AddPattern(snare, 8 * 4, "....X.......X...", 16);
    AddPattern(clap, 8 * 4, "....x.......x...", 16);
    AddPattern(hat, 8 * 4, "x.oxx.oxx.oxx.ox", 16);
    AddPattern(open, 8 * 4, "..x...x...x...x.", 16);
    // Breakdown: half time, then a roll into the climax.
    AddPattern(kick, 24 * 4, "X.......x.......", 6);
    AddPattern(snare, 24 * 4, "........X.......", 6);
    AddPattern(hat, 24 * 4, "x.x.x.x.x.x.x.x.", 6);
    AddPattern(kick, 30 * 4, "X...x...X...x...", 2);
    AddPattern(snare, 30 * 4, "x...x...x.x.x.x.", 1);
    AddPattern(snare, 31 * 4, "xxxxxxxxXxXxXXXX", 1);
    AddPattern(kick, 32 * 4, four, 16);
    AddPattern(snare, 32 * 4, "....X.......X...", 15);
    AddPattern(clap, 32 * 4, "....x.......x...", 16);
    AddPattern(hat, 32 * 4, "xoxxxoxxxoxxxoxx", 16);
    AddPattern(open, 32 * 4, "..x...x...x...x.", 16);
    // The last bar's tom fill leads back to the top.
    AddPattern(snare, 47 * 4, "....X.......", 1);
    tom.notes.push_back({47 * 4 + 3.0, 0.25, 67, 0.9});
    tom.notes.push_back({47 * 4 + 3.25, 0.25, 64, 0.9});
    tom.notes.push_back({47 * 4 + 3.5, 0.25, 60, 1.0});
    tom.notes.push_back({47 * 4 + 3.75, 0.25, 55, 1.0});
    for (int bar : {0, 8, 16, 32, 40})
        AddPattern(crash, bar * 4, "X", 1);
    Kicks(song, kick);

    for (Part* p : {&bass, &pad, &arp, &lead, &kick, &snare, &clap, &hat, &open, &crash, &tom})
        song.parts.push_back(*p);
}

// --- Tutorial: light and bouncy, C major, 112 bpm, 40 bars -----------------
void ComposeTutorial(Song& song, Score& score)
{
    song.bpm = 112;
    song.bars = 40;
    song.reverbRoom = 0.6;
    song.reverbDamp = 0.5;
    song.reverbReturn = 0.8;
    song.delayBeats = 0.5;
    song.delayFeedback = 0.25;
    song.loudness = 0.16;
    song.seed = 33;

    const std::string verse = "C Am F G C Am Dm G";
    const std::string chorus = "F G Em Am F G C C";
    auto all = Progression(0, "C Am F G " + verse + " " + chorus + " " + verse + " " + chorus + " C Am F G");

    // Marimba comping throughout.
    Part marimba;
    marimba.instrument.kind = Instrument::Fm;
    marimba.instrument.fm.ratio = 4.0;
    marimba.instrument.fm.index = 2.2;
    marimba.instrument.fm.indexDecay = 0.025;
    marimba.instrument.fm.amp = {0.001, 0.05, 1.0, 0.15};
    marimba.instrument.fm.decay = 0.3;
    marimba.gain = 0.34;
    marimba.pan = -0.25;
    marimba.reverb = 0.3;
    AddArp(marimba, all, "0.2.1.2.3.2.1.2.", 64, 4, 0.85, 1.6);

    Part bass;
    bass.instrument.synth.saw = 0;
    bass.instrument.synth.square = 1;
    bass.instrument.synth.pulseWidth = 0.5;
    bass.instrument.synth.sub = 0.6;
    bass.instrument.synth.amp = {0.003, 0.15, 0.4, 0.06};
    bass.instrument.synth.cutoff = 300;
    bass.instrument.synth.envAmount = 900;
    bass.instrument.synth.filterDecay = 0.1;
    bass.gain = 0.42;
    AddBass(bass, Progression(4, verse + " " + chorus + " " + verse + " " + chorus), "r..r..f.r..o.f..", 36,
            0.85);
    AddBass(bass, Progression(36, "C Am F G"), "r.......r...f...", 36, 0.75);

    Part glock;
    glock.instrument.kind = Instrument::Fm;
    glock.instrument.fm.ratio = 3.5;
    glock.instrument.fm.index = 1.3;
    glock.instrument.fm.indexDecay = 0.06;
    glock.instrument.fm.amp = {0.001, 0.05, 1.0, 0.5};
    glock.instrument.fm.decay = 0.8;
    glock.gain = 0.3;
    glock.pan = 0.2;
    glock.reverb = 0.45;
    glock.delay = 0.2;
    const std::string melodyA =
        "E5:2 G5:2 C6:4 G5:2 E5:2 G5:4 A5:4 C6:2 A5:2 E5:8 F5:2 A5:2 C6:2 A5:2 F5:4 A5:4 "
        "G5:6 F5:2 D5:4 B4:4 E5:2 G5:2 C6:4 D6:2 C6:2 G5:4 A5:4 G5:2 A5:2 C6:8 "
        "D6:2 C6:2 A5:2 F5:2 D5:4 F5:4 G5:8 -:8";
    const std::string melodyB = "A5:4 A5:2 C6:2 A5:4 G5:4 G5:4 B5:2 D6:2 B5:4 G5:4 G5:4 E5:2 G5:2 B5:8 "
                                "C6:4 B5:2 A5:2 E5:8 F5:2 A5:2 C6:2 F6:2 E6:4 C6:4 D6:4 B5:4 G5:4 D6:4 "
                                "E6:6 D6:2 C6:4 G5:4 C6:8 -:8";
    score.Line(glock, 4, 8, melodyA, 0.85);
    score.Line(glock, 12, 8, melodyB, 0.85);
    score.Line(glock, 20, 8, melodyA, 0.85);
    score.Line(glock, 28, 8, melodyB, 0.9);

    // A plucked counter line answers the melody the second time round.
    Part pluck;
    pluck.instrument.synth.unison = 2;
    pluck.instrument.synth.detuneCents = 6;
    pluck.instrument.synth.width = 0.5;
    pluck.instrument.synth.amp = {0.002, 0.2, 0.0, 0.12};
    pluck.instrument.synth.cutoff = 700;
    pluck.instrument.synth.envAmount = 2500;
    pluck.instrument.synth.filterDecay = 0.08;
    pluck.gain = 0.16;
    pluck.pan = 0.35;
    pluck.reverb = 0.3;
    pluck.delay = 0.3;
    AddArp(pluck, Progression(20, verse + " " + chorus), "....0.2.....1.2.", 69, 4, 0.8);

    Part pad;
    pad.instrument.synth.unison = 4;
    pad.instrument.synth.detuneCents = 14;
    pad.instrument.synth.width = 0.8;
    pad.instrument.synth.amp = {0.4, 0.8, 0.7, 1.0};
    pad.instrument.synth.cutoff = 1300;
    pad.gain = 0.14;
    pad.reverb = 0.5;
    AddChords(pad, Progression(12, chorus), 60, 3, 0.7, 0.2);
    AddChords(pad, Progression(28, chorus), 60, 3, 0.7, 0.2);

    Part kick = Drums(Drum::Kick, 0.6, 0, 0.05), clap = Drums(Drum::Clap, 0.3, 0.1, 0.35),
         shaker = Drums(Drum::Shaker, 0.2, -0.35, 0.15), hat = Drums(Drum::ClosedHat, 0.14, 0.3, 0.1),
         rim = Drums(Drum::Rim, 0.18, -0.2, 0.3), tom = Drums(Drum::Tom, 0.35, 0.25, 0.3),
         crash = Drums(Drum::Crash, 0.16, -0.2, 0.4);
    AddPattern(shaker, 0, "x.ox.ox.x.ox.ox.", 40);
    AddPattern(rim, 0, "......x.......x.", 4);
    AddPattern(kick, 4 * 4, "x.....x...x.....", 32);
    AddPattern(clap, 4 * 4, "....x.......x...", 32);
    AddPattern(hat, 12 * 4, "..x...x...x...x.", 8);
    AddPattern(hat, 28 * 4, "..x...x...x...x.", 8);
    AddPattern(rim, 36 * 4, "......x.......x.", 4);
    for (int bar : {4, 12, 20, 28})
        AddPattern(crash, bar * 4, "x", 1);
    for (int i = 0; i < 4; ++i)
        tom.notes.push_back({39 * 4 + 2.0 + i * 0.5, 0.25, 72.0 - 4 * i, 0.8});

    for (Part* p : {&marimba, &bass, &glock, &pluck, &pad, &kick, &clap, &shaker, &hat, &rim, &tom, &crash})
        song.parts.push_back(*p);
}

// --- Win: triumphant, D major, 116 bpm, 36 bars -----------------------------
void ComposeWin(Song& song, Score& score)
{
    song.bpm = 116;
    song.bars = 36;
    song.reverbRoom = 0.85;
    song.reverbDamp = 0.35;
    song.reverbReturn = 1.0;
    song.delayBeats = 0.5;
    song.delayFeedback = 0.2;
    song.loudness = 0.18;
    song.seed = 44;

    const std::string fanfare = "D Bb C D";
    const std::string verse = "D G Bm A D G Em A";
    const std::string bridge = "G A F#m Bm G A D D";
    const std::string fanfare2 = "Bb C D D";
    const std::string outroChords = "G A Bb C";
    const std::string whole =
        fanfare + " " + verse + " " + bridge + " " + fanfare2 + " " + verse + " " + outroChords;
    auto all = Progression(0, whole);

    Part strings;
    strings.instrument.synth.unison = 5;
    strings.instrument.synth.detuneCents = 14;
    strings.instrument.synth.width = 0.9;
    strings.instrument.synth.amp = {0.3, 0.6, 0.85, 0.7};
    strings.instrument.synth.cutoff = 2400;
    strings.instrument.synth.keyTrack = 0.4;
    strings.instrument.synth.vibratoDepth = 0.08;
    strings.instrument.synth.vibratoRate = 5.2;
    strings.instrument.synth.vibratoDelay = 0.2;
    strings.gain = 0.24;
    strings.reverb = 0.55;
    AddChords(strings, all, 62, 4, 0.8, 0.1);

    Part brass;
    brass.instrument.synth.unison = 4;
    brass.instrument.synth.detuneCents = 10;
    brass.instrument.synth.width = 0.5;
    brass.instrument.synth.amp = {0.04, 0.3, 0.85, 0.22};
    brass.instrument.synth.cutoff = 800;
    brass.instrument.synth.keyTrack = 0.6;
    brass.instrument.synth.envAmount = 2800;
    brass.instrument.synth.filterDecay = 0.3;
    brass.instrument.synth.resonance = 0.9;
    brass.instrument.synth.vibratoDepth = 0.12;
    brass.instrument.synth.vibratoDelay = 0.3;
    brass.instrument.synth.drive = 0.6;
    brass.gain = 0.32;
    brass.pan = 0.05;
    brass.reverb = 0.45;
    brass.delay = 0.12;
    const std::string fanfareLine = "A4:3 A4:1 D5:4 F#5:4 A5:4 Bb5:8 F5:4 D5:4 C6:8 G5:4 E5:4 D6:12 -:4";
    const std::string verseLine = "F#5:6 E5:2 D5:4 A5:4 B5:6 A5:2 G5:4 D5:4 F#5:4 B5:4 D6:4 C#6:2 B5:2 "
                                  "C#6:4 B5:4 A5:8 F#5:6 E5:2 D5:4 A5:4 B5:6 C#6:2 D6:4 B5:4 "
                                  "G5:4 B5:4 E6:4 D6:2 C#6:2 E6:8 C#6:4 A5:4";
    const std::string bridgeLine = "D6:4 B5:4 G5:4 B5:4 C#6:4 A5:4 E5:4 A5:4 F#5:4 A5:4 C#6:4 A5:4 B5:12 -:4 "
                                   "D6:6 C#6:2 B5:4 G5:4 E6:6 D6:2 C#6:4 A5:4 F#5:4 A5:4 D6:8 D6:12 -:4";
    const std::string fanfare2Line = "F5:4 Bb5:4 D6:8 E5:4 G5:4 C6:8 D6:3 D6:1 D6:4 A5:4 F#5:4 D6:12 -:4";
    const std::string outroLine = "B5:8 D6:8 C#6:8 E6:8 D6:8 F6:8 E6:8 G6:8";
    score.Line(brass, 0, 4, fanfareLine, 0.9);
    score.Line(brass, 4, 8, verseLine, 0.8);
    score.Line(brass, 12, 8, bridgeLine, 0.85);
    score.Line(brass, 20, 4, fanfare2Line, 0.95);
    score.Line(brass, 24, 8, verseLine, 0.9);
    score.Line(brass, 32, 4, outroLine, 0.9);
    // The reprise doubles the tune an octave down.
    Part horn = brass;
    horn.notes.clear();
    horn.gain = 0.22;
    horn.pan = -0.25;
    score.Line(horn, 24, 8, verseLine, 0.75);
    for (Note& n : horn.notes)
        n.midi -= 12;

    Part bass;
    bass.instrument.synth.sub = 0.6;
    bass.instrument.synth.amp = {0.005, 0.2, 0.7, 0.1};
    bass.instrument.synth.cutoff = 300;
    bass.instrument.synth.envAmount = 900;
    bass.instrument.synth.filterDecay = 0.12;
    bass.gain = 0.45;
    AddBass(bass, Progression(0, fanfare), "r-----r-r-------", 26, 0.9);
    AddBass(bass, Progression(4, verse + " " + bridge), "r--r--r-f--f--o-", 26, 0.85);
    AddBass(bass, Progression(20, fanfare2), "r-----r-r-------", 26, 0.9);
    AddBass(bass, Progression(24, verse), "r-rr-rr-f-ff-fo-", 26, 0.9);
    AddBass(bass, Progression(32, outroChords), "r-------r---r---", 26, 0.9);

    Part bells;
    bells.instrument.kind = Instrument::Fm;
    bells.instrument.fm.ratio = 3.5;
    bells.instrument.fm.index = 1.4;
    bells.instrument.fm.indexDecay = 0.08;
    bells.instrument.fm.amp = {0.001, 0.05, 1.0, 0.4};
    bells.instrument.fm.decay = 0.6;
    bells.gain = 0.12;
    bells.pan = 0.4;
    bells.reverb = 0.5;
    bells.delay = 0.3;
    AddArp(bells, Progression(12, bridge), "0.1.2.3.4.3.2.1.", 81, 5, 0.8);
    AddArp(bells, Progression(24, verse), "0123432101234321", 81, 5, 0.7);

    Part kick = Drums(Drum::Kick, 0.7, 0, 0.1), snare = Drums(Drum::Snare, 0.42, 0.1, 0.4),
         timpani = Drums(Drum::Timpani, 0.6, -0.15, 0.4), crash = Drums(Drum::Crash, 0.22, -0.25, 0.5),
         hat = Drums(Drum::ClosedHat, 0.14, 0.3, 0.15), tom = Drums(Drum::Tom, 0.4, 0.2, 0.35);
    // Fanfares: timpani and march rolls.
    for (int bar : {0, 20})
    {
        AddPattern(timpani, bar * 4, "X.....x.X.......x.....x.X.......x.....x.X.......XxXxXxXxX.......", 4,
                   57);
        AddPattern(snare, bar * 4, "x.xxx.x.x.x.xxxx", 4);
        AddPattern(crash, bar * 4, "X...............", 1);
    }
    auto march = [&](int bar, int bars)
    {
        AddPattern(kick, bar * 4, "X.......x.x.....", bars);
        AddPattern(snare, bar * 4, "....X..o....X.oo", bars);
        AddPattern(hat, bar * 4, "x.x.x.x.x.x.x.x.", bars);
        AddPattern(crash, bar * 4, "X", 1);
    };
    march(4, 8);
    march(12, 8);
    march(24, 8);
    AddPattern(kick, 32 * 4, "X.......X.......", 4);
    AddPattern(timpani, 32 * 4, "X.......X.......", 2, 62);
    AddPattern(timpani, 34 * 4, "X.......X.......", 1, 65);
    AddPattern(timpani, 35 * 4, "XxXxXxXxXXXXXXXX", 1, 67);
    AddPattern(snare, 34 * 4, "x.x.x.x.xxxxxxxx", 1);
    AddPattern(snare, 35 * 4, "xxxxxxxxXXXXXXXX", 1);
    AddPattern(crash, 32 * 4, "X", 1);
    for (int i = 0; i < 4; ++i)
        tom.notes.push_back({19 * 4 + 2.0 + i * 0.5, 0.25, 70.0 - 3 * i, 0.9});

    for (Part* p : {&strings, &brass, &horn, &bass, &bells, &kick, &snare, &timpani, &crash, &hat, &tom})
        song.parts.push_back(*p);
}

} // namespace

std::vector<std::string> const& MusicTracks()
{
    static const std::vector<std::string> tracks = {"Menu", "InGame", "Tutorial", "Win"};
    return tracks;
}

bool ComposeTrack(size_t index, Song& song, std::string& error)
{
    Score score;
    switch (index)
    {
    case 0:
        ComposeMenu(song, score);
        break;
    case 1:
        ComposeInGame(song, score);
        break;
    case 2:
        ComposeTutorial(song, score);
        break;
    default:
        ComposeWin(song, score);
        break;
    }
    if (!score.error.empty())
    {
        error = MusicTracks()[index] + ": " + score.error;
        return false;
    }
    // The loop must fill whole MP3 frames: the tempo moves by a few
    // hundredths of a percent at most.
    const double frames = std::max(1.0, std::round(double(song.Length()) / double(kMp3FrameSamples)));
    song.bpm = song.TotalBeats() * 60.0 * Dsp::kRate / (frames * double(kMp3FrameSamples));
    return true;
}

bool GenerateTrack(std::string const& directory, size_t index, std::string& error)
{
    Song song;
    if (!ComposeTrack(index, song, error))
        return false;
    std::vector<float> left, right;
    auto started = std::chrono::steady_clock::now();
    Render(song, left, right);
    long ms =
        long(std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started)
                 .count());
    Vexel::Log::Verbose("assetgen", "%s rendered in %ld ms", MusicTracks()[index].c_str(), ms);
    // No offset or sub-sonic drift, and the same headroom as the effects.
    const float headroom = float(Dsp::DbToGain(-Dsp::kHeadroomDb));
    for (std::vector<float>* side : {&left, &right})
    {
        Dsp::HighPassLoop(*side, 20.0);
        for (float& v : *side)
            v *= headroom;
    }
    return WriteLoopMp3(directory + "/" + MusicTracks()[index] + ".mp3", left, right, Dsp::kRate, 160, error);
}

} // namespace AssetGen
