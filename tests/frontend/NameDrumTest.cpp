// The name-entry drum: its alphabet, the start from the stored name, drags,
// flicks and the snap to the nearest character, the name it writes, and what
// it draws.
#include "engine/graphics/GL.h"
#include "engine/graphics/RenderState.h"
#include "game/frontend/elements/NumberSelectionElement.h"
#include "game/scores/GamePrefs.h"
#include "tests/frontend/FrontEndTestSupport.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <string>

using FrontEndTest::RecordingBatch;
using Vexel::UI::ElementLayout;
using Vexel::UI::ElementPosition;

namespace
{

const float kHeight = 100.0f; // one character per 30 px of drag
const float kStep = kHeight * 0.3f;

class NameDrumTest : public ::testing::Test
{
protected:
    NameDrumTest() { GamePrefs::Unload(); }
    ~NameDrumTest() override { GamePrefs::Unload(); }

    std::unique_ptr<NumberSelectionElement> Drum(int position, float height = kHeight)
    {
        return std::unique_ptr<NumberSelectionElement>(new NumberSelectionElement(
            ElementLayout(ElementPosition(Vector2(0.0f, 0.0f)), Vector2(60.0f, height)), position, nullptr,
            &batch));
    }

    // Runs frames until the drum rests (or the frames run out).
    static int Settle(NumberSelectionElement& drum, int frames = 600)
    {
        for (int i = 0; i < frames; ++i)
        {
            drum.Update(1.0f / 30.0f);
            if (drum.GetOffset() == 0.0f && drum.GetVelocity() == 0.0f)
                return i + 1;
        }
        return frames;
    }

    TempDirectory home;
    ScopedEnvironment homeVariable{"XDG_DATA_HOME", home.Path()};
    RecordingBatch batch;
};

} // namespace

TEST(NameDrumAlphabet, EightyTwoCharactersInOrder)
{
    const std::string alphabet = NumberSelectionElement::kAlphabet;
    ASSERT_EQ(82u, alphabet.size());
    std::string expected;
    for (char c = 'A'; c <= 'Z'; ++c)
        expected += c;
    for (char c = 'a'; c <= 'z'; ++c)
        expected += c;
    expected += "1234567890";
    expected += "!@#$%^&*()-+=_";
    expected += char(0x60);
    expected += "~";
    expected += char(0x27);
    expected += char(0x22);
    expected += ",.";
    EXPECT_EQ(expected, alphabet);
    EXPECT_EQ(82u, std::set<char>(alphabet.begin(), alphabet.end()).size());
    for (int i = 0; i < 82; ++i)
        EXPECT_EQ(i, NumberSelectionElement::AlphabetIndex(alphabet[size_t(i)]));
    EXPECT_EQ(-1, NumberSelectionElement::AlphabetIndex(' '));
    EXPECT_EQ(-1, NumberSelectionElement::AlphabetIndex('\0'));
    EXPECT_EQ(52, NumberSelectionElement::AlphabetIndex('1'));
    EXPECT_EQ(61, NumberSelectionElement::AlphabetIndex('0'));
    EXPECT_EQ(81, NumberSelectionElement::AlphabetIndex('.'));
}

TEST_F(NameDrumTest, StartsOnTheStoredNamesCharacters)
{
    struct Case
    {
        const char* name;
        int position;
        int selected;
    };
    const Case cases[] = {
        {"AAA", 0, 0}, {"AAA", 1, 0}, {"AAA", 2, 0}, {"Zq.", 0, 25},  {"Zq.", 1, 42}, {"Zq.", 2, 81},
        {"Z", 2, 0},   {"", 0, 0},    {"A A", 1, 0}, {"a\x01", 1, 0}, {"x7", 1, 58},
    };
    for (Case const& c : cases)
    {
        GamePrefs::SetPlayerName(c.name);
        EXPECT_EQ(c.selected, Drum(c.position)->GetSelected()) << c.name << " at " << c.position;
    }
}

TEST_F(NameDrumTest, WritesItsCharacterPaddingAShortName)
{
    GamePrefs::SetPlayerName("Z");
    auto drum = Drum(2);
    drum->Update(1.0f / 30.0f);
    EXPECT_EQ("ZAA", GamePrefs::GetPlayerName());

    GamePrefs::SetPlayerName("QRS");
    auto middle = Drum(1);
    GamePrefs::SetPlayerName("QxS");
    middle->Update(1.0f / 30.0f);
    EXPECT_EQ("QRS", GamePrefs::GetPlayerName()); // its own character, the others kept
}

