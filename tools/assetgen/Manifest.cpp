#include "tools/assetgen/Manifest.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace AssetGen
{

std::string TileSpec::Arg(size_t i, std::string const& fallback) const
{
    return i < args.size() ? args[i] : fallback;
}

int TileSpec::IntArg(size_t i, int fallback) const
{
    if (i >= args.size())
        return fallback;
    char* end = nullptr;
    long v = std::strtol(args[i].c_str(), &end, 10);
    return (end && *end == '\0') ? int(v) : fallback;
}

namespace
{

bool ReadInt(std::istringstream& in, int& v, int lo, int hi)
{
    long long t;
    if (!(in >> t) || t < lo || t > hi)
        return false;
    v = int(t);
    return true;
}

} // namespace

bool ParseManifest(std::string const& text, Manifest& out, std::string& error)
{
    out = Manifest();
    std::istringstream lines(text);
    std::string line;
    int lineNo = 0;
    auto fail = [&](std::string const& what)
    {
        error = "line " + std::to_string(lineNo) + ": " + what;
        return false;
    };
    while (std::getline(lines, line))
    {
        ++lineNo;
        size_t hash = line.find('#');
        if (hash != std::string::npos)
            line.erase(hash);
        std::istringstream in(line);
        std::string kind;
        if (!(in >> kind))
            continue;
        if (kind == "atlas")
        {
            AtlasSpec a;
            std::string mode;
            if (!(in >> a.name) || !ReadInt(in, a.width, 1, 4096) || !ReadInt(in, a.height, 1, 4096) ||
                !(in >> mode))
                return fail("expected: atlas <name> <width> <height> <alpha|additive>");
            if (mode != "alpha" && mode != "additive")
                return fail("unknown atlas mode '" + mode + "'");
            a.alpha = mode == "alpha";
            for (auto const& other : out.atlases)
                if (other.name == a.name)
                    return fail("atlas '" + a.name + "' listed twice");
            out.atlases.push_back(a);
        }
        else if (kind == "tile")
        {
            TileSpec t;
            std::string atlas;
            if (!ReadInt(in, t.id, 0, Manifest::TileCount - 1) || !(in >> atlas) ||
                !ReadInt(in, t.x, 0, 4096) || !ReadInt(in, t.y, 0, 4096) || !ReadInt(in, t.w, 1, 4096) ||
                !ReadInt(in, t.h, 1, 4096) || !(in >> t.recipe))
                return fail("expected: tile <id 0..185> <atlas> <x> <y> <w> <h> <recipe> [args]");
            for (size_t i = 0; i < out.atlases.size(); ++i)
                if (out.atlases[i].name == atlas)
                    t.atlas = int(i);
            if (t.atlas < 0)
                return fail("tile " + std::to_string(t.id) + " names unknown atlas '" + atlas + "'");
            std::string arg;
            while (in >> arg)
                t.args.push_back(arg);
            out.tiles.push_back(t);
        }
        else
            return fail("unknown entry '" + kind + "'");
    }
    std::sort(out.tiles.begin(), out.tiles.end(),
              [](TileSpec const& a, TileSpec const& b) { return a.id < b.id; });
    return true;
}

bool LoadManifest(std::string const& path, Manifest& out, std::string& error)
{
    std::ifstream f(path, std::ios::binary);
    if (!f)
    {
        error = "cannot open " + path;
        return false;
    }
    std::stringstream ss;
    ss << f.rdbuf();
    return ParseManifest(ss.str(), out, error);
}

bool ValidateManifest(Manifest const& m, std::string& error)
{
    if (int(m.tiles.size()) != Manifest::TileCount)
    {
        error = "expected " + std::to_string(Manifest::TileCount) + " tiles, found " +
                std::to_string(m.tiles.size());
        return false;
    }
    for (int i = 0; i < Manifest::TileCount; ++i)
        if (m.tiles[size_t(i)].id != i)
        {
            error = "tile id " + std::to_string(i) + " is missing or listed twice";
            return false;
        }
    for (auto const& t : m.tiles)
    {
        AtlasSpec const& a = m.atlases[size_t(t.atlas)];
        std::string name = "tile " + std::to_string(t.id);
        if (t.CoversAtlas(a))
        {
            for (auto const& o : m.tiles)
                if (o.id != t.id && o.atlas == t.atlas)
                {
                    error =
                        name + " covers atlas " + a.name + " but tile " + std::to_string(o.id) + " shares it";
                    return false;
                }
            continue;
        }
        // Gutter of one pixel inside the atlas on every side.
        if (t.x < 1 || t.y < 1 || t.x + t.w > a.width - 1 || t.y + t.h > a.height - 1)
        {
            error = name + " leaves no 1-px gutter inside " + a.name;
            return false;
        }
        for (auto const& o : m.tiles)
        {
            if (o.id <= t.id || o.atlas != t.atlas)
                continue;
            // Gutters may not overlap either: rectangles grown by 1 stay apart.
            bool apart = t.x + t.w + 1 <= o.x - 1 || o.x + o.w + 1 <= t.x - 1 || t.y + t.h + 1 <= o.y - 1 ||
                         o.y + o.h + 1 <= t.y - 1;
            if (!apart)
            {
                error = name + " overlaps tile " + std::to_string(o.id) + " (with gutters) in " + a.name;
                return false;
            }
        }
    }
    return true;
}

} // namespace AssetGen
