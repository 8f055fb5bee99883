// libFuzzer target over the ".type" font reader: any bytes must parse to a
// state without reading outside them, and a file taken as ready must hold
// tables that the fonts can use safely.
#include "engine/graphics/type/ITypeface.h"
#include "engine/graphics/type/TypeFile.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > size_t(INT_MAX))
        return 0;
    // An exact-size copy, so every overread is caught.
    std::vector<uint8_t> bytes(data, data + size);
    Vexel::Graphics::Type::TypeFile file;
    const int state = file.Read(bytes.empty() ? nullptr : bytes.data(), int(bytes.size()));
    if (state != Vexel::Graphics::Type::TypeState::Ready)
        return 0;
    if (!(file.size > 0.0f) || file.textureLength <= 0 || file.textureOffset < 0 ||
        int64_t(file.textureOffset) + file.textureLength != int64_t(size))
        abort();
    for (auto const& entry : file.characterMap)
        if (entry.glyphIndex >= file.glyphs.size())
            abort();
    return 0;
}
