#include "engine/core/AppEvents.h"
#include "game/scores/Awards.h"
#include "game/scores/AwardsFile.h"
#include "tests/scores/ScoresTestSupport.h"
#include "tests/support/LogCapture.h"

using namespace ScoresTest;

namespace
{
const char* const AwardsName = "awards.awd";

class AwardsTest : public SaveFolderTest
{
protected:
    void SetUp() override { AllAwards::Unload(); }
    void TearDown() override { AllAwards::Unload(); }

    // A program restart as far as the awards are concerned.
    void Restart() { AllAwards::Unload(); }

    static Award* Stored(int i) { return i < 64 ? AllAwards::GetAward(i) : AllAwards::GetGroupAward(i - 64); }
};

// Flags of award i in a sample file: a pattern that differs per award.
uint8_t SampleFlag(int i, int f)
{
    return uint8_t(((i * 7 + f * 3) % 5) == 0 ? 1 : 0);
}

std::string SampleFile(int32_t version = 7)
{
    std::string bytes;
    Put<int32_t>(bytes, version);
    for (int i = 0; i < 72; i++)
        for (int f = 0; f < 3; f++)
            Put<uint8_t>(bytes, SampleFlag(i, f));
    return bytes;
}

struct ChangeCounter
{
    int changes = 0;
    void OnChanged() { changes++; }
};
} // namespace

TEST_F(AwardsTest, ThresholdsStageValuesAndStars)
{
    const int32_t stages[8] = {1200, 1700, 1600, 2600, 3400, 4900, 2500, 5000};
    for (int g = 0; g < 8; g++)
    {
        EXPECT_EQ(AllAwards::StageValue(g), stages[g]) << "stage " << g;
        EXPECT_EQ(AllAwards::GetGroupAward(g)->GetValue(), stages[g]);
    }
    EXPECT_EQ(AllAwards::GetGroupAward(8)->GetValue(), 18320);
    for (int i = 0; i < 64; i++)
        EXPECT_EQ(AllAwards::GetAward(i)->GetValue(), AllAwards::Thresholds[i]);

    // Out of range: no award.
    for (int bad : {-1, 64, 1000, -2147483647 - 1})
        EXPECT_EQ(AllAwards::GetAward(bad), nullptr) << bad;
    for (int bad : {-1, 9, 2147483647})
        EXPECT_EQ(AllAwards::GetGroupAward(bad), nullptr) << bad;

    // Level 0 has no kill threshold: two stars at most, flag 0 adds none.
    Award* level0 = AllAwards::GetAward(0);
    EXPECT_EQ(level0->GetMaxStars(), 2);
    level0->SetAchieved();
    EXPECT_EQ(level0->GetEarnedStars(), 0);
    level0->SetFlag1();
    level0->SetFlag2();
    EXPECT_EQ(level0->GetEarnedStars(), 2);
    Award* level1 = AllAwards::GetAward(1);
    EXPECT_EQ(level1->GetMaxStars(), 3);
    level1->SetAchieved();
    EXPECT_EQ(level1->GetEarnedStars(), 1);

    // Stage 0: levels 0, 3, 5 have no threshold: 5 x 3 + 3 x 2.
    EXPECT_EQ(AllAwards::GetGroupMaxStars(0), 21);
    EXPECT_EQ(AllAwards::GetGroupEarnedStars(0), 3);
    EXPECT_EQ(AllAwards::GetGroupMaxStars(8), 0);
    EXPECT_EQ(AllAwards::GetGroupMaxStars(-1), 0);
}

TEST_F(AwardsTest, EveryChangeSavesThe220ByteFile)
{
    EXPECT_FALSE(Exists(AwardsName));
    ChangeCounter counter;
    Award* award = AllAwards::GetAward(5);
    award->Changed.Subscribe(Vexel::Action<>(&counter, &ChangeCounter::OnChanged));
    award->SetFlag2();
    award->SetFlag2(); // raised again although set already
    EXPECT_EQ(counter.changes, 2);
    award->Changed.Unsubscribe(&counter);

    std::string expected = Hex("07 00 00 00") + std::string(216, '\0');
    expected[4 + 5 * 3 + 2] = 1;
    EXPECT_EQ(ReadSaved(AwardsName), expected);

    AllAwards::GetGroupAward(7)->SetAchieved();
    expected[4 + 71 * 3] = 1;
    EXPECT_EQ(ReadSaved(AwardsName), expected);
    EXPECT_EQ(SavedNames(), std::vector<std::string>{AwardsName});
}

