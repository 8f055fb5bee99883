// A plain value record of up to four values; unused positions are
// Internal::TupleNullType.
#pragma once

namespace Vexel
{
namespace Internal
{
struct TupleNullType
{
};
} // namespace Internal

template <class T1 = Internal::TupleNullType, class T2 = Internal::TupleNullType,
          class T3 = Internal::TupleNullType, class T4 = Internal::TupleNullType>
struct Tuple
{
    T1 item1{};
    T2 item2{};
    T3 item3{};
    T4 item4{};

    Tuple() = default;
    explicit Tuple(T1 const& a) : item1(a) {}
    Tuple(T1 const& a, T2 const& b) : item1(a), item2(b) {}
    Tuple(T1 const& a, T2 const& b, T3 const& c) : item1(a), item2(b), item3(c) {}
    Tuple(T1 const& a, T2 const& b, T3 const& c, T4 const& d) : item1(a), item2(b), item3(c), item4(d) {}
};

} // namespace Vexel
