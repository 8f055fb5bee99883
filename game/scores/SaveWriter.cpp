#include "game/scores/SaveWriter.h"

#include "engine/core/File.h"

#include <fstream>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "saved files are written as little-endian");

bool SaveWriter::SaveBytes(std::string const& fileName, std::string const& bytes)
{
    std::ofstream* stream = Vexel::IO::File::OpenWrite(fileName);
    if (stream == nullptr)
        return false;
    stream->write(bytes.data(), std::streamsize(bytes.size()));
    stream->close();
    const bool written = !stream->fail();
    delete stream; // renames the temporary over the file when the write went well
    return written;
}
