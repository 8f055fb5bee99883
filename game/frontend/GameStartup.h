// The game's start-up and shutdown hooks, called by main.
#pragma once

namespace Vexel
{
struct AppSettings;
}

class MainScreen;

// Before the platform starts: the game's settings (portrait, 8 effect voices,
// ".dat" textures read as ".png") and its save on every pause.
void ConfigureApplication(Vexel::AppSettings* settings);

// Once the UI manager runs: the preferences, the clear colour, the widget
// helper, and the main screen on layer 0.
void InitializeGame();

// After the loop, SDL_Quit included, before the Shutdown event: saves once
// more (preferences, then "state.sav"). Must not touch SDL, GL or the mixer.
void ShutdownGame();

// The game's one main screen; null until InitializeGame made it.
MainScreen* GetMainScreen();
