#include "game/frontend/elements/LeaderboardPageElement.h"

#include "engine/core/Delegate.h"
#include "engine/core/Log.h"
#include "engine/ui/UIHelper.h"
#include "game/frontend/elements/LeaderboardVerticalPage.h"
#include "game/frontend/elements/WaitingRotatorElement.h"
#include "game/widgets/UILinotypeElement.h"
#include "game/widgets/UIPalette.h"

#include <cmath>
#include <vector>

using HighScores::GlobalScoreState;
using Vexel::UI::Alignment;
using Vexel::UI::ElementLayout;
using Vexel::UI::ElementPosition;

namespace
{

const float kFlickDistance = 0.2f; // of the element's height or width
const float kRowEase = 0.86f;      // per frame
const float kColumnEase = 0.82f;   // per frame
const int kRowsPerPage = 10;

UILinotypeElement* BottomLine(const char* text, Color colour, IFlush* flusher, float scale)
{
    const std::vector<LinotypeLine> lines = {LinotypeLine(text, Vector2(0.0f, 0.0f), 100000.0f, colour)};
    return new UILinotypeElement(lines, ElementPosition(Vector2(0.0f, 0.0f), Alignment::Bottom), flusher,
                                 GetFont(40.0f * scale));
}

} // namespace

LeaderboardPageElement::LeaderboardPageElement(HighScores::ITopScore* table, IFlush* flusher,
                                               Vexel::Graphics::Sprites::ITransientBatch* batch, float scale)
    : ScaleElement(ElementLayout(ElementPosition(Vector2(0.0f, 0.0f), 0), Vector2(640.0f, 700.0f) * scale,
                                 Vector2(640.0f, 700.0f) * scale),
                   flusher, true, false),
      table(table), scale(scale), batch(batch), spinner(nullptr), flickText(nullptr), errorText(nullptr),
      armed(false), rowPage(0), rowOffset(0.0f), rowDrag(0.0f), column(0), columnOffset(0.0f),
      columnDrag(0.0f), pageWidth(640.0f * scale)
{
    const Vector2 spinnerSize(580.0f * scale, 580.0f * scale);
    spinner = new WaitingRotatorElement(
        ElementLayout(ElementPosition(Vector2(0.0f, 64.0f * scale), 0), spinnerSize, spinnerSize),
        Color(255, 255, 255, 160), batch, true);
    AddChild(spinner);
    spinner->SetVisible(false);

    if (table)
        table->StateChanged().Subscribe(Vexel::Action<HighScores::ITopScore*, GlobalScoreState::Enum>(
            this, &LeaderboardPageElement::OnStateChanged));

    pages[0].reset(new LeaderboardVerticalPage(scale, 0, flusher, table));
    pages[1].reset(new LeaderboardVerticalPage(scale, 1, flusher, table));

    flickText = BottomLine("Flick to see more...", UIPalette[8].ScaleAlpha(0.6f), flusher, scale);
    AddChild(flickText);
    errorText = BottomLine("Network error, try again later...", UIPalette[7], flusher, scale);
    AddChild(errorText);
    errorText->SetVisible(false);
    ShowState();
    TraceState();
}

// For the end-to-end tests: what the table is doing and how many rows it has.
void LeaderboardPageElement::TraceState() const
{
    if (table)
        Vexel::Log::Verbose("frontend", "leaderboard state %d, %d rows", int(table->GetState()),
                            table->GetGlobalCount());
}

LeaderboardPageElement::~LeaderboardPageElement()
{
    if (table)
        table->StateChanged().Unsubscribe(this);
}

int LeaderboardPageElement::GetPageCount() const
{
    const int count = table ? table->GetGlobalCount() : 0;
    return count > 0 ? (count + kRowsPerPage - 1) / kRowsPerPage : 0;
}

void LeaderboardPageElement::OnStateChanged(HighScores::ITopScore* changed, GlobalScoreState::Enum)
{
    if (changed != table)
        return;
    TraceState();
    // Rows are made again from the table's new contents when next drawn.
    pages[0]->Refresh();
    pages[1]->Refresh();
}