TEST_F(NameDrumTest, DraggingDownByAStepTurnsToThePreviousCharacter)
{
    GamePrefs::SetPlayerName("BAA");
    auto first = Drum(0);
    auto second = Drum(1);
    for (NumberSelectionElement* drum : {first.get(), second.get()})
    {
        drum->TouchDown(Vector2(30.0f, 50.0f), 1);
        drum->Update(1.0f / 30.0f);
        drum->TouchMove(Vector2(30.0f, 50.0f + kStep));
        drum->Update(1.0f / 30.0f);
        EXPECT_NEAR(0.0f, drum->GetOffset(), 1e-4f);
        drum->CancelTouch();
        Settle(*drum);
    }
    EXPECT_EQ('A', first->GetCharacter());
    // Back from "A" wraps round to the full stop.
    EXPECT_EQ(81, second->GetSelected());
    EXPECT_EQ("A.A", GamePrefs::GetPlayerName());

    // And up by three steps: three characters on, "." -> "A" -> "B" -> "C".
    second->TouchDown(Vector2(30.0f, 50.0f), 1);
    second->Update(1.0f / 30.0f);
    second->TouchMove(Vector2(30.0f, 50.0f - 3.0f * kStep));
    second->Update(1.0f / 30.0f);
    second->CancelTouch();
    Settle(*second);
    EXPECT_EQ('C', second->GetCharacter());
}

TEST_F(NameDrumTest, AFlickCoastsAndSlowsByFivePercentAFrame)
{
    GamePrefs::SetPlayerName("AAA");
    auto drum = Drum(0);
    // Four frames moving up by half a character each: 0.5 characters a frame.
    drum->TouchDown(Vector2(30.0f, 200.0f), 1);
    for (int i = 0; i < 4; ++i)
    {
        drum->TouchMove(Vector2(30.0f, 200.0f - float(i) * kStep * 0.5f));
        drum->Update(1.0f / 30.0f);
    }
    drum->CancelTouch();
    const int before = drum->GetSelected();
    drum->Update(1.0f / 30.0f);
    // (newest - oldest) / samples, then the first 5 % off.
    const float v0 = -1.5f / 4.0f * 0.95f;
    EXPECT_NEAR(v0, drum->GetVelocity(), 1e-4f);
    float expected = v0;
    for (int i = 0; i < 20; ++i)
    {
        drum->Update(1.0f / 30.0f);
        expected *= 0.95f;
        ASSERT_NEAR(expected, drum->GetVelocity(), 1e-4f) << "frame " << i;
    }
    // It kept turning on, towards the later characters.
    EXPECT_GT(drum->GetSelected(), before + 3);
    Settle(*drum);
    EXPECT_EQ(0.0f, drum->GetOffset());

    // A touch of three frames leaves no speed behind.
    auto still = Drum(1);
    still->TouchDown(Vector2(30.0f, 200.0f), 1);
    for (int i = 0; i < 3; ++i)
    {
        still->TouchMove(Vector2(30.0f, 200.0f - float(i) * kStep * 0.1f));
        still->Update(1.0f / 30.0f);
    }
    still->CancelTouch();
    still->Update(1.0f / 30.0f);
    EXPECT_GT(0.022f, std::fabs(still->GetVelocity()));
}

TEST_F(NameDrumTest, LetGoHalfWaySnapsToTheNearerCharacter)
{
    struct Case
    {
        float characters; // dragged downwards, in characters
        char rest;
    };
    const Case cases[] = {{0.3f, 'K'}, {0.45f, 'K'}, {0.55f, 'J'}, {0.7f, 'J'}, {-0.45f, 'K'}, {-0.55f, 'L'}};
    for (Case const& c : cases)
    {
        GamePrefs::SetPlayerName("KKK");
        auto drum = Drum(0);
        drum->TouchDown(Vector2(30.0f, 200.0f), 1);
        drum->Update(1.0f / 30.0f);
        drum->TouchMove(Vector2(30.0f, 200.0f + c.characters * kStep));
        // Held still long enough that no speed is left when let go.
        for (int i = 0; i < 12; ++i)
            drum->Update(1.0f / 30.0f);
        drum->CancelTouch();
        const int frames = Settle(*drum);
        EXPECT_LT(frames, 600) << c.characters;
        EXPECT_EQ(c.rest, drum->GetCharacter()) << c.characters;
        EXPECT_EQ(0.0f, drum->GetOffset());
    }
}

TEST_F(NameDrumTest, ANewTouchDoesNotJumpByThePreviousOnesPosition)
{
    GamePrefs::SetPlayerName("KKK");
    auto drum = Drum(0);
    // A tap of two frames far up, then a touch far down: neither turns the
    // drum, as neither moved.
    drum->TouchDown(Vector2(30.0f, 0.0f), 1);
    drum->Update(1.0f / 30.0f);
    drum->Update(1.0f / 30.0f);
    drum->CancelTouch();
    drum->Update(1.0f / 30.0f);
    drum->TouchDown(Vector2(30.0f, 900.0f), 1);
    drum->Update(1.0f / 30.0f);
    drum->Update(1.0f / 30.0f);
    drum->CancelTouch();
    Settle(*drum);
    EXPECT_EQ('K', drum->GetCharacter());
}

