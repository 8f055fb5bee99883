// The tile manifest: atlases in creation order and the 186 tiles with their
// pixel rectangles and painting recipes. Loading checks the layout rules the
// runtime relies on (every tile inside its atlas with a 1-px gutter, no two
// overlapping, ids 0..185 each once).
#pragma once

#include <string>
#include <vector>

namespace AssetGen
{

struct AtlasSpec
{
    std::string name; // file stem: the game asks for <name>.dat, reads <name>.png
    int width = 0;
    int height = 0;
    bool alpha = false; // straight colour with alpha; otherwise additive on black
};

struct TileSpec
{
    int id = -1;
    int atlas = -1; // index into Manifest::atlases
    int x = 0, y = 0, w = 0, h = 0;
    std::string recipe;
    std::vector<std::string> args;

    bool CoversAtlas(AtlasSpec const& a) const { return x == 0 && y == 0 && w == a.width && h == a.height; }
    // Argument i, or the fallback when absent.
    std::string Arg(size_t i, std::string const& fallback = std::string()) const;
    int IntArg(size_t i, int fallback = 0) const;
};

struct Manifest
{
    std::vector<AtlasSpec> atlases;
    std::vector<TileSpec> tiles; // sorted by id after loading

    static constexpr int TileCount = 186;
};

// Parses the text of a manifest; false with a message naming the line on error.
bool ParseManifest(std::string const& text, Manifest& out, std::string& error);
bool LoadManifest(std::string const& path, Manifest& out, std::string& error);
// Layout rules: ids, bounds, gutters, overlaps, whole-texture tiles alone.
bool ValidateManifest(Manifest const& m, std::string& error);

} // namespace AssetGen
