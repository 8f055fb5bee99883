// The score block of the level, stage and mode pages: a dark panel listing
// "Your Latest!", "Your Best!" and, where asked, "Global Leader!" of one
// score table, each with the three-letter name large, the score, and the
// waves and kills of that game. It rebuilds itself whenever the table's
// online state changes, spins a small spinner while the table talks to the
// score server, and says "Network error! Try again later." after a failed
// exchange. Main thread only.
#pragma once

#include "game/frontend/elements/ScaleElement.h"
#include "game/scores/HighScores.h"

class UILinotypeElement;
class WaitingRotatorElement;

namespace Vexel
{
namespace Graphics
{
namespace Sprites
{
class ITransientBatch;
}
} // namespace Graphics
} // namespace Vexel

class TopScoresElement : public ScaleElement
{
public:
    // At (0, 0), top-left aligned, of the given size. The table (may be
    // null: the block then shows empty entries), the batches and the
    // flusher are not owned; the table must outlive the element.
    TopScoresElement(IFlush* flusher, HighScores::ITopScore* table,
                     Vexel::Graphics::Sprites::ITransientBatch* panelBatch, Vector2 size, float scale,
                     Vexel::Graphics::Sprites::ITransientBatch* spinnerBatch, bool showLeader);
    ~TopScoresElement() override;

    // Polls the table, which keeps it in step with the score server while
    // it is shown.
    void Update(float dt) override;

    // The content of the last rebuild: the panel and the two text blocks
    // (small texts, then the large names).
    Vexel::UI::Element* GetContent() const { return content; }
    UILinotypeElement* GetSmallText() const { return smallText; }
    UILinotypeElement* GetLargeText() const { return largeText; }
    WaitingRotatorElement* GetSpinner() const { return spinner; }
    UILinotypeElement* GetErrorText() const { return errorText; }

private:
    void OnStateChanged(HighScores::ITopScore* changed, HighScores::GlobalScoreState::Enum state);
    void Rebuild();
    HighScores::GlobalScoreState::Enum State() const;

    bool showLeader;
    Vexel::UI::Element* content;
    HighScores::ITopScore* table;
    float scale;
    Vexel::Graphics::Sprites::ITransientBatch* panelBatch;
    Vexel::Graphics::Sprites::ITransientBatch* spinnerBatch;
    Vector2 size;
    WaitingRotatorElement* spinner;
    UILinotypeElement* errorText;
    UILinotypeElement* smallText;
    UILinotypeElement* largeText;
};
