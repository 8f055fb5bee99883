// The game's table of 186 texture tiles: the tile set interface, the one
// reference tile set, and one constant pointer per tile id. The records are
// filled during static initialisation; the 21 atlas textures are created when
// the application's Startup event fires (the GL context exists then).
#pragma once

#include "engine/graphics/TileInfo.h"

#include <cstdint>
#include <vector>

namespace Vexel
{
namespace Graphics
{

class Texture;

class ITileSet
{
public:
    virtual ~ITileSet() {}
    // The record of that id; null for an id of GetTileCount() or more.
    virtual TileInfo const* GetTile(uint32_t id) const = 0;
    virtual uint32_t GetTileCount() const = 0;
};

// The one tile set, made on first call and subscribed to the Startup event.
ITileSet& GetReferenceTiles();

// The atlas textures in creation order (empty before Startup).
std::vector<Texture*> const& GetReferenceTextures();

// One constant pointer per tile, in id order; valid from program start (the
// record behind it is filled during static initialisation).
namespace Tiles
{
extern TileInfo const* const Tile000;
extern TileInfo const* const Tile001;
extern TileInfo const* const Tile002;
extern TileInfo const* const Tile003;
extern TileInfo const* const Tile004;
extern TileInfo const* const Tile005;
extern TileInfo const* const Tile006;
extern TileInfo const* const Tile007;
extern TileInfo const* const Tile008;
extern TileInfo const* const Tile009;
extern TileInfo const* const Tile010;
extern TileInfo const* const Tile011;
extern TileInfo const* const Tile012;
extern TileInfo const* const Tile013;
extern TileInfo const* const Tile014;
extern TileInfo const* const Tile015;
extern TileInfo const* const Tile016;
extern TileInfo const* const Tile017;
extern TileInfo const* const Tile018;
extern TileInfo const* const Tile019;
extern TileInfo const* const Tile020;
extern TileInfo const* const Tile021;
extern TileInfo const* const Tile022;
extern TileInfo const* const Tile023;
extern TileInfo const* const Tile024;
extern TileInfo const* const Tile025;
extern TileInfo const* const Tile026;
extern TileInfo const* const Tile027;
extern TileInfo const* const Tile028;
extern TileInfo const* const Tile029;
extern TileInfo const* const Tile030;
extern TileInfo const* const Tile031;
extern TileInfo const* const Tile032;
extern TileInfo const* const Tile033;
extern TileInfo const* const Tile034;
extern TileInfo const* const Tile035;
extern TileInfo const* const Tile036;
extern TileInfo const* const Tile037;
extern TileInfo const* const Tile038;
extern TileInfo const* const Tile039;
extern TileInfo const* const Tile040;
extern TileInfo const* const Tile041;
extern TileInfo const* const Tile042;
extern TileInfo const* const Tile043;
extern TileInfo const* const Tile044;
extern TileInfo const* const Tile045;
extern TileInfo const* const Tile046;
extern TileInfo const* const Tile047;
extern TileInfo const* const Tile048;
extern TileInfo const* const Tile049;
extern TileInfo const* const Tile050;
extern TileInfo const* const Tile051;
extern TileInfo const* const Tile052;
extern TileInfo const* const Tile053;
extern TileInfo const* const Tile054;
extern TileInfo const* const Tile055;
extern TileInfo const* const Tile056;
extern TileInfo const* const Tile057;
extern TileInfo const* const Tile058;
extern TileInfo const* const Tile059;
extern TileInfo const* const Tile060;
extern TileInfo const* const Tile061;
extern TileInfo const* const Tile062;
extern TileInfo const* const Tile063;
extern TileInfo const* const Tile064;
extern TileInfo const* const Tile065;
extern TileInfo const* const Tile066;
extern TileInfo const* const Tile067;
extern TileInfo const* const Tile068;
extern TileInfo const* const Tile069;
extern TileInfo const* const Tile070;
extern TileInfo const* const Tile071;
extern TileInfo const* const Tile072;
extern TileInfo const* const Tile073;
extern TileInfo const* const Tile074;
extern TileInfo const* const Tile075;
extern TileInfo const* const Tile076;
extern TileInfo const* const Tile077;
extern TileInfo const* const Tile078;
extern TileInfo const* const Tile079;
extern TileInfo const* const Tile080;
extern TileInfo const* const Tile081;
extern TileInfo const* const Tile082;
extern TileInfo const* const Tile083;
extern TileInfo const* const Tile084;
extern TileInfo const* const Tile085;
extern TileInfo const* const Tile086;
extern TileInfo const* const Tile087;
extern TileInfo const* const Tile088;
extern TileInfo const* const Tile089;
extern TileInfo const* const Tile090;
extern TileInfo const* const Tile091;
extern TileInfo const* const Tile092;
extern TileInfo const* const Tile093;
extern TileInfo const* const Tile094;
extern TileInfo const* const Tile095;
extern TileInfo const* const Tile096;
extern TileInfo const* const Tile097;
extern TileInfo const* const Tile098;
extern TileInfo const* const Tile099;
extern TileInfo const* const Tile100;
extern TileInfo const* const Tile101;
extern TileInfo const* const Tile102;
extern TileInfo const* const Tile103;
extern TileInfo const* const Tile104;
extern TileInfo const* const Tile105;
extern TileInfo const* const Tile106;
extern TileInfo const* const Tile107;
extern TileInfo const* const Tile108;
extern TileInfo const* const Tile109;
extern TileInfo const* const Tile110;
extern TileInfo const* const Tile111;
extern TileInfo const* const Tile112;
extern TileInfo const* const Tile113;
extern TileInfo const* const Tile114;
extern TileInfo const* const Tile115;
extern TileInfo const* const Tile116;
extern TileInfo const* const Tile117;
extern TileInfo const* const Tile118;
extern TileInfo const* const Tile119;
extern TileInfo const* const Tile120;
extern TileInfo const* const Tile121;
extern TileInfo const* const Tile122;
extern TileInfo const* const Tile123;
extern TileInfo const* const Tile124;
extern TileInfo const* const Tile125;
extern TileInfo const* const Tile126;
extern TileInfo const* const Tile127;
extern TileInfo const* const Tile128;
extern TileInfo const* const Tile129;
extern TileInfo const* const Tile130;
extern TileInfo const* const Tile131;
extern TileInfo const* const Tile132;
extern TileInfo const* const Tile133;
extern TileInfo const* const Tile134;
extern TileInfo const* const Tile135;
extern TileInfo const* const Tile136;
extern TileInfo const* const Tile137;
extern TileInfo const* const Tile138;
extern TileInfo const* const Tile139;
extern TileInfo const* const Tile140;
extern TileInfo const* const Tile141;
extern TileInfo const* const Tile142;
extern TileInfo const* const Tile143;
extern TileInfo const* const Tile144;
extern TileInfo const* const Tile145;
extern TileInfo const* const Tile146;
extern TileInfo const* const Tile147;
extern TileInfo const* const Tile148;
extern TileInfo const* const Tile149;
extern TileInfo const* const Tile150;
extern TileInfo const* const Tile151;
extern TileInfo const* const Tile152;
extern TileInfo const* const Tile153;
extern TileInfo const* const Tile154;
extern TileInfo const* const Tile155;
extern TileInfo const* const Tile156;
extern TileInfo const* const Tile157;
extern TileInfo const* const Tile158;
extern TileInfo const* const Tile159;
extern TileInfo const* const Tile160;
extern TileInfo const* const Tile161;
extern TileInfo const* const Tile162;
extern TileInfo const* const Tile163;
extern TileInfo const* const Tile164;
extern TileInfo const* const Tile165;
extern TileInfo const* const Tile166;
extern TileInfo const* const Tile167;
extern TileInfo const* const Tile168;
extern TileInfo const* const Tile169;
extern TileInfo const* const Tile170;
extern TileInfo const* const Tile171;
extern TileInfo const* const Tile172;
extern TileInfo const* const Tile173;
extern TileInfo const* const Tile174;
extern TileInfo const* const Tile175;
extern TileInfo const* const Tile176;
extern TileInfo const* const Tile177;
extern TileInfo const* const Tile178;
extern TileInfo const* const Tile179;
extern TileInfo const* const Tile180;
extern TileInfo const* const Tile181;
extern TileInfo const* const Tile182;
extern TileInfo const* const Tile183;
extern TileInfo const* const Tile184;
extern TileInfo const* const Tile185;
} // namespace Tiles

} // namespace Graphics
} // namespace Vexel
