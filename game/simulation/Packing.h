// Compact codes for the angles and ranged values that spawn records and the
// enemies' behaviour state keep in one byte or 16 bits, so that both can be
// saved raw. These are the only writers and readers of those fields.
//
// Every encoder truncates toward zero (it does not round) and masks to the
// field's width; all arithmetic is single precision so that the bytes are
// the same on every machine. A byte step is a 255th of a turn: bytes 0 and
// 255 decode to the same direction. Non-finite input encodes as 0.
#pragma once

#include <cstdint>

// Degrees to a byte: ((deg + 368640) x 255 + 0.5) / 360. The offset of 1024
// turns makes angles down to -1024 turns wrap like positive ones.
uint8_t PackDegrees(float degrees);
// Radians to a byte: ((rad + 6433.982) x 255 + 0.5) / 2 pi.
uint8_t PackRadians(float radians);
// b x 2 pi / 255.
float UnpackRadians(uint8_t packed);
// UnpackRadians, moved by whole turns to within half a turn of the reference.
float UnpackRadiansNear(uint8_t packed, float reference);

// Distances 40 to 1064 from the planet centre in steps of 1024 / 65535.
uint16_t PackRadius(float radius);
float UnpackRadius(uint16_t packed);

// v in [0, max] in 65535 steps.
uint16_t PackFraction(float value, float max);
float UnpackFraction(uint16_t packed, float max);

// v in [lo, hi] in 65535 steps.
uint16_t PackRange(float value, float lo, float hi);
float UnpackRange(uint16_t packed, float lo, float hi);
