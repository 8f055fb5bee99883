// The texts of the help pages ("Score Keeping" to "Spawner Bosses") and the
// strategy tips of the endless and Gauntlet pages. "\n" breaks a line; a
// blank line separates paragraphs.
#pragma once

// The text of help page 30..42; null for any other page.
const char* GetHelpText(int page);

// Strategy tips opened from the endless pages (8, 9) and from a Gauntlet
// stage (21); a level's own tip is its hint in the level catalogue.
extern const char* const kEndlessTip;
extern const char* const kGauntletTip;
