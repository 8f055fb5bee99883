// What the audio tests share: WAV files built in memory, the build's
// generated sounds, frames driven by hand, waits that can never hang, and a
// recorder of the music command thread's traffic.
#pragma once

#include "engine/audio/BGMusic.h"
#include "engine/core/FrameEvents.h"
#include "engine/core/Thread.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <vector>

namespace AudioTest
{

// The nine sound effects the build generates, without ".wav".
const char* const kGeneratedSounds[9] = {
    "explosion_rcq0",
    "explosion_rcq1",
    "explosion_rcq2",
    "explosion_rcq4",
    "explosion_rcq5",
    "beam_charge",
    "beam_fire__81103__Pellwick__Blast_Revisited",
    "laserfire",
    "sfx_menubeep",
};
const char* const kGeneratedTracks[4] = {"Menu", "InGame", "Tutorial", "Win"};

inline std::string DataDirectory()
{
    return VEXEL_DATA_DIR;
}

inline void PutU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + size_t(i)] = uint8_t(value >> (8 * i));
}

inline void PutU16(std::vector<uint8_t>& bytes, size_t at, uint16_t value)
{
    bytes[at] = uint8_t(value);
    bytes[at + 1] = uint8_t(value >> 8);
}

// The canonical 44-byte header over interleaved 16-bit samples.
inline std::vector<uint8_t> MakeWav(int channels, int rate, std::vector<int16_t> const& samples)
{
    const uint32_t dataSize = uint32_t(samples.size() * 2);
    std::vector<uint8_t> bytes(44 + dataSize);
    std::memcpy(&bytes[0], "RIFF", 4);
    PutU32(bytes, 4, 36 + dataSize);
    std::memcpy(&bytes[8], "WAVE", 4);
    std::memcpy(&bytes[12], "fmt ", 4);
    PutU32(bytes, 16, 16);
    PutU16(bytes, 20, 1);
    PutU16(bytes, 22, uint16_t(channels));
    PutU32(bytes, 24, uint32_t(rate));
    PutU32(bytes, 28, uint32_t(rate * channels * 2));
    PutU16(bytes, 32, uint16_t(channels * 2));
    PutU16(bytes, 34, 16);
    std::memcpy(&bytes[36], "data", 4);
    PutU32(bytes, 40, dataSize);
    for (size_t i = 0; i < samples.size(); ++i)
        PutU16(bytes, 44 + 2 * i, uint16_t(samples[i]));
    return bytes;
}

// A mono tone of the given length, loud enough to hear, silent for its
// first 20 bytes like the game's files.
inline std::vector<int16_t> Tone(int frames, int amplitude = 8000)
{
    std::vector<int16_t> samples(size_t(frames), 0);
    for (int i = 10; i < frames; ++i)
        samples[size_t(i)] = int16_t((i % 100 < 50) ? amplitude : -amplitude);
    return samples;
}

inline void WriteFile(std::string const& path, std::vector<uint8_t> const& bytes)
{
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline std::vector<uint8_t> ReadFile(std::string const& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A copy for WavData::Parse, which takes a new[] buffer.
inline uint8_t* NewCopy(std::vector<uint8_t> const& bytes)
{
    uint8_t* copy = new uint8_t[bytes.size() ? bytes.size() : 1];
    if (!bytes.empty())
        std::memcpy(copy, bytes.data(), bytes.size());
    return copy;
}

// One update phase and one animate phase, as the UI manager runs them.
inline void RunFrame()
{
    Vexel::FrameEvents::Updating.Raise(1.0f / 30.0f);
    Vexel::FrameEvents::Animating.Raise(1.0f / 30.0f);
}

// Polls the condition (running a frame between polls when asked) until it
// holds or the time runs out; the result is the condition's last answer.
template <class Condition> bool WaitFor(Condition condition, int timeoutMs, bool runFrames = false)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition())
    {
        if (std::chrono::steady_clock::now() > deadline)
            return condition();
        if (runFrames)
            RunFrame();
        Vexel::Threading::Thread::Sleep(2);
    }
    return true;
}

// Records what is queued to and executed by the music command thread.
class CommandRecorder : public Vexel::Audio::IBGMusicObserver
{
public:
    CommandRecorder() : previous(Vexel::Audio::BGMusicSetObserver(this)) {}
    ~CommandRecorder() override { Vexel::Audio::BGMusicSetObserver(previous); }

    void OnQueued(Vexel::Audio::BGMusicRecord const& record) override
    {
        std::lock_guard<std::mutex> lock(mutex);
        queued.push_back(record);
    }
    void OnExecuted(Vexel::Audio::BGMusicRecord const& record) override
    {
        std::lock_guard<std::mutex> lock(mutex);
        executed.push_back(record);
    }

    std::vector<Vexel::Audio::BGMusicRecord> Queued()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return queued;
    }
    std::vector<Vexel::Audio::BGMusicRecord> Executed()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return executed;
    }
    // The queued commands as short words, for readable comparisons:
    // "load Menu.mp3 7", "looped", "once 1", "stop", "volume 0.5", ...
    std::vector<std::string> QueuedWords() { return Words(Queued()); }
    std::vector<std::string> ExecutedWords() { return Words(Executed()); }
    void Clear()
    {
        std::lock_guard<std::mutex> lock(mutex);
        queued.clear();
        executed.clear();
    }

    static std::string Word(Vexel::Audio::BGMusicRecord const& record)
    {
        using Vexel::Audio::BGMusicCommand;
        switch (record.command)
        {
        case BGMusicCommand::Unload:
            return "unload";
        case BGMusicCommand::PlayLooped:
            return "looped";
        case BGMusicCommand::Stop:
            return "stop";
        case BGMusicCommand::ApplyVolume:
            return "apply";
        case BGMusicCommand::SetVolume:
        {
            char text[32];
            std::snprintf(text, sizeof(text), "volume %g", double(record.volume));
            return text;
        }
        case BGMusicCommand::Load:
            return "load " + record.name + " " + std::to_string(record.loops);
        case BGMusicCommand::PlayOnce:
            return record.flag ? "once 1" : "once 0";
        default:
            return "off";
        }
    }

private:
    static std::vector<std::string> Words(std::vector<Vexel::Audio::BGMusicRecord> const& records)
    {
        std::vector<std::string> words;
        for (auto const& record : records)
            words.push_back(Word(record));
        return words;
    }

    Vexel::Audio::IBGMusicObserver* previous;
    std::mutex mutex;
    std::vector<Vexel::Audio::BGMusicRecord> queued;
    std::vector<Vexel::Audio::BGMusicRecord> executed;
};

} // namespace AudioTest
