#include "game/frontend/elements/LeaderboardVerticalPage.h"

using Kind = LeaderboardSingleElement::Kind;

LeaderboardVerticalPage::LeaderboardVerticalPage(float scale, int columnSet, IFlush* flusher,
                                                 HighScores::ITopScore* table)
    : scale(scale), columnSet(columnSet), flusher(flusher), table(table),
      header(new LeaderboardSingleElement(columnSet, nullptr, Kind::Global, -1, scale, flusher)),
      best(new LeaderboardSingleElement(columnSet, table, Kind::Best, -1, scale, flusher)),
      latest(new LeaderboardSingleElement(columnSet, table, Kind::Latest, -1, scale, flusher))
{
}

LeaderboardVerticalPage::~LeaderboardVerticalPage()
{
    rows.clear();
}

LeaderboardSingleElement& LeaderboardVerticalPage::GetRow(int index)
{
    std::unique_ptr<LeaderboardSingleElement>& row = rows[index];
    if (!row)
        row.reset(new LeaderboardSingleElement(columnSet, table, Kind::Global, index, scale, flusher));
    return *row;
}

void LeaderboardVerticalPage::Refresh()
{
    rows.clear();
    // A submission or an own-scores answer may have changed these too.
    best.reset(new LeaderboardSingleElement(columnSet, table, Kind::Best, -1, scale, flusher));
    latest.reset(new LeaderboardSingleElement(columnSet, table, Kind::Latest, -1, scale, flusher));
}
