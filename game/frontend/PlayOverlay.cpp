#include "game/frontend/PlayOverlay.h"

#include "engine/core/Platform.h"
#include "engine/core/Transform2D.h"
#include "engine/graphics/ReferenceTiles.h"
#include "engine/graphics/RenderState.h"
#include "engine/graphics/SpriteBatch.h"
#include "engine/graphics/type/IFont.h"
#include "engine/graphics/type/ITypeface.h"
#include "engine/graphics/type/LinotypeBatch.h"
#include "engine/ui/UIHelper.h"
#include "game/simulation/GameScreen.h"
#include "game/simulation/SimulationView.h"

#include <algorithm>
#include <vector>

using Vexel::Graphics::Type::IFont;
using Vexel::Graphics::Type::LinotypeBatch;

namespace
{
const int kTextCapacity = 96;
const Color kTextColour(127, 212, 255, 255);
// Fades in and out over about a third of a second.
const float kFadeStep = 0.1f;
// The banner's backdrop: a dark band that keeps the text readable over the
// planet.
const uint32_t kBackdropTile = 68;
} // namespace

PlayOverlay::PlayOverlay(GameScreen* game)
    : Screen(Vexel::UI::TouchMode::Take), game(game), text(new LinotypeBatch(kTextCapacity)),
      backdrop(new Vexel::Graphics::Sprites::TransientBatch(4)), laidOutScale(0.0f), laidOutAlpha(0),
      overFrames(0), fade(0.0f)
{
}

PlayOverlay::~PlayOverlay()
{
    delete backdrop;
    delete text;
}

bool PlayOverlay::IsOver() const
{
    Simulation const& sim = game->GetSimulation();
    return sim.GetMode() != 0 && sim.IsGameOver();
}

std::string PlayOverlay::GetMessage() const
{
    if (IsOver())
    {
        const std::string score = FormatWithThousands(int64_t(game->GetSimulation().View().Score()));
        std::string message = "Game Over\nScore: " + score;
        if (overFrames >= kRestartDelayFrames)
            message += "\ntap to play again";
        return message;
    }
    if (game->IsPaused())
        return "Paused\ntap to resume";
    return std::string();
}

bool PlayOverlay::HitTest(Vector2 const&)
{
    return game->IsPaused() || (IsOver() && overFrames >= kRestartDelayFrames);
}

void PlayOverlay::OnTouchUp(Vector2 const&, int)
{
    if (game->IsPaused())
    {
        game->SetPaused(false);
        return;
    }
    if (IsOver() && overFrames >= kRestartDelayFrames)
        game->GetSimulation().StartGame(1, 1);
}

void PlayOverlay::Update(float)
{
    overFrames = IsOver() ? std::min(overFrames + 1, kRestartDelayFrames) : 0;
    const bool shown = !GetMessage().empty();
    fade = shown ? std::min(fade + kFadeStep, 1.0f) : std::max(fade - kFadeStep, 0.0f);
}

void PlayOverlay::Draw(Vexel::Rectangle rect, float alpha)
{
    const std::string message = GetMessage();
    if (!(fade * alpha > 0.005f) || message.empty())
        return;
    const float scale = float(Vexel::Platform::GetScreenWidth()) / 320.0f;
    IFont* font = GetFont(24.0f * scale);
    if (!font || font->GetState() != Vexel::Graphics::Type::TypeState::Ready)
        return;
    const Color colour = kTextColour.ScaleAlpha(fade * alpha);
    if (message != laidOut || scale != laidOutScale || colour.a != laidOutAlpha)
    {
        // Lines centred on the origin; the block's middle a third of the way down.
        laidOut = message;
        laidOutScale = scale;
        laidOutAlpha = colour.a;
        text->Clear();
        std::vector<std::string> lines;
        size_t start = 0;
        for (size_t end; (end = message.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(message.substr(start, end - start));
        lines.push_back(message.substr(start));
        const float lineHeight = font->GetLineHeight();
        const float top = -lineHeight * float(lines.size()) * 0.5f;
        for (size_t i = 0; i < lines.size(); i++)
        {
            const float width = font->Measure(lines[i]).x;
            font->Layout(*text, lines[i],
                         Vector2(-width * 0.5f, top + font->GetBase() + lineHeight * float(i)), colour);
        }
    }
    const Vector2 centre(rect.x + rect.width * 0.5f, rect.y + rect.height * 0.3f);
    const Vexel::Rectangle bounds = text->GetBounds();
    backdrop->AddTileSized(*Vexel::Graphics::GetReferenceTiles().GetTile(kBackdropTile),
                           Vector2(bounds.x + bounds.width * 0.5f, bounds.y + bounds.height * 0.5f),
                           Vector2(rect.width * 1.2f, bounds.height + 24.0f * scale),
                           Color(8, 14, 22, 255).ScaleAlpha(fade * alpha * 0.8f),
                           Vexel::Graphics::BlendMode::Alpha);
    backdrop->Draw(centre, Vector2(1.0f, 1.0f));
    // Additive, as the HUD's text.
    Vexel::Graphics::RenderState::SetBlendMode(Vexel::Graphics::BlendMode::Additive);
    Transform2D(centre, Vector2(1.0f, 1.0f)).Push();
    text->Draw();
    Transform2D::Pop();
}
