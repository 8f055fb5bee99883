// The generated audio in build/data: the nine WAVs meet the loader's strict
// rules and the loops have no seam; the four MP3s decode (lame's own
// decoder) to 44.1 kHz stereo of the composed length; and the sequencer's
// loop closing makes a loop equal to the song played twice in a row.
#include "tools/assetgen/AudioDsp.h"
#include "tools/assetgen/MusicGenerator.h"
#include "tools/assetgen/Sequencer.h"
#include "tools/assetgen/SoundGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace
{

std::vector<uint8_t> ReadFile(std::string const& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t U32(std::vector<uint8_t> const& b, size_t at)
{
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t U16(std::vector<uint8_t> const& b, size_t at)
{
    return uint16_t(b[at] | b[at + 1] << 8);
}
bool Tag(std::vector<uint8_t> const& b, size_t at, const char* tag)
{
    return b.size() >= at + 4 && std::equal(tag, tag + 4, b.begin() + long(at));
}

std::vector<int16_t> Samples(std::vector<uint8_t> const& b)
{
    std::vector<int16_t> s((b.size() - 44) / 2);
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = int16_t(U16(b, 44 + 2 * i));
    return s;
}

std::vector<int16_t> SoundSamples(const char* name)
{
    std::vector<uint8_t> b = ReadFile(std::string(VEXEL_DATA_DIR) + "/" + name + ".wav");
    return b.size() > 44 ? Samples(b) : std::vector<int16_t>();
}

// The energy spectrum of the samples (zero-padded to a power of two): bin k
// holds the energy at k x rate / size Hz.
struct Spectrum
{
    std::vector<double> energy;
    double binHz = 0;
    double Between(double fromHz, double toHz) const
    {
        double sum = 0;
        for (size_t k = 0; k < energy.size(); ++k)
            if (k * binHz >= fromHz && k * binHz < toHz)
                sum += energy[k];
        return sum;
    }
    double Total() const { return Between(0, 1e9); }
    double Centroid() const
    {
        double weighted = 0;
        for (size_t k = 0; k < energy.size(); ++k)
            weighted += energy[k] * k * binHz;
        return weighted / Total();
    }
};

Spectrum SpectrumOf(std::vector<int16_t> const& samples)
{
    size_t n = 1;
    while (n < samples.size())
        n *= 2;
    std::vector<double> re(n, 0.0), im(n, 0.0);
    for (size_t i = 0; i < samples.size(); ++i)
        re[i] = samples[i] / 32768.0;
    // Iterative radix-2 FFT.
    for (size_t i = 1, j = 0; i < n; ++i)
    {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
        {
            std::swap(re[i], re[j]);
            std::swap(im[i], im[j]);
        }
    }
    for (size_t len = 2; len <= n; len *= 2)
    {
        const double angle = -2.0 * AssetGen::Dsp::kPi / double(len);
        for (size_t i = 0; i < n; i += len)
            for (size_t k = 0; k < len / 2; ++k)
            {
                const double c = std::cos(angle * double(k)), sn = std::sin(angle * double(k));
                const size_t a = i + k, b = i + k + len / 2;
                const double tr = re[b] * c - im[b] * sn, ti = re[b] * sn + im[b] * c;
                re[b] = re[a] - tr;
                im[b] = im[a] - ti;
                re[a] += tr;
                im[a] += ti;
            }
    }
    Spectrum spectrum;
    spectrum.binHz = 44100.0 / double(n);
    for (size_t k = 0; k <= n / 2; ++k)
        spectrum.energy.push_back(re[k] * re[k] + im[k] * im[k]);
    return spectrum;
}

} // namespace

TEST(GeneratedSounds, EveryWavMeetsTheStrictLoaderRules)
{
    for (AssetGen::SoundAsset const& asset : AssetGen::SoundAssets())
    {
        SCOPED_TRACE(asset.name);
        std::vector<uint8_t> b = ReadFile(std::string(VEXEL_DATA_DIR) + "/" + asset.name + ".wav");
        ASSERT_GT(b.size(), 44u + 20u);
        EXPECT_TRUE(Tag(b, 0, "RIFF"));
        EXPECT_EQ(U32(b, 4), b.size() - 8);
        EXPECT_TRUE(Tag(b, 8, "WAVE"));
        EXPECT_TRUE(Tag(b, 12, "fmt "));
        EXPECT_EQ(U32(b, 16), 16u);         // format chunk size
        EXPECT_EQ(U16(b, 20), 1u);          // PCM
        EXPECT_EQ(U16(b, 22), 1u);          // mono
        EXPECT_EQ(U32(b, 24), 44100u);      // rate
        EXPECT_EQ(U32(b, 28), 44100u * 2u); // byte rate
        EXPECT_EQ(U16(b, 32), 2u);          // block align
        EXPECT_EQ(U16(b, 34), 16u);         // bits
        EXPECT_TRUE(Tag(b, 36, "data"));
        EXPECT_EQ(U32(b, 40), b.size() - 44); // the whole rest, whole frames
        std::vector<int16_t> s = Samples(b);
        // Playback starts 20 bytes in and reads the sample before: silent.
        for (size_t i = 0; i < 10; ++i)
            EXPECT_EQ(s[i], 0) << i;
        int peak = 0;
        double sum = 0;
        for (int16_t v : s)
        {
            peak = std::max(peak, std::abs(int(v)));
            sum += double(v) * v;
        }
        // Loud enough to be heard, and leaving the mix its headroom.
        const double ceiling = 32767.0 * AssetGen::Dsp::DbToGain(-AssetGen::Dsp::kHeadroomDb);
        EXPECT_GT(peak, 0.65 * ceiling);
        EXPECT_LT(peak, ceiling);
        EXPECT_GT(std::sqrt(sum / double(s.size())), 0.07 * ceiling);
    }
}

// No offset: the mixer adds the effects up, and an offset only eats the
// headroom (and clicks where a sound starts and stops).
TEST(GeneratedSounds, CarryNoDcOffset)
{
    for (AssetGen::SoundAsset const& asset : AssetGen::SoundAssets())
    {
        std::vector<int16_t> s = SoundSamples(asset.name.c_str());
        ASSERT_FALSE(s.empty()) << asset.name;
        double sum = 0;
        for (int16_t v : s)
            sum += v;
        EXPECT_LT(20.0 * std::log10(std::fabs(sum / double(s.size())) / 32768.0 + 1e-12), -60.0)
            << asset.name;
    }
}

// The cannon shot has its weight where phone and laptop speakers play:
// between 200 Hz and 5 kHz, not in the sub-bass.
TEST(GeneratedSounds, TheCannonShotSoundsOnSmallSpeakers)
{
    Spectrum shot = SpectrumOf(SoundSamples("beam_fire__81103__Pellwick__Blast_Revisited"));
    EXPECT_GT(shot.Centroid(), 600.0);
    EXPECT_LT(shot.Centroid(), 3000.0);
    EXPECT_GT(shot.Between(200.0, 5000.0) / shot.Total(), 0.6);
    EXPECT_LT(shot.Between(0.0, 100.0) / shot.Total(), 0.1);
}

// The menu beep is pitched at E6, so that the menus' pitches (x 1.2, x 0.8)
// land where they always did, and it has overtones: not a bare sine.
TEST(GeneratedSounds, TheMenuBeepIsAToneOnE6WithOvertones)
{
    Spectrum beep = SpectrumOf(SoundSamples("sfx_menubeep"));
    size_t strongest = 0;
    for (size_t k = 0; k < beep.energy.size(); ++k)
        if (beep.energy[k] > beep.energy[strongest])
            strongest = k;
    EXPECT_NEAR(double(strongest) * beep.binHz, 1318.5, 15.0);
    const double fundamental = beep.Between(1250.0, 1390.0);
    EXPECT_GT(beep.Between(2500.0, 2780.0), fundamental * 0.02);
    EXPECT_GT(beep.Between(3800.0, 4100.0), fundamental * 0.005);
    EXPECT_GT(fundamental / beep.Total(), 0.4);
}

TEST(GeneratedSounds, TheFilesAreWhatTheGeneratorMakes)
{
    for (size_t i = 0; i < AssetGen::SoundAssets().size(); ++i)
    {
        std::vector<uint8_t> b =
            ReadFile(std::string(VEXEL_DATA_DIR) + "/" + AssetGen::SoundAssets()[i].name + ".wav");
        ASSERT_GT(b.size(), 44u);
        EXPECT_EQ(Samples(b), AssetGen::SynthesizeSound(i)) << AssetGen::SoundAssets()[i].name;
    }
}

TEST(GeneratedSounds, LoopsRepeatFromTheirPlaybackStartWithoutASeam)
{
    int loops = 0;
    for (AssetGen::SoundAsset const& asset : AssetGen::SoundAssets())
    {
        if (!asset.loops)
            continue;
        ++loops;
        SCOPED_TRACE(asset.name);
        std::vector<int16_t> s = Samples(ReadFile(std::string(VEXEL_DATA_DIR) + "/" + asset.name + ".wav"));
        ASSERT_GT(s.size(), 4410u);
        // A loop plays samples 9..end and goes back to 9 (interpolation
        // reads the sample before the restart position).
        std::vector<int> body(s.begin() + 9, s.end());
        std::vector<int> steps;
        for (size_t i = 1; i < body.size(); ++i)
            steps.push_back(std::abs(body[i] - body[i - 1]));
        std::sort(steps.begin(), steps.end());
        int seam = std::abs(body.front() - body.back());
        EXPECT_LE(seam, steps[steps.size() * 99 / 100]) << "seam step " << seam;
        // No jump in level either: the last and first 20 ms match.
        auto rms = [&](size_t from)
        {
            double sum = 0;
            for (size_t i = from; i < from + 882; ++i)
                sum += double(body[i]) * body[i];
            return std::sqrt(sum / 882.0);
        };
        double head = rms(0), tail = rms(body.size() - 882);
        EXPECT_LT(std::max(head, tail) / std::max(1.0, std::min(head, tail)), 2.5) << head << " " << tail;
    }
    EXPECT_EQ(loops, 2);
}

TEST(GeneratedMusic, EachTrackIsComposedForOneToTwoMinutes)
{
    for (size_t i = 0; i < AssetGen::MusicTracks().size(); ++i)
    {
        AssetGen::Music::Song song;
        std::string error;
        ASSERT_TRUE(AssetGen::ComposeTrack(i, song, error)) << error;
        double seconds = double(song.Length()) / 44100.0;
        EXPECT_GE(seconds, 60.0) << AssetGen::MusicTracks()[i];
        EXPECT_LE(seconds, 120.0) << AssetGen::MusicTracks()[i];
        EXPECT_GE(song.parts.size(), 6u);
    }
}

TEST(GeneratedMusic, TheMp3sDecodeTo44100HzStereoOfTheComposedLength)
{
    std::string lame = VEXEL_LAME_PROGRAM;
    if (lame.empty() || lame.find("NOTFOUND") != std::string::npos)
        GTEST_SKIP() << "the lame program is not installed";
    for (size_t i = 0; i < AssetGen::MusicTracks().size(); ++i)
    {
        std::string name = AssetGen::MusicTracks()[i];
        SCOPED_TRACE(name);
        std::string mp3 = std::string(VEXEL_DATA_DIR) + "/" + name + ".mp3";
        std::string wav = std::string(VEXEL_TEST_OUTPUT_DIR) + "/decoded_" + name + ".wav";
        std::string command = "'" + lame + "' --quiet --decode '" + mp3 + "' '" + wav + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        std::vector<uint8_t> b = ReadFile(wav);
        std::remove(wav.c_str());
        ASSERT_GT(b.size(), 44u);
        EXPECT_EQ(U16(b, 22), 2u);
        EXPECT_EQ(U32(b, 24), 44100u);
        EXPECT_EQ(U16(b, 34), 16u);
        AssetGen::Music::Song song;
        std::string error;
        ASSERT_TRUE(AssetGen::ComposeTrack(i, song, error));
        double frames = double(b.size() - 44) / 4.0;
        // The encoder adds its delay and pads the last frame: within two
        // MP3 frames of the composition.
        EXPECT_NEAR(frames, double(song.Length()), 2304.0);
        // Not silent, and leaving the mix its headroom: 16-bit stereo
        // frames.
        std::vector<int16_t> s = Samples(b);
        int peak = 0;
        double sum = 0;
        for (int16_t v : s)
        {
            peak = std::max(peak, std::abs(int(v)));
            sum += double(v) * v;
        }
        // (The codec's ringing may lift a peak by a fraction of a dB.)
        const double ceiling = 32767.0 * AssetGen::Dsp::DbToGain(-AssetGen::Dsp::kHeadroomDb);
        EXPECT_LT(peak, ceiling * AssetGen::Dsp::DbToGain(1.0));
        EXPECT_GT(std::sqrt(sum / double(s.size())), 0.14 * ceiling);
    }
}

// A loop must sound like the song played on forever: rendering two passes
// of the notes in a row gives the one-pass loop twice.
TEST(Sequencer, ALoopEqualsTheSongPlayedTwiceInARow)
{
    using namespace AssetGen::Music;
    auto make = [](int passes)
    {
        Song song;
        song.bpm = 120;
        song.bars = 2 * passes;
        song.reverbRoom = 0.7;
        song.delayFeedback = 0.4;
        Part bell;
        bell.instrument.kind = Instrument::Fm;
        bell.instrument.fm.amp = {0.002, 0.1, 1.0, 0.8};
        bell.reverb = 0.5;
        bell.delay = 0.4;
        for (int p = 0; p < passes; ++p)
            // The last note rings past the end of each pass.
            AddLine(bell, p * 8.0, "C5:4 E5:4 G5:8 B4:8 D5:4 A5:4", 0.8);
        song.parts.push_back(bell);
        return song;
    };
    std::vector<float> oneL, oneR, twoL, twoR;
    Render(make(1), oneL, oneR);
    Render(make(2), twoL, twoR);
    ASSERT_EQ(twoL.size(), 2 * oneL.size());
    double worst = 0;
    for (size_t i = 0; i < oneL.size(); ++i)
        worst = std::max({worst, double(std::fabs(twoL[i + oneL.size()] - oneL[i])),
                          double(std::fabs(twoR[i + oneL.size()] - oneR[i])),
                          double(std::fabs(twoL[i] - oneL[i]))});
    EXPECT_LT(worst, 0.003);
    // The seam itself is no bigger a step than the music makes anyway.
    float seam = std::fabs(oneL.front() - oneL.back());
    float largest = 0;
    for (size_t i = 1; i < oneL.size(); ++i)
        largest = std::max(largest, std::fabs(oneL[i] - oneL[i - 1]));
    EXPECT_LE(seam, largest);
}

TEST(Sequencer, NotesChordsAndPatterns)
{
    using namespace AssetGen::Music;
    EXPECT_EQ(NoteNumber("A4"), 69);
    EXPECT_EQ(NoteNumber("C4"), 60);
    EXPECT_EQ(NoteNumber("C#4"), 61);
    EXPECT_EQ(NoteNumber("Bb3"), 58);
    EXPECT_EQ(NoteNumber("H4"), -1);
    EXPECT_EQ(NoteNumber("C"), -1);
    Chord am9 = ParseChord("Am9");
    EXPECT_EQ(am9.root, 9);
    EXPECT_EQ(am9.intervals, (std::vector<int>{0, 3, 7, 10, 14}));
    EXPECT_EQ(ParseChord("F#m").root, 6);
    EXPECT_EQ(ParseChord("Bb").intervals, (std::vector<int>{0, 4, 7}));
    // C major near E4: C4 E4 G4, all within a fifth of the centre.
    EXPECT_EQ(Voicing(ParseChord("C"), 64, 3), (std::vector<int>{60, 64, 67}));
    Part part;
    EXPECT_DOUBLE_EQ(AddLine(part, 4.0, "C5:4 -:2 D5:2 E5:8"), 8.0);
    ASSERT_EQ(part.notes.size(), 3u);
    EXPECT_DOUBLE_EQ(part.notes[1].beat, 5.5);
    EXPECT_DOUBLE_EQ(part.notes[1].beats, 0.5);
    Part drums;
    AddPattern(drums, 0.0, "X...x...o.......", 2);
    ASSERT_EQ(drums.notes.size(), 6u);
    EXPECT_DOUBLE_EQ(drums.notes[3].beat, 4.0);
    EXPECT_DOUBLE_EQ(drums.notes[2].velocity, 0.45);
}
