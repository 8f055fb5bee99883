// The texture files of the reader tests, written by make_texture_files.py
// (Python's zlib and lzma, independent of our readers) into a fresh folder.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace TextureFiles
{

// The pixel formula shared with the script.
inline uint8_t Value(int x, int y, int c)
{
    return uint8_t((x * 40 + y * 90 + c * 60 + 7) % 256);
}

inline std::vector<uint8_t> Pixels(int width, int height, int channels)
{
    std::vector<uint8_t> out;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < channels; ++c)
                out.push_back(Value(x, y, c));
    return out;
}

// The folder holding the files; made once per process, empty on failure.
inline std::string const& Folder()
{
    static const std::string folder = []()
    {
        char pattern[] = "/tmp/vexel-texture-files-XXXXXX";
        if (!mkdtemp(pattern))
            return std::string();
        const std::string made(pattern);
        const std::string command = std::string(VEXEL_PYTHON) + " " + VEXEL_TEXTURE_FILE_SCRIPT + " " + made;
        if (std::system(command.c_str()) != 0)
            return std::string();
        return made;
    }();
    return folder;
}

inline std::string Path(std::string const& name)
{
    return Folder() + "/" + name;
}

inline std::vector<uint8_t> Read(std::string const& name)
{
    std::ifstream in(Path(name), std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace TextureFiles
