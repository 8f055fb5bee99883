// The reference tile table: 186 records filled from the generated rows at
// static initialisation, the tile set that hands them out, and the Startup
// handler that creates the 21 atlas textures.
#include "engine/graphics/ReferenceTiles.h"

#include "engine/core/AppEvents.h"
#include "engine/core/Delegate.h"
#include "engine/graphics/ReferenceTileRows.h"
#include "engine/graphics/Texture.h"

namespace Vexel
{
namespace Graphics
{

namespace
{

using Internal::ReferenceAtlasCount;
using Internal::ReferenceAtlasRows;
using Internal::ReferenceTileCount;
using Internal::ReferenceTileRows;

TileInfo table[ReferenceTileCount];

std::vector<Texture*>& Textures()
{
    static std::vector<Texture*> textures;
    return textures;
}

class ReferenceTiles : public virtual ITileSet
{
public:
    ReferenceTiles()
    {
        AppEvents::Startup().Subscribe(Action<>(this, &ReferenceTiles::LoadReferenceTextures));
    }

    ~ReferenceTiles() override
    {
        AppEvents::Startup().Unsubscribe(this);
        // The tiles keep their (now dangling) pointers: nothing draws after exit.
        for (Texture* t : Textures())
            delete t;
        Textures().clear();
    }

    TileInfo const* GetTile(uint32_t id) const override
    {
        // Ids come from saved games and level tables too: never index past the table.
        return id < ReferenceTileCount ? &table[id] : nullptr;
    }

    uint32_t GetTileCount() const override { return ReferenceTileCount; }

