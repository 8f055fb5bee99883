#include "game/frontend/TitleScreen.h"

#include "engine/core/Log.h"
#include "engine/graphics/type/IFont.h"
#include "engine/graphics/type/ITypeface.h"
#include "engine/graphics/type/LinotypeBatch.h"

#include <algorithm>
#include <cstdio>
#include <string>

using Vexel::Graphics::Type::IFont;
using Vexel::Graphics::Type::LinotypeBatch;

const char* const TitleScreen::kTitle = "Cobalt Keep";
const char* const TitleScreen::kFontFile = "SegoeUI_24pt.type";
const float TitleScreen::kTitleSize = 36.0f;

namespace
{
const int kTitleCapacity = 32; // quads
const int kTypeReady = Vexel::Graphics::Type::TypeState::Ready;
} // namespace

TitleScreen::TitleScreen()
    : Screen(Vexel::UI::TouchMode::Ignore), font(Vexel::Graphics::Type::CreateFont(kFontFile, kTitleSize)),
      text(new LinotypeBatch(kTitleCapacity))
{
    if (font->Load() != kTypeReady)
        Vexel::Log::Error("frontend", "the title font \"%s\" did not load", kFontFile);
}

TitleScreen::~TitleScreen()
{
    delete text;
    delete font;
}

Vector2 TitleScreen::GetTitleOrigin(Vexel::Rectangle const& rect) const
{
    // Centred: the text's box is its measured width by the font size, and
    // the baseline lies the vertical offset below the box's top.
    const Vector2 size = font->Measure(std::string(kTitle));
    return Vector2(rect.x + (rect.width - size.x) * 0.5f,
                   rect.y + (rect.height - size.y) * 0.5f + font->GetVerticalOffset());
}

void TitleScreen::Draw(Vexel::Rectangle rect, float alpha)
{
    if (font->Load() != kTypeReady)
        return;
    const uint8_t opacity = uint8_t(std::clamp(alpha, 0.0f, 1.0f) * 255.0f);
    text->Clear();
    font->Layout(*text, std::string(kTitle), GetTitleOrigin(rect), Color(255, 255, 255, opacity));
    text->Draw();
}
