#include "app/FrameCapture.h"

#include "engine/core/Log.h"
#include "engine/graphics/GL.h"

#include <lodepng.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstddef>
#include <cstdlib>

namespace Vexel
{
namespace App
{

namespace GL = Graphics::GL;

bool FrameCapture::Parse(std::string const& text, std::string* error)
{
    requests.clear();
    std::map<int, std::vector<std::string>> parsed;
    // Every comma separates two requests, so an empty text or a stray comma
    // is an empty, bad request.
    size_t start = 0;
    for (bool more = true; more;)
    {
        const size_t comma = text.find(',', start);
        more = comma != std::string::npos;
        const std::string request = text.substr(start, more ? comma - start : std::string::npos);
        start = comma + 1;
        const size_t colon = request.find(':');
        const std::string frameText = colon == std::string::npos ? request : request.substr(0, colon);
        const std::string path = colon == std::string::npos ? std::string() : request.substr(colon + 1);
        int frame = 0;
        bool valid = !path.empty();
        if (valid && frameText == "splash")
        {
            frame = kSplashFrame;
        }
        else if (valid)
        {
            errno = 0;
            char* end = nullptr;
            const long number = std::strtol(frameText.c_str(), &end, 10);
            valid = !frameText.empty() && *end == '\0' && errno == 0 && number >= 1 && number <= INT_MAX;
            frame = int(number);
        }
        if (!valid)
        {
            if (error)
                *error = "\"" + request + "\" is not frame:path.png (frame 1 or more, or splash)";
            return false;
        }
        parsed[frame].push_back(path);
    }
    requests.swap(parsed);
    return true;
}

std::vector<std::string> FrameCapture::GetPaths(int frame) const
{
    auto found = requests.find(frame);
    return found == requests.end() ? std::vector<std::string>() : found->second;
}

int FrameCapture::CaptureFrame(int frame, int width, int height) const
{
    int written = 0;
    for (std::string const& path : GetPaths(frame))
        written += SaveBackBuffer(path, width, height) ? 1 : 0;
    return written;
}

void FrameCapture::ToImageRows(std::vector<uint8_t>& pixels, int width, int height)
{
    if (width < 1 || height < 1 || pixels.size() < size_t(width) * size_t(height) * 4)
        return;
    const size_t row = size_t(width) * 4;
    for (int y = 0; y < height / 2; ++y)
        std::swap_ranges(pixels.begin() + std::ptrdiff_t(row * size_t(y)),
                         pixels.begin() + std::ptrdiff_t(row * size_t(y + 1)),
                         pixels.begin() + std::ptrdiff_t(row * size_t(height - 1 - y)));
    for (size_t i = 3; i < row * size_t(height); i += 4)
        pixels[i] = 255;
}

bool FrameCapture::SaveBackBuffer(std::string const& path, int width, int height)
{
    if (width < 1 || height < 1)
        return false;
    std::vector<uint8_t> pixels(size_t(width) * size_t(height) * 4, 0);
    GL::PixelStorei(GL_PACK_ALIGNMENT, 1);
    GL::ReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    ToImageRows(pixels, width, height);
    const unsigned failure = lodepng::encode(path, pixels, unsigned(width), unsigned(height));
    if (failure != 0)
    {
        Vexel::Log::Error("shell", "could not save the frame to \"%s\": %s", path.c_str(),
                     lodepng_error_text(failure));
        return false;
    }
    return true;
}

} // namespace App
} // namespace Vexel
