// The WAV loader's acceptance rules, on files built in memory, and the
// build's nine generated sounds.
#include "engine/audio/WavData.h"

#include "tests/audio/AudioTestSupport.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using Vexel::Audio::WavData;

namespace
{

std::unique_ptr<WavData> Parse(std::vector<uint8_t> const& bytes)
{
    return std::unique_ptr<WavData>(WavData::Parse(AudioTest::NewCopy(bytes), int(bytes.size()), "test.wav"));
}

// A file whose header declares `declared` data bytes while `present` follow it.
std::vector<uint8_t> WavWithData(int channels, uint32_t declared, size_t present)
{
    std::vector<uint8_t> file = AudioTest::MakeWav(channels, 44100, std::vector<int16_t>(present / 2, 1));
    file.resize(44 + present, 0);
    AudioTest::PutU32(file, 40, declared);
    return file;
}

struct AcceptanceCase
{
    const char* what;
    std::function<void(std::vector<uint8_t>&)> change;
    bool accepted;
};

TEST(WavDataTest, AcceptsOnlyTheCanonicalHeader)
{
    const std::vector<uint8_t> canonical = AudioTest::MakeWav(1, 44100, AudioTest::Tone(200));
    const AcceptanceCase cases[] = {
        {"canonical mono", [](std::vector<uint8_t>&) {}, true},
        {"stereo", [](std::vector<uint8_t>& b) { AudioTest::PutU16(b, 22, 2); }, true},
        {"8-bit samples", [](std::vector<uint8_t>& b) { AudioTest::PutU16(b, 34, 8); }, false},
        {"24-bit samples", [](std::vector<uint8_t>& b) { AudioTest::PutU16(b, 34, 24); }, false},
        {"three channels", [](std::vector<uint8_t>& b) { AudioTest::PutU16(b, 22, 3); }, false},
        {"no channels", [](std::vector<uint8_t>& b) { AudioTest::PutU16(b, 22, 0); }, false},
        {"format chunk of 18", [](std::vector<uint8_t>& b) { AudioTest::PutU32(b, 16, 18); }, false},
        {"\"data\" not at 36", [](std::vector<uint8_t>& b) { std::memcpy(&b[36], "LIST", 4); }, false},
        {"not RIFF", [](std::vector<uint8_t>& b) { std::memcpy(&b[0], "RIFX", 4); }, false},
        {"no \"fmt \" at 12", [](std::vector<uint8_t>& b) { std::memcpy(&b[12], "junk", 4); }, false},
        {"sample rate 0", [](std::vector<uint8_t>& b) { AudioTest::PutU32(b, 24, 0); }, false},
        {"43 bytes", [](std::vector<uint8_t>& b) { b.resize(43); }, false},
        {"empty", [](std::vector<uint8_t>& b) { b.clear(); }, false},
        {"header only", [](std::vector<uint8_t>& b) { b.resize(44); }, true},
    };
    for (AcceptanceCase const& test : cases)
    {
        std::vector<uint8_t> bytes = canonical;
        test.change(bytes);
        TestSupport::LogCapture log;
        std::unique_ptr<WavData> wav = Parse(bytes);
        EXPECT_EQ(wav != nullptr, test.accepted) << test.what;
        // A rejected file is reported once, by name.
        std::vector<std::string> errors;
        for (auto const& line : log.Lines())
            if (line.level == Vexel::Log::Level::Error)
                errors.push_back(line.message);
        EXPECT_EQ(errors.size(), test.accepted ? 0u : 1u) << test.what;
        if (!errors.empty())
        {
            EXPECT_NE(errors[0].find("test.wav"), std::string::npos) << test.what;
        }
    }
}

TEST(WavDataTest, ReadsTheFieldsAndClampsTheDataToWholeFramesPresent)
{
    std::vector<uint8_t> bytes = AudioTest::MakeWav(2, 22050, std::vector<int16_t>(100, 7));
    std::unique_ptr<WavData> wav = Parse(bytes);
    ASSERT_TRUE(wav);
    EXPECT_EQ(wav->GetChannels(), 2);
    EXPECT_EQ(wav->GetSampleRate(), 22050);
    EXPECT_EQ(wav->GetDataSize(), 200);
    EXPECT_EQ(wav->GetFrameCount(), 50);
    EXPECT_EQ(wav->GetStartFrame(), 5); // 20 bytes of two-channel frames
    EXPECT_EQ(wav->GetSamples()[0], 7);

    struct ClampCase
    {
        const char* what;
        int channels;
        uint32_t declared;
        size_t present;
        int expected;
    };
    const ClampCase clamps[] = {
        {"size beyond the file", 1, 100000, 200, 200}, {"odd size, mono", 1, 199, 200, 198},
        {"stereo, part of a frame", 2, 198, 200, 196}, {"stereo, file ends mid-frame", 2, 1000, 202, 200},
        {"declared smaller", 1, 50, 200, 50},
    };
    for (ClampCase const& test : clamps)
    {
        std::vector<uint8_t> file = WavWithData(test.channels, test.declared, test.present);
        TestSupport::LogCapture log;
        std::unique_ptr<WavData> wav = Parse(file);
        ASSERT_TRUE(wav) << test.what;
        EXPECT_EQ(wav->GetDataSize(), test.expected) << test.what;
    }
}

TEST(WavDataTest, DataThatCannotBeHeardIsSaidOnce)
{
    // Playback starts 20 bytes into the samples: a whole frame must follow.
    struct Case
    {
        const char* what;
        int channels;
        uint32_t declared;
        size_t present;
        bool said;
    };
    const Case cases[] = {
        {"0 data bytes", 1, 0, 0, true},
        {"6 data bytes", 1, 6, 6, true},
        {"6 data bytes, stereo", 2, 6, 6, true},
        {"20 data bytes", 1, 20, 20, true},
        {"22 declared, 20 present", 1, 22, 20, true},
        {"22 data bytes", 1, 22, 22, false},
        {"22 data bytes, stereo", 2, 22, 22, true},
        {"24 data bytes, stereo", 2, 24, 24, false},
    };
    for (Case const& test : cases)
    {
        std::vector<uint8_t> file = WavWithData(test.channels, test.declared, test.present);
        TestSupport::LogCapture log;
        std::unique_ptr<WavData> wav = Parse(file);
        ASSERT_TRUE(wav) << test.what;
        if (!test.said)
        {
            EXPECT_TRUE(log.Lines().empty()) << test.what;
            continue;
        }
        ASSERT_EQ(log.Lines().size(), 1u) << test.what;
        EXPECT_NE(log.Lines()[0].message.find("test.wav"), std::string::npos) << test.what;
        EXPECT_NE(log.Lines()[0].message.find("plays nothing"), std::string::npos) << test.what;
    }
}

TEST(WavDataTest, MissingFileIsReportedByName)
{
    TestSupport::LogCapture log;
    EXPECT_EQ(WavData::Load("/nonexistent/folder/nothing.wav"), nullptr);
    ASSERT_EQ(log.Lines().size(), 1u);
    EXPECT_NE(log.Lines()[0].message.find("nothing.wav"), std::string::npos);
}

TEST(WavDataTest, TheGeneratedSoundsAreAccepted)
{
    for (const char* name : AudioTest::kGeneratedSounds)
    {
        TestSupport::LogCapture log;
        std::unique_ptr<WavData> wav(WavData::Load(AudioTest::DataDirectory() + "/" + name + ".wav"));
        ASSERT_TRUE(wav) << name;
        EXPECT_TRUE(log.Lines().empty()) << name;
        EXPECT_EQ(wav->GetChannels(), 1) << name;
        EXPECT_GT(wav->GetFrameCount(), wav->GetStartFrame()) << name;
        // The first 20 bytes are silence.
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(wav->GetSamples()[i], 0) << name << " sample " << i;
    }
}

} // namespace