    void LoadReferenceTextures()
    {
        // Once only: a second Startup would leak a second set of handles.
        if (!Textures().empty())
            return;
        for (uint32_t i = 0; i < ReferenceAtlasCount; ++i)
            Textures().push_back(new Texture(ReferenceAtlasRows[i].fileName, TextureMode::UploadOnFrame));
        for (uint32_t i = 0; i < ReferenceTileCount; ++i)
            table[i].texture = Textures()[ReferenceTileRows[i].atlas];
    }
};

bool InitReferenceTileTable()
{
    for (uint32_t i = 0; i < ReferenceTileCount; ++i)
    {
        Internal::ReferenceTileRow const& r = ReferenceTileRows[i];
        table[i] = TileInfo(nullptr, r.id, Vector2(float(r.w), float(r.h)), Rectangle(r.u, r.v, r.uw, r.vh));
    }
    Textures();
    GetReferenceTiles();
    return true;
}

// Runs after `table` is constructed: same file, later definition.
const bool referenceTableReady = InitReferenceTileTable();

} // namespace

ITileSet& GetReferenceTiles()
{
    static ReferenceTiles tiles;
    return tiles;
}

std::vector<Texture*> const& GetReferenceTextures()
{
    return Textures();
}

namespace Tiles
{
TileInfo const* const Tile000 = &table[0];
TileInfo const* const Tile001 = &table[1];
TileInfo const* const Tile002 = &table[2];
TileInfo const* const Tile003 = &table[3];
TileInfo const* const Tile004 = &table[4];
TileInfo const* const Tile005 = &table[5];
TileInfo const* const Tile006 = &table[6];
TileInfo const* const Tile007 = &table[7];
TileInfo const* const Tile008 = &table[8];
TileInfo const* const Tile009 = &table[9];
TileInfo const* const Tile010 = &table[10];
TileInfo const* const Tile011 = &table[11];
TileInfo const* const Tile012 = &table[12];
TileInfo const* const Tile013 = &table[13];
TileInfo const* const Tile014 = &table[14];
TileInfo const* const Tile015 = &table[15];
TileInfo const* const Tile016 = &table[16];
TileInfo const* const Tile017 = &table[17];
TileInfo const* const Tile018 = &table[18];
TileInfo const* const Tile019 = &table[19];
TileInfo const* const Tile020 = &table[20];
TileInfo const* const Tile021 = &table[21];
TileInfo const* const Tile022 = &table[22];
TileInfo const* const Tile023 = &table[23];
TileInfo const* const Tile024 = &table[24];
TileInfo const* const Tile025 = &table[25];
TileInfo const* const Tile026 = &table[26];
TileInfo const* const Tile027 = &table[27];
TileInfo const* const Tile028 = &table[28];
TileInfo const* const Tile029 = &table[29];
TileInfo const* const Tile030 = &table[30];
TileInfo const* const Tile031 = &table[31];
TileInfo const* const Tile032 = &table[32];
TileInfo const* const Tile033 = &table[33];
TileInfo const* const Tile034 = &table[34];
TileInfo const* const Tile035 = &table[35];
TileInfo const* const Tile036 = &table[36];
TileInfo const* const Tile037 = &table[37];
TileInfo const* const Tile038 = &table[38];
TileInfo const* const Tile039 = &table[39];
TileInfo const* const Tile040 = &table[40];
TileInfo const* const Tile041 = &table[41];
TileInfo const* const Tile042 = &table[42];
TileInfo const* const Tile043 = &table[43];
TileInfo const* const Tile044 = &table[44];
TileInfo const* const Tile045 = &table[45];
TileInfo const* const Tile046 = &table[46];
TileInfo const* const Tile047 = &table[47];
TileInfo const* const Tile048 = &table[48];
TileInfo const* const Tile049 = &table[49];
TileInfo const* const Tile050 = &table[50];
TileInfo const* const Tile051 = &table[51];
TileInfo const* const Tile052 = &table[52];
TileInfo const* const Tile053 = &table[53];
TileInfo const* const Tile054 = &table[54];
TileInfo const* const Tile055 = &table[55];
TileInfo const* const Tile056 = &table[56];
TileInfo const* const Tile057 = &table[57];
TileInfo const* const Tile058 = &table[58];
TileInfo const* const Tile059 = &table[59];
TileInfo const* const Tile060 = &table[60];
TileInfo const* const Tile061 = &table[61];
TileInfo const* const Tile062 = &table[62];
TileInfo const* const Tile063 = &table[63];
TileInfo const* const Tile064 = &table[64];
TileInfo const* const Tile065 = &table[65];
TileInfo const* const Tile066 = &table[66];
TileInfo const* const Tile067 = &table[67];
TileInfo const* const Tile068 = &table[68];
TileInfo const* const Tile069 = &table[69];
TileInfo const* const Tile070 = &table[70];
TileInfo const* const Tile071 = &table[71];
TileInfo const* const Tile072 = &table[72];
TileInfo const* const Tile073 = &table[73];
TileInfo const* const Tile074 = &table[74];
TileInfo const* const Tile075 = &table[75];
TileInfo const* const Tile076 = &table[76];
TileInfo const* const Tile077 = &table[77];
TileInfo const* const Tile078 = &table[78];
TileInfo const* const Tile079 = &table[79];
TileInfo const* const Tile080 = &table[80];
TileInfo const* const Tile081 = &table[81];
TileInfo const* const Tile082 = &table[82];
TileInfo const* const Tile083 = &table[83];
TileInfo const* const Tile084 = &table[84];
TileInfo const* const Tile085 = &table[85];
TileInfo const* const Tile086 = &table[86];
TileInfo const* const Tile087 = &table[87];
TileInfo const* const Tile088 = &table[88];
TileInfo const* const Tile089 = &table[89];
TileInfo const* const Tile090 = &table[90];
TileInfo const* const Tile091 = &table[91];
TileInfo const* const Tile092 = &table[92];
TileInfo const* const Tile093 = &table[93];
TileInfo const* const Tile094 = &table[94];
TileInfo const* const Tile095 = &table[95];
TileInfo const* const Tile096 = &table[96];
TileInfo const* const Tile097 = &table[97];
TileInfo const* const Tile098 = &table[98];
TileInfo const* const Tile099 = &table[99];
TileInfo const* const Tile100 = &table[100];
TileInfo const* const Tile101 = &table[101];
TileInfo const* const Tile102 = &table[102];
TileInfo const* const Tile103 = &table[103];
TileInfo const* const Tile104 = &table[104];
TileInfo const* const Tile105 = &table[105];
TileInfo const* const Tile106 = &table[106];
TileInfo const* const Tile107 = &table[107];
TileInfo const* const Tile108 = &table[108];
TileInfo const* const Tile109 = &table[109];
TileInfo const* const Tile110 = &table[110];
TileInfo const* const Tile111 = &table[111];
TileInfo const* const Tile112 = &table[112];
TileInfo const* const Tile113 = &table[113];
TileInfo const* const Tile114 = &table[114];
TileInfo const* const Tile115 = &table[115];
TileInfo const* const Tile116 = &table[116];
TileInfo const* const Tile117 = &table[117];
TileInfo const* const Tile118 = &table[118];
TileInfo const* const Tile119 = &table[119];
TileInfo const* const Tile120 = &table[120];
TileInfo const* const Tile121 = &table[121];
TileInfo const* const Tile122 = &table[122];
TileInfo const* const Tile123 = &table[123];
TileInfo const* const Tile124 = &table[124];
TileInfo const* const Tile125 = &table[125];
TileInfo const* const Tile126 = &table[126];
TileInfo const* const Tile127 = &table[127];
TileInfo const* const Tile128 = &table[128];
TileInfo const* const Tile129 = &table[129];
TileInfo const* const Tile130 = &table[130];
TileInfo const* const Tile131 = &table[131];
TileInfo const* const Tile132 = &table[132];
TileInfo const* const Tile133 = &table[133];
TileInfo const* const Tile134 = &table[134];
TileInfo const* const Tile135 = &table[135];
TileInfo const* const Tile136 = &table[136];
TileInfo const* const Tile137 = &table[137];
TileInfo const* const Tile138 = &table[138];
TileInfo const* const Tile139 = &table[139];
TileInfo const* const Tile140 = &table[140];
TileInfo const* const Tile141 = &table[141];
TileInfo const* const Tile142 = &table[142];
TileInfo const* const Tile143 = &table[143];
TileInfo const* const Tile144 = &table[144];
TileInfo const* const Tile145 = &table[145];
TileInfo const* const Tile146 = &table[146];
TileInfo const* const Tile147 = &table[147];
TileInfo const* const Tile148 = &table[148];
TileInfo const* const Tile149 = &table[149];
TileInfo const* const Tile150 = &table[150];
TileInfo const* const Tile151 = &table[151];
TileInfo const* const Tile152 = &table[152];
TileInfo const* const Tile153 = &table[153];
TileInfo const* const Tile154 = &table[154];
TileInfo const* const Tile155 = &table[155];
TileInfo const* const Tile156 = &table[156];
TileInfo const* const Tile157 = &table[157];
TileInfo const* const Tile158 = &table[158];
TileInfo const* const Tile159 = &table[159];
TileInfo const* const Tile160 = &table[160];
TileInfo const* const Tile161 = &table[161];
TileInfo const* const Tile162 = &table[162];
TileInfo const* const Tile163 = &table[163];
TileInfo const* const Tile164 = &table[164];
TileInfo const* const Tile165 = &table[165];
TileInfo const* const Tile166 = &table[166];
TileInfo const* const Tile167 = &table[167];
TileInfo const* const Tile168 = &table[168];
TileInfo const* const Tile169 = &table[169];
TileInfo const* const Tile170 = &table[170];
TileInfo const* const Tile171 = &table[171];
TileInfo const* const Tile172 = &table[172];
TileInfo const* const Tile173 = &table[173];
TileInfo const* const Tile174 = &table[174];
TileInfo const* const Tile175 = &table[175];
TileInfo const* const Tile176 = &table[176];
TileInfo const* const Tile177 = &table[177];
TileInfo const* const Tile178 = &table[178];
TileInfo const* const Tile179 = &table[179];
TileInfo const* const Tile180 = &table[180];
TileInfo const* const Tile181 = &table[181];
TileInfo const* const Tile182 = &table[182];
TileInfo const* const Tile183 = &table[183];
TileInfo const* const Tile184 = &table[184];
TileInfo const* const Tile185 = &table[185];
} // namespace Tiles

} // namespace Graphics
} // namespace Vexel
