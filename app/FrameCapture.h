// Screenshots for tests: "frame:path.png" requests, several separated by
// commas, name the frames whose back buffer is saved as PNG just before the
// swap; the frame "splash" is the splash image. Reading GL's buffer yields
// the destination alpha, which the frame never writes: saved pixels are
// opaque.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace Vexel
{
namespace App
{

class FrameCapture
{
public:
    // The frame number of the splash.
    static constexpr int kSplashFrame = 0;

    // Replaces the requests. False, with the reason in *error, on a bad
    // request (then none are kept).
    bool Parse(std::string const& requests, std::string* error);
    bool IsEmpty() const { return requests.empty(); }
    // The paths asked for the frame (empty when none).
    std::vector<std::string> GetPaths(int frame) const;

    // Reads the current back buffer and writes it to each path asked for the
    // frame; reports a failed write on stderr. Returns the number written.
    int CaptureFrame(int frame, int width, int height) const;

    // Rows of glReadPixels (bottom row first, RGBA) turned top row first,
    // with alpha 255.
    static void ToImageRows(std::vector<uint8_t>& pixels, int width, int height);
    // Reads the back buffer (width x height from the origin) and saves it.
    static bool SaveBackBuffer(std::string const& path, int width, int height);

private:
    std::map<int, std::vector<std::string>> requests;
};

} // namespace App
} // namespace Vexel
