// The angle constants of the vector maths (angles are radians), each the
// float nearest to its value.
#pragma once

namespace Vexel
{

constexpr float kPi = 3.1415927f;
constexpr float kTwoPi = 6.2831855f;
constexpr float kHalfPi = 1.5707964f;

} // namespace Vexel
