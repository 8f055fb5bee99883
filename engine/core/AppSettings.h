// The start-up settings record: defaults from static initialisation, filled
// by the game's configuration hook at the start of main, read-only after.
#pragma once

#include "engine/core/Color.h"

#include <string>
#include <unordered_map>

namespace Vexel
{

struct AppSettings
{
    int orientation = 1;       // initial UI orientation 0..3; 1 is upright portrait
    bool uiFlag = false;       // kept by the UI manager, otherwise unused
    Color clearColor = Color(0, 0, 0, 255);
    bool musicEnabled = true;
    bool soundEnabled = true;
    int audioSampleRate = 44100; // Hz
    int effectVoiceCount = 8;
    bool runWhileInactive = false; // keep input and frames going while inactive
    // Four-character file endings (dot included) and their replacements.
    std::unordered_map<std::string, std::string> extensionMap{100};

    // Replaces a mapped four-character ending; other names come back unchanged.
    std::string MapFileName(std::string const& name) const;
};

// The one record; never null.
AppSettings* GetAppSettings();

} // namespace Vexel
