// Test-side writer of ".type" files.
#include "tests/graphics/TypeFileBuilder.h"

#include <lodepng.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>

namespace TypeFileTesting
{

namespace
{

// Most significant bit first, no alignment.
class Bits
{
public:
    void Put(uint64_t value, int count)
    {
        for (int i = count - 1; i >= 0; --i)
        {
            if (position % 8 == 0)
                bytes.push_back(0);
            if ((value >> i) & 1u)
                bytes.back() |= uint8_t(0x80u >> (position % 8));
            ++position;
        }
    }
    void Align()
    {
        while (position % 8 != 0)
            Put(0, 1);
    }
    std::vector<uint8_t> bytes;
    uint64_t position = 0;
};

void WriteBody(Bits& out, FilePlan const& plan, uint32_t sizeField)
{
    out.Put(plan.magic, 32);
    out.Put(sizeField, 32);
    const int nameLength = plan.nameLengthField >= 0 ? plan.nameLengthField : int(plan.name.size());
    out.Put(uint32_t(nameLength), 5);
    for (char c : plan.name)
        out.Put(uint8_t(c) & 127u, 7);
    out.Align();
    out.Put(uint32_t(plan.size), 32);
    out.Put(uint32_t(plan.verticalOffset), 32);
    out.Put(uint32_t(plan.lineSpacing), 32);
    out.Put(uint32_t(plan.characterSpacing), 32);
    out.Put(uint32_t(plan.overrideGlyphCount ? plan.glyphCount : int32_t(plan.glyphs.size())), 32);
    for (GlyphPlan const& g : plan.glyphs)
    {
        out.Put(g.code, 16);
        out.Put(g.blank ? 1 : 0, 1);
        out.Put(uint32_t(!g.blank && g.firstAdvance >= 0 ? g.firstAdvance : g.advance), 15);
        if (!g.blank)
        {
            for (int value : {g.advance, g.x, g.y, g.u, g.v, g.w, g.h})
                out.Put(uint16_t(value), 16);
        }
    }
    out.Put(uint32_t(plan.overrideMapCount ? plan.mapCount : int32_t(plan.characterMap.size())), 32);
    for (auto const& entry : plan.characterMap)
    {
        out.Put(entry.first, 16);
        out.Put(entry.second, 16);
    }
    out.Put(uint32_t(plan.overrideKerningCount ? plan.kerningCount : int32_t(plan.kerning.size())), 32);
    for (auto const& entry : plan.kerning)
    {
        out.Put(entry.first, 32);
        out.Put(uint32_t(entry.second), 32);
    }
    out.Put(0xBEEF, 16); // reserved: ignored whatever it holds
    out.Put(uint32_t(plan.overrideTextureLength ? plan.textureLength : int32_t(plan.texture.size())), 32);
    for (uint8_t b : plan.gap)
        out.Put(b, 8);
    for (uint8_t b : plan.texture)
        out.Put(b, 8);
}

} // namespace

std::vector<uint8_t> MakePng(int width, int height)
{
    std::vector<uint8_t> rgba(size_t(width) * height * 4, 255);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            rgba[(size_t(y) * width + x) * 4 + 3] = uint8_t(x * 255 / (width > 1 ? width - 1 : 1));
    std::vector<uint8_t> png;
    lodepng::encode(png, rgba, unsigned(width), unsigned(height));
    return png;
}

std::vector<uint8_t> Build(FilePlan const& plan)
{
    Bits first;
    WriteBody(first, plan, 0);
    Bits final;
    WriteBody(final, plan, uint32_t(int64_t(first.bytes.size()) + plan.sizeFieldDelta));
    return final.bytes;
}

FilePlan StandardFace()
{
    FilePlan plan;
    // code, blank, advance, x, y, u, v, w, h
    plan.glyphs = {
        {65, false, 10, 1, 2, 0, 0, 8, 12}, {66, false, 12, 0, 2, 8, 0, 10, 12},
        {67, false, 8, 1, 4, 18, 0, 6, 10}, {68, false, 9, 0, 2, 24, 0, 8, 12},
        {69, false, 11, 1, 0, 0, 12, 9, 4}, {32, true, 5, 0, 0, 0, 0, 0, 0},
        {160, true, 5, 0, 0, 0, 0, 0, 0},
    };
    for (size_t i = 0; i < plan.glyphs.size(); ++i)
        plan.characterMap.push_back({plan.glyphs[i].code, uint16_t(i)});
    plan.kerning = {{(65u << 16) + 66u, -1}};
    plan.texture = MakePng(32, 16);
    return plan;
}

std::string MakeTempDirectory()
{
    const char* base = getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/vexel_type_XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const char* made = mkdtemp(buffer.data());
    return made ? std::string(made) : std::string();
}

bool WriteFile(std::string const& path, std::vector<uint8_t> const& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(file);
}

namespace
{

class ScratchDirectory
{
public:
    ~ScratchDirectory()
    {
        if (!path.empty())
        {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    }
    std::string const& Get()
    {
        if (path.empty())
            path = MakeTempDirectory();
        return path;
    }
    std::mutex mutex;
    int counter = 0;

private:
    std::string path;
};

ScratchDirectory scratch;

} // namespace

std::string WriteTempFile(std::string const& stem, std::vector<uint8_t> const& bytes)
{
    std::lock_guard<std::mutex> lock(scratch.mutex);
    std::string path = scratch.Get() + "/" + stem + "_" + std::to_string(++scratch.counter) + ".type";
    WriteFile(path, bytes);
    return path;
}

std::string ScratchDirectoryPath()
{
    std::lock_guard<std::mutex> lock(scratch.mutex);
    return scratch.Get();
}

} // namespace TypeFileTesting