TEST_F(AwardsTest, FlagsSurviveARestartButTheFullGauntletsDoNot)
{
    WriteSaved(AwardsName, SampleFile());
    AllAwards::GetGroupAward(8)->SetAchieved();
    AllAwards::GetGroupAward(8)->SetFlag1();
    EXPECT_EQ(ReadSaved(AwardsName), SampleFile()) << "the full Gauntlet's flags are not written";
    Restart();
    for (int i = 0; i < 72; i++)
    {
        EXPECT_EQ(Stored(i)->IsAchieved(), SampleFlag(i, 0) != 0) << i;
        EXPECT_EQ(Stored(i)->GetFlag1(), SampleFlag(i, 1) != 0) << i;
        EXPECT_EQ(Stored(i)->GetFlag2(), SampleFlag(i, 2) != 0) << i;
    }
    EXPECT_FALSE(AllAwards::GetGroupAward(8)->IsAchieved());
    EXPECT_FALSE(AllAwards::GetGroupAward(8)->GetFlag1());
}

TEST_F(AwardsTest, PauseSavesAndShutdownIsWatched)
{
    const size_t before = Vexel::AppEvents::Shutdown().SubscriberCount();
    AllAwards::GetAward(0);
    EXPECT_EQ(Vexel::AppEvents::Shutdown().SubscriberCount(), before + 1);
    EXPECT_FALSE(Exists(AwardsName));
    Vexel::AppEvents::Pause().Raise();
    EXPECT_EQ(ReadSaved(AwardsName), Hex("07 00 00 00") + std::string(216, '\0'));
    AllAwards::Unload();
    EXPECT_EQ(Vexel::AppEvents::Shutdown().SubscriberCount(), before);
}

TEST_F(AwardsTest, OtherVersionsAreIgnoredAndRewritten)
{
    struct Case
    {
        std::string file;
        const char* what;
    } cases[] = {
        {SampleFile(6), "v6"},  {SampleFile(8), "v8"},   {SampleFile(-1), "v-1"},
        {Hex("07 00 00"), "3 bytes"}, {std::string(), "empty"},
    };
    for (Case const& c : cases)
    {
        Restart();
        WriteSaved(AwardsName, c.file);
        TestSupport::LogCapture log;
        for (int i = 0; i < 72; i++)
            ASSERT_FALSE(Stored(i)->IsAchieved() || Stored(i)->GetFlag1() || Stored(i)->GetFlag2()) << c.what;
        EXPECT_EQ(log.Lines().size(), 1u) << c.what;
        EXPECT_TRUE(log.Contains(AwardsName)) << c.what;
        EXPECT_EQ(ReadSaved(AwardsName), c.file) << "not rewritten before a change";
        AllAwards::GetAward(2)->SetFlag1();
        std::string expected = Hex("07 00 00 00") + std::string(216, '\0');
        expected[4 + 2 * 3 + 1] = 1;
        EXPECT_EQ(ReadSaved(AwardsName), expected) << c.what;
    }
}

TEST_F(AwardsTest, ATruncatedFileKeepsTheAwardsBeforeTheCut)
{
    const std::string whole = SampleFile() + "extra";
    for (size_t cut = 4; cut <= whole.size(); cut++)
    {
        Restart();
        WriteSaved(AwardsName, whole.substr(0, cut));
        TestSupport::LogCapture log;
        for (int i = 0; i < 72; i++)
        {
            const bool read = cut >= size_t(4 + 3 * (i + 1));
            EXPECT_EQ(Stored(i)->GetFlag2(), read && SampleFlag(i, 2)) << "cut " << cut << " award " << i;
            EXPECT_EQ(Stored(i)->IsAchieved(), read && SampleFlag(i, 0)) << "cut " << cut << " award " << i;
        }
        EXPECT_EQ(log.Lines().size(), cut >= 220 ? 0u : 1u) << "cut " << cut;
    }
}

TEST_F(AwardsTest, FlagBytesOtherThanOneReadAsSet)
{
    std::string bytes = Hex("07 00 00 00") + std::string(216, '\0');
    bytes[4] = char(0xFF);
    bytes[5] = 2;
    WriteSaved(AwardsName, bytes);
    EXPECT_TRUE(AllAwards::GetAward(0)->IsAchieved());
    EXPECT_TRUE(AllAwards::GetAward(0)->GetFlag1());
    EXPECT_FALSE(AllAwards::GetAward(0)->GetFlag2());
    AllAwards::Save();
    EXPECT_EQ(ReadSaved(AwardsName)[4], 1);
}
