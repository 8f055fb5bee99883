#include "game/simulation/SpawnRecord.h"

#include "game/simulation/Packing.h"

namespace
{

void PutU16(uint8_t* out, uint16_t value)
{
    out[0] = static_cast<uint8_t>(value & 0xFF);
    out[1] = static_cast<uint8_t>(value >> 8);
}

uint16_t GetU16(const uint8_t* in)
{
    return static_cast<uint16_t>(in[0] | (in[1] << 8));
}

} // namespace

SpawnRecord::SpawnRecord()
    : radiusMin(0), radiusMax(0), angleStart(0), angleWidth(0), delay(0), speed(0), interval(0), count(0),
      kind(0), reserved(0), countdown(0), startTick(0)
{
}

SpawnRecord::SpawnRecord(uint16_t delay, float angleDegrees, float radius, int kind)
    : SpawnRecord(delay, angleDegrees, radius, kind, 1, 0)
{
}

SpawnRecord::SpawnRecord(uint16_t delay, float angleDegrees, float radius, int kind, int count, int interval)
    : SpawnRecord()
{
    this->delay = delay;
    radiusMin = PackRadius(radius);
    radiusMax = radiusMin;
    angleStart = PackDegrees(angleDegrees);
    angleWidth = 0;
    this->kind = static_cast<uint8_t>(kind);
    this->count = static_cast<uint8_t>(count);
    this->interval = static_cast<uint8_t>(interval);
}

SpawnRecord::SpawnRecord(uint16_t delay, float centreDegrees, float widthDegrees, float radiusMin,
                         float radiusMax, int kind)
    : SpawnRecord(delay, centreDegrees, widthDegrees, radiusMin, radiusMax, kind, 1, 0)
{
}

SpawnRecord::SpawnRecord(uint16_t delay, float centreDegrees, float widthDegrees, float radiusMin,
                         float radiusMax, int kind, int count, int interval)
    : SpawnRecord()
{
    this->delay = delay;
    this->radiusMin = PackRadius(radiusMin);
    this->radiusMax = PackRadius(radiusMax);
    float half = widthDegrees / 2.0f;
    angleStart = PackDegrees(centreDegrees - half);
    angleWidth = PackDegrees(widthDegrees);
    this->kind = static_cast<uint8_t>(kind);
    this->count = static_cast<uint8_t>(count);
    this->interval = static_cast<uint8_t>(interval);
}

void SpawnRecord::ToBytes(uint8_t out[kBytes]) const
{
    PutU16(out + 0, radiusMin);
    PutU16(out + 2, radiusMax);
    out[4] = angleStart;
    out[5] = angleWidth;
    PutU16(out + 6, delay);
    out[8] = speed;
    out[9] = interval;
    out[10] = count;
    out[11] = kind;
    out[12] = reserved;
    out[13] = countdown;
    PutU16(out + 14, startTick);
}

SpawnRecord SpawnRecord::FromBytes(const uint8_t in[kBytes])
{
    SpawnRecord record;
    record.radiusMin = GetU16(in + 0);
    record.radiusMax = GetU16(in + 2);
    record.angleStart = in[4];
    record.angleWidth = in[5];
    record.delay = GetU16(in + 6);
    record.speed = in[8];
    record.interval = in[9];
    record.count = in[10];
    record.kind = in[11];
    record.reserved = in[12];
    record.countdown = in[13];
    record.startTick = GetU16(in + 14);
    return record;
}
