// One spawn group of a wave: from this record's start, spawn `count` enemies
// of `kind`, one every `interval` ticks, at a random angle and distance
// inside the packed sector and radius range.
//
// The 16 bytes are written raw into the saved game, so the field layout is a
// file format (little-endian): radii at 0 and 2, angles at 4 and 5, delay at
// 6, speed 8, interval 9, count 10, kind 11, reserved 12, countdown 13 and
// start tick 14. ToBytes/FromBytes give that form on any host.
//
// Angles given to the constructors are degrees; radii are world units from
// the planet centre (packed with PackRadius, so 40..1064). A record whose
// count is 0 is spent. Kinds, counts and intervals are kept in one byte each;
// they are taken as int so that integer arguments pick the fixed-angle
// constructors and float radii the sector ones, never an ambiguous call.
#pragma once

#include <cstdint>

struct SpawnRecord
{
    static const int kBytes = 16;

    uint16_t radiusMin; // PackRadius
    uint16_t radiusMax; // PackRadius
    uint8_t angleStart; // PackDegrees; additions wrap modulo 256
    uint8_t angleWidth; // PackDegrees; 0 = one fixed angle
    uint16_t delay;     // ticks after the preceding record became active
    uint8_t speed;      // the spawned enemies' fixed-point speed
    uint8_t interval;   // ticks between two spawns (0 and 1 both mean every tick)
    uint8_t count;      // enemies still to spawn
    uint8_t kind;       // row of the enemy kinds table
    uint8_t reserved;   // always 0
    uint8_t countdown;  // ticks until the next spawn, kept by the wave state machine
    uint16_t startTick; // start inside the list, written by ExpandSpawnList

    // All zero.
    SpawnRecord();
    // One enemy at a fixed angle and distance.
    SpawnRecord(uint16_t delay, float angleDegrees, float radius, int kind);
    SpawnRecord(uint16_t delay, float angleDegrees, float radius, int kind, int count, int interval);
    // One enemy in the sector centre ± width/2 and the range [radiusMin, radiusMax).
    SpawnRecord(uint16_t delay, float centreDegrees, float widthDegrees, float radiusMin, float radiusMax,
                int kind);
    SpawnRecord(uint16_t delay, float centreDegrees, float widthDegrees, float radiusMin, float radiusMax,
                int kind, int count, int interval);

    void ToBytes(uint8_t out[kBytes]) const;
    static SpawnRecord FromBytes(const uint8_t in[kBytes]);
};
