// Until the menus exist, the layer above the play screen that stands in for
// the pause page and the results page. While the game is paused it says so,
// and a tap anywhere resumes; once the game is over it shows the score, and
// a tap (after a moment, so that the last shots fired do not count) starts a
// new Classic game. While the game runs it is invisible to touches.
#pragma once

#include "engine/ui/Screen.h"

#include <string>

class GameScreen;

namespace Vexel
{
namespace Graphics
{
namespace Sprites
{
class TransientBatch;
}
namespace Type
{
class LinotypeBatch;
} // namespace Type
} // namespace Graphics
} // namespace Vexel

class PlayOverlay : public Vexel::UI::Screen
{
public:
    // Frames a finished game is shown before a tap restarts it.
    static constexpr int kRestartDelayFrames = 45;

    // The game screen is not owned.
    explicit PlayOverlay(GameScreen* game);
    ~PlayOverlay() override;

    void Update(float dt) override;
    void Draw(Vexel::Rectangle rect, float alpha) override;
    void OnTouchUp(Vector2 const& position, int tapCount) override;
    // Takes touches only while there is something to answer.
    bool HitTest(Vector2 const& point) override;

    // What the overlay says now, lines split by '\n'; "" while the game runs.
    std::string GetMessage() const;

private:
    bool IsOver() const;

    GameScreen* game;
    Vexel::Graphics::Type::LinotypeBatch* text;
    Vexel::Graphics::Sprites::TransientBatch* backdrop;
    std::string laidOut;
    float laidOutScale;
    int laidOutAlpha;
    int overFrames;
    float fade;
};
