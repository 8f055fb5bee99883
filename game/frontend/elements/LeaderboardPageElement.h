// The list of the "Leaderboard" page for one score table: the player's
// latest and best entries at the top, then the global list ten rows at a
// time. A flick up or down turns to the next or previous ten; a flick
// sideways swaps between the two column sets (name, score, waves / kills,
// time taken, date). A spinner turns while the table talks to the score
// server; under the list it says "Flick to see more...", or "Network error,
// try again later..." after a failed exchange. One touch flicks at most once
// each way: a new flick needs a frame without a touch. Main thread only.
#pragma once

#include "game/frontend/elements/ScaleElement.h"
#include "game/scores/HighScores.h"

#include <memory>

class LeaderboardVerticalPage;
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

class LeaderboardPageElement : public ScaleElement
{
public:
    // Centred, (640, 700) x scale. The table (may be null: an empty list),
    // the flusher and the batch (the spinner's) are not owned; the table
    // must outlive the element.
    LeaderboardPageElement(HighScores::ITopScore* table, IFlush* flusher,
                           Vexel::Graphics::Sprites::ITransientBatch* batch, float scale);
    ~LeaderboardPageElement() override;

    // Polls the table, shows its state, follows flicks and eases the list.
    void Update(float dt) override;
    void Draw(Vexel::Rectangle rect, float alpha) override;

    // Pages of ten global rows, the last one partial.
    int GetPageCount() const;
    int GetRowPage() const { return rowPage; }
    int GetColumn() const { return column; }
    float GetRowOffset() const { return rowOffset; }
    float GetColumnOffset() const { return columnOffset; }
    LeaderboardVerticalPage& GetPage(int columnSet) { return *pages[columnSet == 1 ? 1 : 0]; }
    WaitingRotatorElement* GetSpinner() const { return spinner; }
    UILinotypeElement* GetFlickText() const { return flickText; }
    UILinotypeElement* GetErrorText() const { return errorText; }

private:
    void OnStateChanged(HighScores::ITopScore* changed, HighScores::GlobalScoreState::Enum state);
    void ShowState();
    void TraceState() const;

    HighScores::ITopScore* table;
    float scale;
    Vexel::Graphics::Sprites::ITransientBatch* batch;
    WaitingRotatorElement* spinner;
    UILinotypeElement* flickText;
    UILinotypeElement* errorText;
    bool armed;
    int rowPage;
    float rowOffset;    // pages still to ease away
    float rowDrag;      // element heights
    int column;         // the column set in front
    float columnOffset; // page widths still to ease away
    float columnDrag;   // element widths
    std::unique_ptr<LeaderboardVerticalPage> pages[2];
    float pageWidth;
};
