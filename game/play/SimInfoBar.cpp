#include "game/play/SimInfoBar.h"

#include "engine/core/Transform2D.h"
#include "engine/core/VectorMath.h"
#include "engine/graphics/ReferenceTiles.h"
#include "engine/graphics/RenderState.h"
#include "engine/graphics/SpriteBatch.h"
#include "engine/graphics/Texture.h"
#include "engine/graphics/type/IFont.h"
#include "engine/graphics/type/ITypeface.h"
#include "engine/ui/UIHelper.h"
#include "game/scores/Awards.h"
#include "game/simulation/GameMode.h"
#include "game/simulation/Tutorial.h"

#include <algorithm>
#include <cmath>
#include <vector>

using Vexel::Graphics::RenderState;
using Vexel::Graphics::Sprites::TransientBatch;
using Vexel::Graphics::Type::IFont;

const char* const SimInfoBar::kHintText = "double-tap planet to pause";

namespace
{
using Vexel::kPi;

// Tiles of the game's tile table.
const uint32_t kChargeIconTile = 4;
const uint32_t kPopulationFillTile = 56;
const uint32_t kPopulationBackTile = 57;
const uint32_t kBannerBackdropTile = 68;

const int kAlphaBlend = Vexel::Graphics::BlendMode::Alpha;
const int kAdditive = Vexel::Graphics::BlendMode::Additive;

// A line is laid out again while its age is below this, and pulses (drawn
// twice at a raised alpha) while below kPulseDraws.
const int32_t kRelayoutDraws = 10;
const int32_t kPulseDraws = 9;
// Ages stop here: anything past the pulse behaves the same, and the count
// never overflows however long the game runs.
const int32_t kAgeCap = 1 << 20;

const int kTextCapacity[6] = {32, 32, 128, 32, 64, 512}; // lives, kills, score, wave, hint, tutorial
const int kShortTextCapacity = 32;                       // the cannon count and the banner
// The left lines start 4 px in and their capitals' side bearing adds about
// two pixels per scale step; digits end at their advance, so the right-aligned
// lines keep a scaled pixel more to stand as far from the edge as the left.
float RightMargin(float scale)
{
    return 4.0f + scale;
}

TileInfo const& Tile(uint32_t id)
{
    return *Vexel::Graphics::GetReferenceTiles().GetTile(id);
}

void Age(int32_t& age)
{
    if (age < kAgeCap)
        age++;
}

void DrawTimes(Vexel::Graphics::Type::LinotypeBatch& text, int times)
{
    for (int i = 0; i < times; i++)
        text.Draw();
}

// The tutorial's texts were broken into lines for a narrower, shorter face:
// at 20 px our face's lines put the last prompt over the planet. One size
// down, with empty lines (paragraph gaps, and the room left under the prompt
// for the continue button) half a line high, every step's text clears the
// planet and the button.
const float kTutorialFontSize = 18.0f;
const float kTutorialGap = 0.5f;

// Splits at '\n'; "a\n" gives "a" and "" (trailing breaks count as lines).
std::vector<std::string> SplitLines(std::string const& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;)
    {
        const size_t end = text.find('\n', start);
        if (end == std::string::npos)
        {
            lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

float BlockHeight(std::vector<std::string> const& lines, float lineHeight)
{
    float height = 0.0f;
    for (std::string const& line : lines)
        height += line.empty() ? lineHeight * kTutorialGap : lineHeight;
    return height;
}

bool FontReady(IFont* font)
{
    return font && font->GetState() == Vexel::Graphics::Type::TypeState::Ready;
}
} // namespace

SimInfoBar::SimInfoBar()
    : lastAlpha(0.0f), livesAge(1000), lastPopulation(0), livesText(kTextCapacity[0]), killsAge(1000),
      lastKills(-1), killsText(kTextCapacity[1]), scoreAge(1000), lastScore(0), lastMultiplier(0),
      populationFill(0.0f), scoreText(kTextCapacity[2]), lastWave(-1), lastExtraWaves(-1),
      waveText(kTextCapacity[3]), hintTimer(0.0f), hintText(kTextCapacity[4]), tutorialText(kTextCapacity[5]),
      countText(kShortTextCapacity), bannerText(kShortTextCapacity), scoreWidth(0.0f), waveWidth(0.0f),
      chargeIcons(0), killsColour(0, 0, 0, 0)
{
}

SimInfoBar::~SimInfoBar() {}

void SimInfoBar::Update(float dt)
{
    hintTimer = std::max(hintTimer - dt, 0.0f);
}

void SimInfoBar::Tick() {}

void SimInfoBar::waveStarted()
{
    hintTimer = kHintSeconds;
}

float SimInfoBar::Pulse(int32_t age)
{
    if (age < 0 || age >= kPulseDraws)
        return 1.0f;
    return (float(kPulseDraws - age) * 0.05f + 1.0f) * 0.5f;
}

std::string SimInfoBar::BannerText(int32_t mode, int32_t wave)
{
    switch (mode)
    {
    case GameMode::Classic:
    case GameMode::Quickstart:
    {
        std::string text = "Wave " + std::to_string(wave);
        for (int32_t step : {9, 24, 49, 99, 199})
            if (wave > step)
                text += "!";
        return text;
    }
    case GameMode::Level:
        return "Final Wave!";
    case GameMode::Practice:
        return "Practice Mode";
    case GameMode::GauntletStage:
        return wave < 8 ? std::to_string(9 - wave) + " Waves Left!" : "Final Wave!";
    case GameMode::FullGauntlet:
        return wave < 64 ? std::to_string(65 - wave) + " Waves Left!" : "Final Wave!";
    default:
        return std::string();
    }
}

float SimInfoBar::BannerFade(float p)
{
    if (p < 0.2f)
        return p * 5.0f;
    if (p <= 0.8f)
        return 1.0f;
    return (1.0f - p) * 5.0f;
}

float SimInfoBar::BannerSlide(float p)
{
    // Fast in, a slow drift through the middle, fast out.
    if (p < 0.2f)
        return ((p * 5.0f - 1.0f) * 1.32f - 0.5f) - 0.33f;
    if (p <= 0.8f)
        return ((p - 0.2f) / 0.6f - 0.5f) - 0.33f;
    return (((p - 1.0f) * 5.0f + 1.0f) * 1.32f + 0.5f) - 0.33f;
}

void SimInfoBar::Draw(TransientBatch& batch, float alpha, float scale, Color colour,
                      Vexel::Rectangle const& area, int32_t kills, uint64_t population,
                      uint64_t initialPopulation, uint64_t score, uint64_t multiplier, int32_t wave,
                      int32_t extraWaves, Award* award, ViewFrame const&, int32_t cannonCharges,
                      float bannerProgress, int32_t mode, int32_t tutorialStep)
{
    if (!(scale > 0.0f))
        return;
    IFont* small = GetFont(16.0f * scale);
    IFont* medium = GetFont(20.0f * scale);
    IFont* large = GetFont(42.0f * scale);
    IFont* tutorialFont = GetFont(kTutorialFontSize * scale);
    if (!FontReady(small) || !FontReady(medium) || !FontReady(large) || !FontReady(tutorialFont))
    {
        // A line laid out before the face is ready would stay empty until
        // its value changed: lay everything out again once it is.
        lastAlpha = -1.0f;
        return;
    }

    const float pad = 10.0f * scale;
    const Vector2 origin(area.x, area.y);
    const Vector2 row1(0.0f, pad - 2.0f + small->GetBase());
    const Vector2 row2 = row1 + Vector2(0.0f, small->GetLineHeight());
    const Color barColour = colour.ScaleAlpha(alpha);
    const Color textColour = Color(127, 212, 255, colour.a).ScaleAlpha(alpha);
    const bool tutorial = mode == GameMode::Tutorial;
    const bool alphaChanged = alpha != lastAlpha;

    // Kills.
    Age(killsAge);
    bool changed = false;
    if (!tutorial && kills != lastKills)
    {
        killsAge = 0;
        lastKills = kills;
        changed = true;
    }
    if (changed || alphaChanged || killsAge < kRelayoutDraws)
    {
        killsText.Clear();
        killsLine = "Kills: " + std::to_string(kills);
        if (award && award->GetValue() >= 1)
            killsLine += "/" + std::to_string(award->GetValue());
        killsColour = textColour.ScaleAlpha(Pulse(killsAge)).ScaleAlpha(0.85f);
        small->LayoutText(killsText, killsLine, origin + Vector2(4.0f, 0.0f) + row2, killsColour);
    }

    // Lives and the population bar.
    Age(livesAge);
    changed = false;
    if (!tutorial && population != lastPopulation)
    {
        livesAge = 0;
        lastPopulation = population;
        changed = true;
    }
    if (changed || alphaChanged || livesAge < kRelayoutDraws)
    {
        livesText.Clear();
        livesLine = "Lives: " + FormatWithThousands(int64_t(std::min<uint64_t>(population, INT64_MAX)));
        small->LayoutText(livesText, livesLine, origin + Vector2(4.0f, 0.0f) + row1,
                          textColour.ScaleAlpha(Pulse(livesAge)));
    }
    const Color fillColour = barColour.ScaleAlpha(Pulse(livesAge));
    if (!tutorial)
    {
        // No population to measure against (a world never started) shows an
        // empty bar rather than a NaN.
        float ratio = initialPopulation ? float(population) / float(initialPopulation) : 0.0f;
        ratio = std::min(std::max(ratio, 0.0f), 1.0f);
        populationFill += (ratio - populationFill) * (population == 0 ? 0.2f : 0.08f);
        const float centreX = area.x + area.width * 0.5f;
        const float centreY = area.y + pad * 0.5f;
        batch.AddTileSized(Tile(kPopulationBackTile), Vector2(centreX, centreY), Vector2(area.width, pad),
                           barColour, kAlphaBlend);
        const Vector2 fillCentre(centreX - (1.0f - populationFill) * area.width * 0.5f, centreY);
        const Vector2 fillSize(populationFill * area.width, pad);
        for (int i = livesAge < kPulseDraws ? 2 : 1; i > 0; i--)
            batch.AddTileSized(Tile(kPopulationFillTile), fillCentre, fillSize, fillColour, kAdditive);
    }

    // The cannon's charges.
    chargeIcons = 0;
    chargeCountLine.clear();
    if (alpha > 0.0f && (!tutorial || tutorialStep == 3 || tutorialStep == 4))
        DrawChargeIcons(batch, *medium, scale, area, barColour, textColour, cannonCharges);
    // All text lies above the sprites.
    batch.Draw();

    if (!tutorial)
    {
        RenderState::SetBlendMode(kAdditive);
        DrawTimes(livesText, livesAge < kPulseDraws ? 2 : 1);
        DrawTimes(killsText, killsAge < kPulseDraws ? 2 : 1);
    }

    // Score and multiplier.
    Age(scoreAge);
    changed = false;
    if (!tutorial && (score != lastScore || multiplier != lastMultiplier))
    {
        scoreAge = 0;
        lastScore = score;
        lastMultiplier = multiplier;
        changed = true;
    }
    if (changed || alphaChanged || scoreAge < kRelayoutDraws)
    {
        scoreText.Clear();
        const Color lineColour = textColour.ScaleAlpha(Pulse(scoreAge));
        const std::string prefix = "x" + std::to_string(multiplier) + "  ";
        const std::string number = FormatWithThousands(int64_t(std::min<uint64_t>(score, INT64_MAX)));
        Vector2 pen = small->LayoutText(scoreText, prefix, origin + row1, lineColour.ScaleAlpha(0.8f));
        pen = small->LayoutText(scoreText, number, Vector2(pen.x, origin.y + row1.y), lineColour);
        scoreWidth = pen.x - origin.x;
        scoreLine = prefix + number;
    }
    if (!tutorial)
    {
        Transform2D(Vector2(area.width - scoreWidth - RightMargin(scale), 0.0f), Vector2(1.0f, 1.0f)).Push();
        DrawTimes(scoreText, scoreAge < kPulseDraws ? 2 : 1);
        Transform2D::Pop();
    }

    // Wave.
    changed = false;
    if (!tutorial && (wave != lastWave || extraWaves != lastExtraWaves))
    {
        lastWave = wave;
        lastExtraWaves = extraWaves;
        changed = true;
    }
    if (changed || alphaChanged)
    {
        waveText.Clear();
        waveLine = "Wave " + std::to_string(wave);
        if (extraWaves > 0)
            waveLine += " +" + std::to_string(extraWaves);
        const Vector2 pen =
            small->LayoutText(waveText, waveLine, origin + row2, textColour.ScaleAlpha(0.85f));
        waveWidth = pen.x - origin.x;
    }
    if (!tutorial)
    {
        Transform2D(Vector2(area.width - waveWidth - RightMargin(scale), 0.0f), Vector2(1.0f, 1.0f)).Push();
        waveText.Draw();
        Transform2D::Pop();
    }

    if (hintTimer > 0.0f && !tutorial)
        DrawHint(*small, area, textColour);

    bannerLine.clear();
    if (bannerProgress > 0.0f && bannerProgress < 1.0f && !tutorial)
        DrawBanner(batch, *large, area, colour, textColour, mode, wave, bannerProgress);

    if (tutorial)
        DrawTutorial(*tutorialFont, alpha, scale, area, textColour, tutorialStep);

    lastAlpha = alpha;
}

void SimInfoBar::DrawChargeIcons(TransientBatch& batch, IFont& medium, float scale,
                                 Vexel::Rectangle const& area, Color barColour, Color textColour,
                                 int32_t charges)
{
    TileInfo const& icon = Tile(kChargeIconTile);
    const Vector2 size(32.0f * scale, 32.0f * scale);
    const Vector2 corner(area.x + area.width, area.y);
    if (charges < 7)
    {
        // A column down the right edge, starting two icons below the top.
        for (int32_t i = charges - 1; i >= 0; i--)
            batch.AddTileSized(icon, corner + size * Vector2(-0.42f, 0.8375f * float(i) + 2.0f), size,
                               barColour, kAlphaBlend);
        chargeIcons = std::max(charges, 0);
        return;
    }
    // One icon and the count, on a tab stretched to the screen's edge.
    chargeCountLine = std::to_string(charges);
    countText.Clear();
    const Vector2 textSize =
        medium.Layout(countText, chargeCountLine, Vector2(0.0f, medium.GetBase()), textColour);
    const float w = textSize.x - 2.0f * scale;
    batch.AddTileSized(icon, corner + size * Vector2(-0.5f, 2.0f) - Vector2(w, 0.0f), size, barColour,
                       kAlphaBlend);
    Vexel::Rectangle strip = icon.uv;
    strip.x += strip.width * 0.975f;
    strip.width *= 0.025f;
    batch.AddRegionSized(icon.texture ? *icon.texture : Vexel::Graphics::Texture::Empty, strip,
                         Vector2(corner.x - w * 0.5f, area.y + 2.0f * size.y), Vector2(w, size.y), barColour,
                         kAlphaBlend);
    chargeIcons = 1;
    batch.Draw();
    RenderState::SetBlendMode(kAdditive);
    Transform2D(Vector2(corner.x - 2.0f * scale - w, area.y + 2.0f * size.y - textSize.y * 0.5f),
                Vector2(1.0f, 1.0f))
        .Push();
    countText.Draw();
    Transform2D::Pop();
}

void SimInfoBar::DrawHint(IFont& small, Vexel::Rectangle const& area, Color textColour)
{
    const float k = hintTimer / kHintSeconds;
    hintText.Clear();
    const Vector2 size = small.Layout(hintText, std::string(kHintText), Vector2(0.0f, small.GetBase()),
                                      textColour.ScaleAlpha(std::sin(k * kPi * 0.5f)));
    // It shrinks from 1.35 to 0.95 while it fades.
    const float s = k * 0.4f + 0.95f;
    Transform2D(Vector2(area.x + (area.width - size.x * s) * 0.5f, area.y + area.height - size.y * 4.3f),
                Vector2(s, s))
        .Push();
    hintText.Draw();
    Transform2D::Pop();
}

void SimInfoBar::DrawBanner(TransientBatch& batch, IFont& large, Vexel::Rectangle const& area, Color colour,
                            Color textColour, int32_t mode, int32_t wave, float progress)
{
    bannerLine = BannerText(mode, wave);
    if (bannerLine.empty())
        return;
    const float a = BannerFade(progress);
    const float f = BannerSlide(progress);
    batch.Draw();
    bannerText.Clear();
    const Vector2 size = large.Measure(bannerLine);
    large.Layout(bannerText, bannerLine,
                 Vector2(-size.x * 0.5f, large.GetBase() - large.GetLineHeight() * 0.5f),
                 textColour.ScaleAlpha(a));
    const Vector2 at(area.x + area.width * 0.5f - size.x * f * 0.125f,
                     area.y + (area.height - size.y * 1.5f) * 0.5f);
    batch.AddTileSized(Tile(kBannerBackdropTile), Vector2(0.0f, 0.0f), Vector2(size.x * 3.2f, size.y * 1.3f),
                       Color(45, 62, 75, colour.a).ScaleAlpha(a * 0.4f), kAlphaBlend);
    batch.Draw(at, Vector2(1.0f, 1.0f));
    RenderState::SetBlendMode(kAdditive);
    Transform2D(at, Vector2(1.0f, 1.0f)).Push();
    bannerText.Draw();
    Transform2D::Pop();
}

void SimInfoBar::DrawTutorial(IFont& font, float alpha, float scale, Vexel::Rectangle const& area,
                              Color textColour, int32_t step)
{
    const std::string top = GetTutorialText(step);
    const std::string bottom = GetTutorialPrompt(step);
    if (alpha != lastAlpha || top + bottom != lastTutorialText)
    {
        lastTutorialText = top + bottom;
        tutorialText.Clear();
        tutorialCells.clear();
        const Color lineColour = textColour.ScaleAlpha(alpha);
        const float lineHeight = font.GetLineHeight();
        const float centreX = area.x + area.width * 0.5f;
        // Lays out one block of lines from its top; empty lines are gaps.
        auto layoutBlock = [&](std::vector<std::string> const& lines, float blockTop) {
            float y = blockTop;
            for (std::string const& line : lines)
            {
                if (line.empty())
                {
                    y += lineHeight * kTutorialGap;
                    continue;
                }
                const float width = font.Measure(line).x;
                font.Layout(tutorialText, line, Vector2(-width * 0.5f, y + font.GetBase()), lineColour);
                tutorialCells.push_back(Vexel::Rectangle(centreX - width * 0.5f, area.y + y, width, lineHeight));
                y += lineHeight;
            }
        };
        layoutBlock(SplitLines(top), 15.0f * scale);
        // The prompt's block ends 12 x scale above the bottom; its trailing
        // empty lines leave room for the continue button.
        const std::vector<std::string> bottomLines = SplitLines(bottom);
        layoutBlock(bottomLines, area.height - 12.0f * scale - BlockHeight(bottomLines, lineHeight));
    }
    RenderState::SetBlendMode(kAdditive);
    Transform2D(Vector2(area.x + area.width * 0.5f, area.y), Vector2(1.0f, 1.0f)).Push();
    tutorialText.Draw();
    Transform2D::Pop();
}
