#include "game/frontend/MoreGames.h"

#include "engine/core/Log.h"
#include "engine/platform/PlatformLibrary.h"

#include <cstdlib>
#include <string>
#include <unistd.h>

const char* const kMoreGamesUrlVariable = "COBALT_KEEP_MORE_GAMES_URL";

namespace
{
const char* const kOpener = "xdg-open";

bool StartsWith(std::string const& text, const char* prefix)
{
    return text.compare(0, std::string(prefix).size(), prefix) == 0;
}

// An executable of that name in a folder of PATH.
bool IsOnPath(const char* program)
{
    const char* path = std::getenv("PATH");
    if (!path || !*path)
        return false;
    std::string folders(path);
    size_t start = 0;
    while (start <= folders.size())
    {
        size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        const std::string folder = end > start ? folders.substr(start, end - start) : std::string(".");
        if (access((folder + "/" + program).c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}
} // namespace

bool IsWebAddress(std::string const& text)
{
    size_t schemeLength = 0;
    if (StartsWith(text, "https://"))
        schemeLength = 8;
    else if (StartsWith(text, "http://"))
        schemeLength = 7;
    else
        return false;
    if (text.size() <= schemeLength || text.size() > 2048)
        return false;
    for (unsigned char c : text)
        if (c <= ' ' || c >= 127)
            return false;
    return true;
}

bool LaunchMoreGamesPage()
{
    const char* value = std::getenv(kMoreGamesUrlVariable);
    if (!value || !*value)
    {
        Vexel::Log::Info("frontend", "More Games!: no address to open (set %s)", kMoreGamesUrlVariable);
        return false;
    }
    const std::string address(value);
    if (!IsWebAddress(address))
    {
        Vexel::Log::Warning("frontend", "More Games!: %s is not an http:// or https:// address", kMoreGamesUrlVariable);
        return false;
    }
    if (!IsOnPath(kOpener))
    {
        Vexel::Log::Info("frontend", "More Games!: %s is not installed; the page is %s", kOpener, address.c_str());
        return false;
    }
    if (PDL_LaunchBrowser(address.c_str()) != PDL_NOERROR)
    {
        Vexel::Log::Warning("frontend", "More Games!: %s could not be started", kOpener);
        return false;
    }
    return true;
}
