#include "game/frontend/elements/TopScoresElement.h"

#include "engine/core/Delegate.h"
#include "engine/graphics/type/IFont.h"
#include "engine/ui/UIHelper.h"
#include "game/frontend/FrontEndTables.h"
#include "game/frontend/text/ScoreTexts.h"
#include "game/frontend/elements/WaitingRotatorElement.h"
#include "game/widgets/UILinotypeElement.h"
#include "game/widgets/UIPalette.h"
#include "game/widgets/UITextureButton.h"

#include <string>
#include <vector>

using HighScores::GlobalScoreState;
using Vexel::UI::Alignment;
using Vexel::UI::ElementLayout;
using Vexel::UI::ElementPosition;

namespace
{

const int kPanelTile = 68;
const float kWideWidth = 100000.0f; // lines that never wrap

// An anchor is an invisible "a" that pins the text block's extent, so that
// every rebuild centres its lines the same way.
const Color kAnchor(0, 0, 0, 1);

Color Mixed(Color base, Color other, float t)
{
    return Color(Color4f::Lerp(Color4f(base), Color4f(other), t));
}

HighScores::ScoreEntry const& NoEntry()
{
    static const HighScores::ScoreEntry entry;
    return entry;
}

} // namespace

TopScoresElement::TopScoresElement(IFlush* flusher, HighScores::ITopScore* table,
                                   Vexel::Graphics::Sprites::ITransientBatch* panelBatch, Vector2 size,
                                   float scale, Vexel::Graphics::Sprites::ITransientBatch* spinnerBatch,
                                   bool showLeader)
    : ScaleElement(ElementLayout(ElementPosition(Vector2(0.0f, 0.0f), Alignment::TopLeft), size, size),
                   flusher, false, false),
      showLeader(showLeader), content(nullptr), table(table), scale(scale), panelBatch(panelBatch),
      spinnerBatch(spinnerBatch), size(size), spinner(nullptr), errorText(nullptr), smallText(nullptr),
      largeText(nullptr)
{
    if (table)
        table->StateChanged().Subscribe(Vexel::Action<HighScores::ITopScore*, GlobalScoreState::Enum>(
            this, &TopScoresElement::OnStateChanged));

    const Vector2 spinnerSize(54.0f * scale, 54.0f * scale);
    spinner = new WaitingRotatorElement(
        ElementLayout(ElementPosition(Vector2(10.0f, 10.0f) * scale, Alignment::Bottom | Alignment::Right),
                      spinnerSize, spinnerSize),
        Color(255, 255, 255, 255), spinnerBatch, false);
    AddChild(spinner);
    spinner->SetVisible(false);

    const std::vector<LinotypeLine> error = {LinotypeLine(
        "Network error! Try again later.", Vector2(0.0f, 0.0f), kWideWidth, UIPalette[10].ScaleAlpha(0.8f))};
    errorText = new UILinotypeElement(error, ElementPosition(Vector2(0.0f, 0.0f), Alignment::CenterY),
                                      flusher, GetFont(24.0f * scale));
    // Right under the panel's bottom right corner.
    errorText->SetPosition(
        ElementPosition(Vector2(0.0f, errorText->GetSize().y), Alignment::Bottom | Alignment::Right));
    AddChild(errorText);

    Rebuild();
}

TopScoresElement::~TopScoresElement()
{
    if (table)
        table->StateChanged().Unsubscribe(this);
}

void TopScoresElement::Update(float)
{
    if (table)
        table->Update();
}

GlobalScoreState::Enum TopScoresElement::State() const
{
    return table ? table->GetState() : GlobalScoreState::Idle;
}

void TopScoresElement::OnStateChanged(HighScores::ITopScore* changed, GlobalScoreState::Enum)
{
    if (changed == table)
        Rebuild();
}

