// The in-game heads-up display: the population ("Lives: ") with its bar,
// the kills, the score with its multiplier, the wave, the planet cannon's
// charges, a short pause hint at the start of each intermission, a large
// wave banner while an intermission runs, and in the tutorial the step's
// text and prompt.
//
// Every line has its own text batch and is laid out again only when its
// value changes, when the fade level changes, or while its highlight pulse
// runs: for nine draws after a change a line is drawn twice, additively, at
// a pulse alpha falling from 0.725 to 0.525. The Simulation owns the HUD,
// updates it once per frame and draws it after the world while its fade
// level is above 0.005. Nothing of it is saved. Main thread only (drawing
// on the GL thread).
#pragma once

#include "engine/graphics/type/LinotypeBatch.h"
#include "game/simulation/SimulationHud.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Vexel
{
namespace Graphics
{
namespace Type
{
class IFont;
}
} // namespace Graphics
} // namespace Vexel

class SimInfoBar : public ISimulationHud
{
public:
    // Seconds the pause hint shows after a wave starts.
    static constexpr float kHintSeconds = 3.0f;
    static const char* const kHintText; // "double-tap planet to pause"

    SimInfoBar();
    ~SimInfoBar() override;

    void Update(float dt) override;
    void Tick() override;
    void waveStarted() override;
    void Draw(Vexel::Graphics::Sprites::TransientBatch& batch, float alpha, float scale, Color colour,
              Vexel::Rectangle const& area, int32_t kills, uint64_t population, uint64_t initialPopulation,
              uint64_t score, uint64_t multiplier, int32_t wave, int32_t extraWaves, Award* award,
              ViewFrame const& view, int32_t cannonCharges, float bannerProgress, int32_t mode,
              int32_t tutorialStep) override;

    // The banner of an intermission before this wave; "" for none (the menu
    // world and the tutorial).
    static std::string BannerText(int32_t mode, int32_t wave);
    // The banner's fade and slide over the intermission's progress 0..1.
    static float BannerFade(float progress);
    static float BannerSlide(float progress);
    // A line's alpha factor age draws after its value changed (1 from the
    // ninth draw on).
    static float Pulse(int32_t age);

    // What the last draws laid out, for tests and tools.
    float GetHintTimer() const { return hintTimer; }
    float GetPopulationFill() const { return populationFill; }
    int32_t GetKillsAge() const { return killsAge; }
    int32_t GetLivesAge() const { return livesAge; }
    int32_t GetScoreAge() const { return scoreAge; }
    std::string const& GetLivesLine() const { return livesLine; }
    std::string const& GetKillsLine() const { return killsLine; }
    std::string const& GetScoreLine() const { return scoreLine; }
    std::string const& GetWaveLine() const { return waveLine; }
    // The banner and the cannon count of the last draw ("" when not shown).
    std::string const& GetBannerLine() const { return bannerLine; }
    std::string const& GetChargeCountLine() const { return chargeCountLine; }
    // Cannon icons queued by the last draw.
    int GetChargeIconCount() const { return chargeIcons; }
    Color GetKillsColour() const { return killsColour; }
    std::string const& GetTutorialLines() const { return lastTutorialText; }
    // The cells of the tutorial lines last laid out, in screen coordinates.
    std::vector<Vexel::Rectangle> const& GetTutorialLineCells() const { return tutorialCells; }

private:
    typedef Vexel::Graphics::Type::IFont IFont;
    typedef Vexel::Graphics::Type::LinotypeBatch LinotypeBatch;

    void DrawChargeIcons(Vexel::Graphics::Sprites::TransientBatch& batch, IFont& medium, float scale,
                         Vexel::Rectangle const& area, Color barColour, Color textColour, int32_t charges);
    void DrawHint(IFont& small, Vexel::Rectangle const& area, Color textColour);
    void DrawBanner(Vexel::Graphics::Sprites::TransientBatch& batch, IFont& large,
                    Vexel::Rectangle const& area, Color colour, Color textColour, int32_t mode, int32_t wave,
                    float progress);
    void DrawTutorial(IFont& font, float alpha, float scale, Vexel::Rectangle const& area, Color textColour,
                      int32_t step);

    float lastAlpha;
    int32_t livesAge;
    uint64_t lastPopulation;
    LinotypeBatch livesText;
    int32_t killsAge;
    int32_t lastKills;
    LinotypeBatch killsText;
    int32_t scoreAge;
    uint64_t lastScore;
    uint64_t lastMultiplier;
    float populationFill;
    LinotypeBatch scoreText;
    int32_t lastWave;
    int32_t lastExtraWaves;
    LinotypeBatch waveText;
    float hintTimer;
    LinotypeBatch hintText;
    std::string lastTutorialText;
    LinotypeBatch tutorialText;
    std::vector<Vexel::Rectangle> tutorialCells;

    // Reused for the two texts laid out only while shown: the cannon count
    // and the banner (sized for the longest of either).
    LinotypeBatch countText;
    LinotypeBatch bannerText;
    // Widths of the right-aligned lines as laid out.
    float scoreWidth;
    float waveWidth;

    std::string livesLine;
    std::string killsLine;
    std::string scoreLine;
    std::string waveLine;
    std::string bannerLine;
    std::string chargeCountLine;
    int chargeIcons;
    Color killsColour;
};
