// "More Games!": opens the maker's web page in the desktop's browser. The
// address is configuration: COBALT_KEEP_MORE_GAMES_URL, an http:// or
// https:// address, handed to xdg-open as one argument (never through a
// shell) in a detached process. Without an address, or without xdg-open,
// one line says so and nothing opens.
#pragma once

#include <string>

// The variable that holds the address.
extern const char* const kMoreGamesUrlVariable; // "COBALT_KEEP_MORE_GAMES_URL"

// True when a browser was asked to open the page.
bool LaunchMoreGamesPage();

// Whether the text is an address we hand to a browser: http:// or https://
// followed by printable characters without spaces.
bool IsWebAddress(std::string const& text);
