#include "engine/core/Platform.h"

#include "engine/core/Log.h"
#include "engine/platform/PlatformLibrary.h"

#include <cstring>

namespace Vexel
{
namespace Platform
{

namespace
{
int screenWidth = 320;
int screenHeight = 480;
Vector2 screenDpi;
bool screenTimeoutEnabled = false;
bool tiltSensorPresent = true;
VibrateHook vibrateHook = nullptr;

void ReportToLog(const char* message) { Vexel::Log::Error("platform", "%s", message); }

// What the platform layer has to say (a damaged device identity, a bad
// setting) goes to the program's one log, from before main() on.
struct RouteReportsToLog
{
    RouteReportsToLog() { Platform_SetReportFunction(&ReportToLog); }
} routeReportsToLog;
} // namespace

int GetPlatformId() { return 2; }

uint256 GetDeviceId()
{
    static bool cached = false;
    static uint256 id;
    if (cached)
        return id;
    char text[66];
    std::memset(text, 0, sizeof(text));
    const PDL_Err result = PDL_GetUniqueID(text, sizeof(text));
    text[64] = '\0';
    text[65] = '\0';
    if (result == PDL_NOERROR)
    {
        cached = true;
        id = uint256::Parse(text);
    }
    return id;
}

void SetScreenMetrics(int width, int height, Vector2 dpi)
{
    screenWidth = width;
    screenHeight = height;
    screenDpi = dpi;
}

int GetScreenWidth() { return screenWidth; }
int GetScreenHeight() { return screenHeight; }
Vector2 GetScreenSize() { return Vector2(float(screenWidth), float(screenHeight)); }
Vector2 GetRotatedScreenSize() { return GetScreenSize().Transposed(); }
Vector2 GetScreenDpi() { return screenDpi; }

void SetScreenTimeoutEnabled(bool enabled)
{
    if (enabled == screenTimeoutEnabled)
        return;
    screenTimeoutEnabled = enabled;
    PDL_ScreenTimeoutEnable(enabled ? 1 : 0);
}

bool IsScreenTimeoutEnabled() { return screenTimeoutEnabled; }

void Vibrate()
{
    if (vibrateHook != nullptr)
        vibrateHook();
}

VibrateHook SetVibrateHook(VibrateHook hook)
{
    VibrateHook previous = vibrateHook;
    vibrateHook = hook;
    return previous;
}

bool IsOtherMusicPlaying() { return false; }

void SetTiltSensorPresent(bool present) { tiltSensorPresent = present; }

bool HasTiltSensor() { return tiltSensorPresent; }

std::string AppendExtension(std::string const& name, std::string const& extension)
{
    return name + "." + extension;
}

} // namespace Platform

void NotifyMusicPlaying(bool playing) { PDL_NotifyMusicPlaying(playing ? 1 : 0); }

} // namespace Vexel
