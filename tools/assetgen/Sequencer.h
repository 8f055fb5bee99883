// A small sequencer for the generated music: parts of notes (in beats) played
// by synthesised instruments (subtractive voices, FM bells and mallets,
// drums), mixed in stereo with reverb and echo sends and sidechain pumping,
// and rendered as a loop whose tails wrap into its beginning.
#pragma once

#include "tools/assetgen/AudioDsp.h"

#include <cstdint>
#include <string>
#include <vector>

namespace AssetGen
{
namespace Music
{

// A subtractive voice: detuned oscillators, a swept low pass, an amplitude
// envelope, delayed vibrato and optional saturation.
struct SynthPatch
{
    int unison = 1;
    double detuneCents = 0; // spread between the outermost unison voices
    double width = 0.0;     // stereo spread of the unison voices, 0..1
    // The first non-zero of saw, square, triangle, sine picks the wave and
    // its level; sub (a sine an octave down) and noise add to it.
    double saw = 1, square = 0, triangle = 0, sine = 0, sub = 0, noise = 0;
    double pulseWidth = 0.5;
    Dsp::Adsr amp;
    double cutoff = 8000, keyTrack = 0, envAmount = 0, filterDecay = 0.3, resonance = 0.7;
    double velocityToCutoff = 0;
    double vibratoRate = 5.5, vibratoDepth = 0, vibratoDelay = 0.25; // depth in semitones
    double drive = 0;
    double slide = 0, slideTime = 0.04; // start this many semitones off
};

// Two-operator FM: bells, mallets, electric pianos.
struct FmPatch
{
    double ratio = 1.0, index = 2.0, indexDecay = 0.4; // seconds
    double ratio2 = 0.0, index2 = 0.0;                 // an optional second modulator
    Dsp::Adsr amp;
    double decay = 1.0; // seconds, exponential fall while held
};

struct Drum
{
    enum Enum
    {
        Kick,
        Snare,
        Clap,
        ClosedHat,
        OpenHat,
        Shaker,
        Crash,
        Tom,
        Rim,
        Timpani,
    };
};

struct Instrument
{
    enum Kind
    {
        Synth,
        Fm,
        Percussion,
    } kind = Synth;
    SynthPatch synth;
    FmPatch fm;
    Drum::Enum drum = Drum::Kick;
};

struct Note
{
    double beat;
    double beats;
    double midi;
    double velocity;
};

struct Part
{
    Instrument instrument;
    std::vector<Note> notes;
    double gain = 1.0;
    double pan = 0.0; // -1 left .. 1 right
    double reverb = 0.0, delay = 0.0;
    double duck = 0.0; // depth of the pumping on each kick, 0..1
};

struct Song
{
    double bpm = 120;
    int bars = 32;
    int beatsPerBar = 4;
    std::vector<Part> parts;
    double reverbRoom = 0.8, reverbDamp = 0.4, reverbReturn = 1.0;
    double delayBeats = 0.75, delayFeedback = 0.35, delayTone = 4500, delayReturn = 1.0;
    std::vector<double> duckBeats; // where the pumping restarts
    double duckRelease = 0.12;     // seconds
    double loudness = 0.17;        // target RMS of the mix
    uint64_t seed = 1;

    double SecondsPerBeat() const { return 60.0 / bpm; }
    double TotalBeats() const { return double(bars * beatsPerBar); }
    size_t Length() const;
};

// The song as one loop of Length() stereo frames in [-1, 1]: whatever rings
// past the end (releases, reverb, echoes) is added to the start, so playing
// it back to back has no seam.
void Render(Song const& song, std::vector<float>& left, std::vector<float>& right);

// --- Writing music down ---

// "E5" -> 76, "C#4" -> 61, "Bb3" -> 58; -1 for anything else.
int NoteNumber(std::string const& name);

// A chord symbol ("Am", "F", "Cmaj7", "Em7", "Dm9", "Gsus4", "Bb", "F#m",
// "Gadd9", "A7", "G6") as its root's pitch class and its intervals.
struct Chord
{
    int root = 0; // 0 = C
    std::vector<int> intervals;
};
Chord ParseChord(std::string const& symbol);

// The chord's tones placed near a centre note for smooth voice leading.
std::vector<int> Voicing(Chord const& chord, int centre, int count);

// Notes written as "E5:4 G5:2 -:2 ..." (name, or '-' for a rest, then a
// length in sixteenths) from the given beat; returns the beat after the last
// one. The velocity applies to every note.
double AddLine(Part& part, double beat, std::string const& text, double velocity = 0.8);

// A pattern of sixteenths repeated `bars` times from the given beat: 'X'
// accent, 'x' normal, 'o' soft, '.' nothing. The pattern's length is free
// (16 is one bar of 4/4).
void AddPattern(Part& part, double beat, std::string const& pattern, int bars, double midi = 60.0,
                int beatsPerBar = 4);

} // namespace Music
} // namespace AssetGen
