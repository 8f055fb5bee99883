// One row of one column set of the leaderboard, laid out once as a text
// block: the column titles (no table), or an entry of a score table: the
// player's best, the latest game, or global entry n. Not an element: the
// leaderboard page draws it where the row is at the moment.
#pragma once

#include "engine/core/Vector2.h"
#include "game/scores/HighScores.h"

#include <memory>

class IFlush;
class UILinotypeElement;

class LeaderboardSingleElement
{
public:
    struct Kind
    {
        enum Enum
        {
            Global = 0, // global entry `index`
            Best = 1,   // shown as "Top"
            Latest = 2, // shown as "New"
        };
    };

    // columnSet 0: name, score, waves; 1: kills, time taken, date. Without a
    // table the row holds the column titles. The table is read now only.
    LeaderboardSingleElement(int columnSet, HighScores::ITopScore* table, int kind, int index, float scale,
                             IFlush* flusher);
    virtual ~LeaderboardSingleElement();

    // Centres the row's middle on position.x + half the page width, its
    // baseline near position.y; nothing below an alpha of 0.001.
    void Draw(Vector2 position, float alpha);

    UILinotypeElement const* GetText() const { return text.get(); }

private:
    std::unique_ptr<UILinotypeElement> text;
    float halfWidth;
    int columnSet;
    int kind;
};