TEST_F(NameDrumTest, AWildTouchOrNoHeightNeverHangs)
{
    GamePrefs::SetPlayerName("KKK");
    auto flat = Drum(0, 0.0f);
    flat->TouchDown(Vector2(30.0f, 0.0f), 1);
    flat->Update(1.0f / 30.0f);
    flat->TouchMove(Vector2(30.0f, 5000.0f));
    flat->Update(1.0f / 30.0f);
    EXPECT_TRUE(std::isfinite(flat->GetOffset()));
    EXPECT_EQ('K', flat->GetCharacter());

    auto drum = Drum(0);
    drum->TouchDown(Vector2(30.0f, 0.0f), 1);
    drum->Update(1.0f / 30.0f);
    drum->TouchMove(Vector2(30.0f, 3.0e9f));
    drum->Update(1.0f / 30.0f);
    EXPECT_LE(std::fabs(drum->GetOffset()), 0.5f);
    EXPECT_GE(drum->GetSelected(), 0);
    EXPECT_LT(drum->GetSelected(), 82);
    drum->TouchMove(Vector2(30.0f, 700.0f)); // a jump of many turns the other way
    drum->Update(1.0f / 30.0f);
    EXPECT_LE(std::fabs(drum->GetOffset()), 0.5f);
    EXPECT_GE(drum->GetSelected(), 0);
    EXPECT_LT(drum->GetSelected(), 82);
}

TEST_F(NameDrumTest, DrawsItsBackgroundThenFiveCharactersOverIt)
{
    TextWidgetTest::FakeWidgetFonts fonts;
    Vexel::Graphics::GL::Recorder recorder;
    Vexel::Graphics::RenderState::ResetCache();
    TextWidgetTest::CountingFlush flush;
    GamePrefs::SetPlayerName("BAA");
    NumberSelectionElement drum(ElementLayout(ElementPosition(Vector2(0.0f, 0.0f)), Vector2(60.0f, kHeight)),
                                0, &flush, &batch);
    drum.Draw(Vexel::Rectangle(100.0f, 200.0f, 60.0f, kHeight), 0.5f);

    ASSERT_EQ(1u, batch.quads.size());
    FrontEndTest::Quad const& back = batch.quads[0];
    ASSERT_NE(nullptr, back.tile);
    EXPECT_EQ(67u, back.tile->id);
    FrontEndTest::ExpectNear(Vector2(130.0f, 250.0f), back.position, "background centre");
    FrontEndTest::ExpectNear(Vector2(60.0f * 1.12f, kHeight * 1.08f), back.size, "background size");
    EXPECT_EQ(87, int(back.colour.a));
    EXPECT_EQ(1, back.blendMode);
    EXPECT_EQ(1, flush.first);
    EXPECT_EQ(1, flush.second);

    // Offset 0: characters k = -2 .. 2 are on the front half of the drum.
    const std::vector<TextWidgetTest::Drawn> drawn = TextWidgetTest::Replay(recorder);
    ASSERT_EQ(5u, drawn.size());
    const char expected[5] = {'.', 'A', 'B', 'C', 'D'};
    for (size_t i = 0; i < drawn.size(); ++i)
    {
        SCOPED_TRACE(i);
        const float a = (float(i) - 2.0f) * 0.68f;
        ASSERT_GE(drawn[i].vertices.size(), 4u);
        EXPECT_EQ(expected[i], char(int(drawn[i].vertices[0].u * 256.0f + 0.5f)));
        // Centred on the drum's axis, placed round it by the angle.
        const Vexel::Rectangle extent = drawn[i].Extent();
        EXPECT_NEAR(130.0f, extent.Center().x, 0.01f);
        EXPECT_NEAR(250.0f + kHeight * 0.5f * std::sin(a), extent.Center().y, 0.01f);
        // The front character full size and opaque at the drawing alpha,
        // the others smaller and fainter.
        const float s = i == 2 ? 1.0f : std::cos(a) * 0.25f + 0.6f;
        const float size = kHeight * 0.43f;
        EXPECT_NEAR(size * 0.5f * s, extent.width, 0.01f);
        EXPECT_NEAR(size * s * std::cos(a), extent.height, 0.01f);
        const float alpha = 0.5f * std::cos(a) * (i == 2 ? 1.0f : 0.7f);
        EXPECT_EQ(int(255.0f * alpha), int(drawn[i].vertices[0].color.a));
    }
}