void TopScoresElement::Rebuild()
{
    if (content)
    {
        RemoveChild(content);
        delete content;
        content = nullptr;
    }
    content = new Vexel::UI::Element(ElementLayout(ElementPosition(Vector2(0.0f, 0.0f), 0), size, size),
                                     Vexel::UI::TouchMode::Ignore);
    AddChild(content);

    const Vector2 panelSize = size * Vector2(1.2f, 1.1f);
    content->AddChild(new UITextureButton(
        ElementLayout(ElementPosition(Vector2(0.0f, 0.0f), 0), panelSize, panelSize), MenuTile(kPanelTile),
        panelSize, 1, panelBatch, spinnerBatch, true, Color(0, 0, 0, 104), false));

    const Color base = TitleBarColors[2];
    const Color dim = Mixed(base, Color(0, 0, 0, 255), 0.1f);
    const Color bright = Mixed(base, Color(255, 255, 255, 255), 0.25f);
    const float width = size.x;

    Vexel::Graphics::Type::IFont* smallFont = GetFont(32.0f * scale);
    std::vector<LinotypeLine> small;
    std::vector<LinotypeLine> large;
    auto at = [this](float x, float y) { return Vector2(x, y) * size; };
    // The labels end near the right edge; a face wider than the one they
    // were placed for must not push them past it.
    auto labelAt = [&](const char* label, float x, float y)
    {
        const float width = smallFont ? smallFont->MeasureText(label).x : 0.0f;
        Vector2 p = at(x, y);
        if (p.x + width > size.x)
            p.x = size.x - width > 0.0f ? size.x - width : 0.0f;
        return p;
    };
    auto entryStep = [&](const char* label, HighScores::ScoreEntry const& entry, float y, float labelX)
    {
        const std::string score = FormatScoreText(entry.stats.score);
        float scoreX = 0.26f;
        if (score.size() < 10)
            scoreX = 0.44f - 0.018f * float(score.size());
        const std::string details = FormatGameDetails(entry.stats);
        float detailsX = 0.468f;
        if (entry.stats.lastWaveIndex > 0)
            detailsX = entry.stats.extraWaves > 0 ? 0.372f : 0.414f;

        small.push_back(LinotypeLine("a", at(0.0f, y + 0.04f), width, kAnchor));
        small.push_back(LinotypeLine("a", at(1.0f, y + 0.16f), width, kAnchor));
        large.push_back(LinotypeLine("a", at(0.0f, y), width, kAnchor));
        large.push_back(LinotypeLine("a", at(1.0f, y), width, kAnchor));
        large.push_back(LinotypeLine(entry.name, at(0.035f, y), width, bright));
        small.push_back(
            LinotypeLine(label, labelAt(label, labelX, y + 0.04f), width, bright.ScaleAlpha(0.7f)));
        small.push_back(LinotypeLine(score, at(scoreX, y + 0.04f), width, bright.ScaleAlpha(0.95f)));
        if (!details.empty())
            small.push_back(LinotypeLine(details, at(detailsX, y + 0.16f), width, dim));
    };

    const float rowStep = showLeader ? 0.333333f : 0.5f;
    entryStep("Your Latest!", table ? table->GetLatest() : NoEntry(), 0.0f, 0.752f);
    entryStep("Your Best!", table ? table->GetBest() : NoEntry(), rowStep, 0.787f);
    if (showLeader)
        entryStep("Global Leader!", table ? table->GetGlobalLeader() : NoEntry(), 2.0f * rowStep, 0.697f);

    smallText = new UILinotypeElement(small, ElementPosition(Vector2(0.0f, 0.0f), 0), flusher, smallFont);
    largeText = new UILinotypeElement(large, ElementPosition(Vector2(0.0f, 0.0f), 0), flusher,
                                      GetFont(68.0f * scale));
    content->AddChild(smallText);
    content->AddChild(largeText);

    const GlobalScoreState::Enum state = State();
    spinner->SetVisible(state == GlobalScoreState::Fetching || state == GlobalScoreState::Submitting);
    errorText->SetVisible(state == GlobalScoreState::Failed);
}
