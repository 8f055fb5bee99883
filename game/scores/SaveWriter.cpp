#include "game/scores/SaveWriter.h"

#include "engine/core/File.h"

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "saved files are written as little-endian");

bool SaveWriter::SaveBytes(std::string const& fileName, std::string const& bytes)
{
    return Vexel::IO::File::WriteAllBytes(fileName, bytes.data(), bytes.size());
}
