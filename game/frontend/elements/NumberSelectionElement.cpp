#include "game/frontend/elements/NumberSelectionElement.h"

#include "engine/core/Rectangle.h"
#include "engine/core/Transform2D.h"
#include "engine/core/VectorMath.h"
#include "engine/graphics/RenderState.h"
#include "engine/graphics/SpriteBatch.h"
#include "engine/graphics/TileInfo.h"
#include "engine/graphics/type/IFont.h"
#include "engine/graphics/type/LinotypeBatch.h"
#include "engine/ui/UIHelper.h"
#include "game/frontend/FrontEndTables.h"
#include "game/scores/GamePrefs.h"
#include "game/widgets/IFlush.h"
#include "game/widgets/UIPalette.h"

#include <cmath>
#include <string>

namespace
{

using Vexel::kPi;
const float kCharacterHeight = 0.3f; // of the element's height, per character
const float kFriction = 0.95f;       // per frame
const float kStopSpeed = 0.022f;     // slower than this, a released drum snaps
const float kSnapRate = 0.045f;      // of the distance to the nearest character, per frame
const float kTinySpeed = 0.00001f;
const int kBackgroundTile = 67;
// How far the rows stand round the drum, of its height: far enough that a
// "." above an "A" reads as its own row, not as an accent.
const float kRowSpread = 0.5f;

float Sign(float v)
{
    return v < 0.0f ? -1.0f : 1.0f;
}

} // namespace

const char NumberSelectionElement::kAlphabet[kAlphabetSize + 1] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                                                  "abcdefghijklmnopqrstuvwxyz"
                                                                  "1234567890"
                                                                  "!@#$%^&*()-+=_`~'\",.";

int NumberSelectionElement::AlphabetIndex(char c)
{
    for (int i = 0; i < kAlphabetSize; ++i)
    {
        if (kAlphabet[i] == c)
            return i;
    }
    return -1;
}

NumberSelectionElement::NumberSelectionElement(Vexel::UI::ElementLayout const& layout, int position,
                                               IFlush* flusher,
                                               Vexel::Graphics::Sprites::ITransientBatch* batch)
    : Element(layout, Vexel::UI::TouchMode::Take), batch(batch), flusher(flusher), position(position),
      selected(0), offset(0.0f), velocity(0.0f), history{}, samples(0)
{
    const std::string name = GamePrefs::GetPlayerName();
    const char c = position >= 0 && size_t(position) < name.size() ? name[size_t(position)] : 'A';
    const int index = AlphabetIndex(c);
    selected = index < 0 ? 0 : index;
}

NumberSelectionElement::~NumberSelectionElement() = default;

void NumberSelectionElement::Update(float)
{
    const bool pressed = IsPressed();
    if (pressed)
    {
        velocity = 0.0f;
        const float height = GetSize().y * kCharacterHeight;
        const float touch = height > 0.0f ? GetTouchPosition().y / height : 0.0f;
        for (int i = kHistory - 1; i > 0; --i)
            history[i] = history[i - 1];
        history[0] = touch;
        if (samples < kHistory)
            ++samples;
        // The drum follows the finger.
        if (samples > 1)
            offset += history[0] - history[1];
    }
    else
    {
        // A touch held for at least four frames leaves its speed to the drum.
        if (samples > 3)
        {
            velocity = (history[0] - history[samples - 1]) / float(samples);
            if (std::fabs(velocity) < 0.01f)
                velocity = 0.0f;
        }
        // Always: a short touch must not join the next one's history.
        samples = 0;
    }

    velocity *= kFriction;

    if (offset != 0.0f && !pressed)
    {
        if (std::fabs(velocity) < kStopSpeed)
            velocity = 0.0f;
        const float minimum = std::fabs(offset) * kSnapRate;
        if (std::fabs(velocity) < minimum)
        {
            // Too slow to reach another character: head for the nearest one.
            if (std::fabs(velocity) < kTinySpeed)
                velocity = offset * -0.01f;
            if (std::fabs(velocity) >= kTinySpeed)
                velocity = minimum * Sign(velocity);
            else
                velocity = offset = 0.0f;
        }
    }

    offset += velocity;
    Normalise();

    std::string name = GamePrefs::GetPlayerName();
    if (position >= 0)
    {
        while (name.size() <= size_t(position))
            name += 'A';
        name[size_t(position)] = kAlphabet[selected];
    }
    GamePrefs::SetPlayerName(name);
}

void NumberSelectionElement::Normalise()
{
    // A wild touch (or no height at all) must not hang the wrap below.
    if (!std::isfinite(offset) || !std::isfinite(velocity) || std::fabs(offset) > 1.0e6f)
    {
        offset = 0.0f;
        velocity = 0.0f;
    }
    // Whole characters at once; the same as stepping while outside +-0.5.
    int steps = 0;
    if (offset < -0.5f)
        steps = int(std::ceil(-0.5f - offset));
    else if (offset > 0.5f)
        steps = -int(std::ceil(offset - 0.5f));
    offset += float(steps);
    selected = ((selected + steps) % kAlphabetSize + kAlphabetSize) % kAlphabetSize;
}

void NumberSelectionElement::Draw(Vexel::Rectangle rect, float alpha)
{
    const float w = rect.width;
    const float h = rect.height;
    const Vector2 centre = rect.Center();

    TileInfo const* background = MenuTile(kBackgroundTile);
    if (batch && background)
        batch->AddTileSized(*background, centre, Vector2(w * 1.12f, h * 1.08f),
                            Color(0, 0, 0, 175).ScaleAlpha(alpha), 1);

    // The characters are drawn directly, over what was batched so far.
    if (flusher)
    {
        flusher->FlushFirstBatch();
        flusher->FlushSecondBatch();
    }

    Vexel::Graphics::Type::IFont* font = GetFont(h * 0.43f);
    if (!font)
        return;
    Vexel::Graphics::RenderState::SetBlendMode(1);

    for (int k = -3; k <= 3; ++k)
    {
        const float a = (float(k) + offset) * 0.68f;
        if (std::fabs(a) > kPi / 2.0f)
            continue;
        const std::string character(1, kAlphabet[(selected + k + kAlphabetSize) % kAlphabetSize]);
        const float cosine = std::cos(a);
        const float characterAlpha = alpha * cosine * (k == 0 ? 1.0f : 0.7f);
        const float s = k == 0 ? 1.0f : cosine * 0.25f + 0.6f;

        std::unique_ptr<Vexel::Graphics::Type::LinotypeBatch>& glyph = glyphs[k + 3];
        if (!glyph)
            glyph.reset(new Vexel::Graphics::Type::LinotypeBatch(1));
        glyph->Clear();
        const Vector2 size = font->MeasureText(character);
        font->LayoutText(*glyph, character, size * -0.5f + Vector2(0.0f, font->GetBase()),
                         UIPalette[3].ScaleAlpha(characterAlpha));
        Transform2D(centre + Vector2(0.0f, h * kRowSpread * std::sin(a)), Vector2(s, s * cosine)).Push();
        glyph->Draw();
        Transform2D::Pop();
    }
}