void LeaderboardPageElement::ShowState()
{
    const GlobalScoreState::Enum state = table ? table->GetState() : GlobalScoreState::Idle;
    const bool busy = state == GlobalScoreState::Fetching || state == GlobalScoreState::Submitting;
    const bool failed = state == GlobalScoreState::Failed;
    if (spinner->IsVisible() != busy)
        spinner->SetVisible(busy);
    if (errorText->IsVisible() != failed)
        errorText->SetVisible(failed);
    if (flickText->IsVisible() == failed)
        flickText->SetVisible(!failed);
}

void LeaderboardPageElement::Update(float)
{
    if (table)
        table->Update();
    ShowState();

    const bool pressed = IsPressed();
    if (!pressed)
        armed = true;
    else if (armed)
    {
        const Vector2 size = GetSize();
        const Vector2 moved = GetTouchPosition() - GetTouchDownPosition();
        rowDrag = size.y > 0.0f ? moved.y / size.y : 0.0f;
        columnDrag = size.x > 0.0f ? moved.x / size.x : 0.0f;

        if (std::fabs(rowDrag) > kFlickDistance)
        {
            // Up shows the next ten, down the previous ten; at either end the
            // drag stays live.
            if (rowDrag <= 0.0f && rowPage < GetPageCount() - 1)
            {
                ++rowPage;
                rowOffset = rowDrag + 1.0f;
                rowDrag = 0.0f;
                armed = false;
            }
            else if (rowDrag > 0.0f && rowPage > 0)
            {
                --rowPage;
                rowOffset = rowDrag - 1.0f;
                rowDrag = 0.0f;
                armed = false;
            }
        }
        if (std::fabs(columnDrag) > kFlickDistance && armed)
        {
            column = (column + 1) % 2;
            columnOffset = columnDrag <= 0.0f ? columnDrag + 1.0f : columnDrag - 1.0f;
            columnDrag = 0.0f;
            armed = false;
        }
    }
    if (!(pressed && armed))
    {
        // A released finger leaves its drag to the easing.
        rowOffset += rowDrag;
        columnOffset += columnDrag;
        rowDrag = 0.0f;
        columnDrag = 0.0f;
    }
    rowOffset *= kRowEase;
    columnOffset *= kColumnEase;
}

void LeaderboardPageElement::Draw(Vexel::Rectangle rect, float alpha)
{
    const float rowHeight = rect.height * 0.68f / float(kRowsPerPage);
    const Vector2 centre = rect.Center();

    float x[2];
    float fade[2];
    for (int i = 0; i < 2; ++i)
    {
        x[i] = columnOffset + columnDrag + float(column + i);
        while (x[i] > 1.0f)
            x[i] -= 2.0f;
        while (x[i] < -1.0f)
            x[i] += 2.0f;
        fade[i] = (1.0f - std::fabs(x[i]) - 0.2f) / 0.8f;
        // Rows are placed from the element's middle, titles included, so the
        // titles stay over their columns wherever the element stands.
        x[i] += (centre.x - pageWidth * 0.5f) / pageWidth;
        if (fade[i] > 0.0f)
            pages[i]->GetHeader().Draw(Vector2(x[i] * pageWidth, rect.Top() + 3.1f * rowHeight),
                                       alpha * fade[i]);
    }

    const int rows = GetPageCount() * kRowsPerPage;
    for (int r = 0; r < rows; ++r)
    {
        const float f = (rowDrag + rowOffset - float(rowPage)) * float(kRowsPerPage) + float(r);
        const float v = f < 0.0f ? f + 1.0f : f <= 9.0f ? 1.0f : 10.0f - f;
        if (!(v > 0.001f))
            continue;
        const float y = centre.y + (f + 1.65f - 4.5f) * rowHeight;
        for (int i = 0; i < 2; ++i)
        {
            // Rows of a set out of sight are not made.
            if (alpha * v * fade[i] > 0.001f)
                pages[i]->GetRow(r).Draw(Vector2(x[i] * pageWidth, y), alpha * v * fade[i]);
        }
    }

    for (int i = 0; i < 2; ++i)
    {
        pages[i]->GetLatest().Draw(Vector2(x[i] * pageWidth, rect.Top() + 0.5f * rowHeight),
                                   alpha * 0.82f * fade[i]);
        pages[i]->GetBest().Draw(Vector2(x[i] * pageWidth, rect.Top() + 1.5f * rowHeight),
                                 alpha * 0.82f * fade[i]);
    }
}
