// The preferences file "quellar_prefs.prf": the saved values and their
// version-19 layout, read from and written to bytes. GamePrefs owns the
// values; this is only their form on disk.
#pragma once

#include "engine/core/Vector3.h"

#include <cstdint>
#include <string>

struct PrefsRecord
{
    static const char* const FileName; // "quellar_prefs.prf"
    static const int32_t Version = 19;

    bool soundEnabled = true;
    float musicVolume = 1.0f;
    float effectsVolume = 1.0f;
    bool vibration = true;
    bool tiltControls = true;
    bool targetLocks = true;
    bool targetSweep = true;
    std::string playerName = "AAA";
    int32_t startingWave = 10;
    int32_t musicSet = 0;
    bool firstRunDone = false;
    Vector3 tiltReference = Vector3(0.0f, -1.0f, 0.0f);
    bool submitOnline = true;
};

struct PrefsReadResult
{
    enum Enum
    {
        Complete,     // every field was read
        OtherVersion, // nothing was read
        Damaged       // the fields before the damage were read, the rest kept
    };
};

// Reads the file's bytes into the record, field by field in file order. A
// field that cannot be read (the file ends, a name length below 0 or beyond
// the rest of the file) stops the read and keeps that field and the later
// ones as they were; volumes outside 0..1 are clamped and a tilt reference
// that is not finite keeps its old value. Every problem is reported once,
// naming the file.
PrefsReadResult::Enum ReadPrefsFile(const uint8_t* data, int size, PrefsRecord& record);

// The version-19 bytes of the record: 43 + the name's length up to its
// first NUL.
std::string WritePrefsFile(PrefsRecord const& record);
