#include "entrycategories.h"

namespace {

constexpr CategoryEntry sub(int entry)
{
    return {qint16(entry), true};
}

constexpr CategoryEntry GroundTextures[] = {{0}, {1}, {2}, {3}, {4}, {5}, {6}, {7}, {8}};
constexpr CategoryEntry BanksAndCliffs[] = {{9}, {10}, sub(11), {50}, {85}, {86}, sub(87)};
constexpr CategoryEntry Roads[] = {{78}};
constexpr CategoryEntry Debris[] = {{49}, {79}, {80}, {81}, {82}, {83}, {84}, {92}};
constexpr CategoryEntry Trees[] = {{17},    sub(29), {20},    sub(32), {21},
                                   sub(33), {22},    sub(34), {23},    sub(35)};
constexpr CategoryEntry Rocks[] = {{12}, sub(24), {13}, sub(25), {15}, sub(27)};
constexpr CategoryEntry BarrelsAndJunk[] = {
    {14}, sub(26), {16}, sub(28), {18}, sub(30), {19}, sub(31),  {88},  sub(90),  {89},  sub(91),
    {93}, sub(95), {94}, sub(96), {97}, sub(99), {98}, sub(100), {103}, sub(105), {104}, sub(106)};
constexpr CategoryEntry Walls[] = {{36}, {37}, {38}, {39}};
constexpr CategoryEntry Doors[] = {{40}, sub(44), {41}, sub(45), {42}, sub(46), {43}, sub(47)};
constexpr CategoryEntry Roofs[] = {{64}, {65}, {66}, {67}, {68}, {69}, {70}, {71}};
constexpr CategoryEntry DamagedWalls[] = {{52}, {53}, {54}, {55}};
constexpr CategoryEntry Furniture[] = {{73}, {74}, {75}, {76}, {77}};
constexpr CategoryEntry WallDecals[] = {{56}, {57}, {58}, {59}, {113}, {114}, {115}, {116}, {119}};
constexpr CategoryEntry Floors[] = {{60}, {61}, {62}, {63}};
constexpr CategoryEntry GenericFurniture[] = {{107}, {108}, {109}, {110}};

constexpr auto rest()
{
    std::array<CategoryEntry, 9 + 31> entries{};
    constexpr qint16 first[] = {48, 51, 72, 101, 102, 111, 112, 117, 118};
    int i = 0;
    for (qint16 entry : first)
        entries[i++] = {entry};
    for (int entry = 120; entry <= 150; ++entry)
        entries[i++] = {qint16(entry)};
    return entries;
}
constexpr auto Rest = rest();

} // namespace

const std::array<EntryCategory, 16> EntryCategories = {{
    {u"Ground textures", GroundTextures},
    {u"Banks & cliffs", BanksAndCliffs},
    {u"Roads", Roads},
    {u"Debris", Debris},
    {u"Trees", Trees},
    {u"Rocks", Rocks},
    {u"Barrels & other junk", BarrelsAndJunk},
    {u"Walls", Walls},
    {u"Doors", Doors},
    {u"Roofs", Roofs},
    {u"Damaged walls", DamagedWalls},
    {u"Furniture", Furniture},
    {u"Wall decals", WallDecals},
    {u"Floors", Floors},
    {u"Generic furniture", GenericFurniture},
    {u"Rest", Rest},
}};
