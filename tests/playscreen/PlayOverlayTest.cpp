// The stand-in for the pause and results pages above the play screen: it
// takes touches only while the game is paused or over, a tap resumes a
// paused game, and a tap a moment after the end starts a new Classic game.
#include "game/frontend/PlayOverlay.h"
#include "game/simulation/SimulationView.h"
#include "tests/playscreen/PlayScreenTestSupport.h"

#include <gtest/gtest.h>

namespace
{

class PlayOverlayTest : public PlayTest::PlayScreenFixture
{
protected:
    void SetUp() override
    {
        PlayScreenFixture::SetUp();
        overlay.reset(new PlayOverlay(screen.get()));
        Vexel::UI::UIManager::AttachElement(overlay.get(), 1);
        Sim().StartGame(1, 1);
    }

    void TearDown() override
    {
        Vexel::UI::UIManager::DetachElement(overlay.get());
        overlay.reset();
        PlayScreenFixture::TearDown();
    }

    void Tap(Vector2 point)
    {
        Down(0, point);
        Up(0, point);
        Frame();
    }

    std::unique_ptr<PlayOverlay> overlay;
};

TEST_F(PlayOverlayTest, ARunningGameKeepsItsTouches)
{
    Frame();
    EXPECT_EQ("", overlay->GetMessage());
    Down(0, Vector2(60.0f, 60.0f));
    EXPECT_EQ(screen->GetTarget(11), Holder(0));
    Up(0, Vector2(60.0f, 60.0f));
}

TEST_F(PlayOverlayTest, ATapResumesAPausedGame)
{
    screen->SetPaused(true);
    Frame();
    EXPECT_EQ("Paused\ntap to resume", overlay->GetMessage());
    Down(0, Vector2(60.0f, 60.0f));
    EXPECT_EQ(overlay.get(), Holder(0));
    Up(0, Vector2(60.0f, 60.0f));
    EXPECT_FALSE(screen->IsPaused());
    Frame();
    EXPECT_EQ("", overlay->GetMessage());
}

TEST_F(PlayOverlayTest, ATapAMomentAfterTheEndStartsANewClassicGame)
{
    Frame(30);
    Sim().Surrender();
    Frame(PlayOverlay::kRestartDelayFrames - 1);
    EXPECT_EQ("Game Over\nScore: 0", overlay->GetMessage());
    // Too soon: the tap is the game's.
    Tap(Vector2(60.0f, 60.0f));
    EXPECT_TRUE(Sim().IsGameOver());
    Frame();
    EXPECT_EQ("Game Over\nScore: 0\ntap to play again", overlay->GetMessage());
    Tap(Vector2(60.0f, 60.0f));
    EXPECT_FALSE(Sim().IsGameOver());
    EXPECT_EQ(1, Sim().GetMode());
    EXPECT_GE(Sim().View().Population(), Simulation::kStartPopulation);
    EXPECT_EQ("", overlay->GetMessage());
}

} // namespace
