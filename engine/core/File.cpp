#include "engine/core/File.h"

#include "engine/core/Log.h"
#include "engine/platform/PlatformLibrary.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace Vexel
{
namespace IO
{
namespace File
{

namespace
{
bool IsAbsolute(std::string const& path) { return !path.empty() && path[0] == '/'; }

std::string Join(const char* directory, std::string const& name)
{
    return std::string(directory) + "/" + name;
}

bool Exists(std::string const& path) { return access(path.c_str(), F_OK) == 0; }

// Writes into a temporary file of its own beside the target ("<target>.
// XXXXXX.tmp", unique per writer, so two saves of one file at once cannot
// tear each other) and, when deleted after a clean write, syncs it to disk and
// renames it over the target. A failed write keeps the old file and removes
// the temporary.
class ReplacingFileStream : public std::ofstream
{
public:
    explicit ReplacingFileStream(std::string const& target) : target(target)
    {
        std::string pattern = target + ".XXXXXX.tmp";
        const int descriptor = mkstemps(&pattern[0], 4);
        if (descriptor < 0)
            return; // not open: OpenWrite gives up
        temporary = pattern;
        open(temporary.c_str(), std::ios::out | std::ios::binary | std::ios::trunc);
        ::close(descriptor);
        if (!is_open())
        {
            std::remove(temporary.c_str());
            temporary.clear();
        }
    }

    ~ReplacingFileStream() override
    {
        if (temporary.empty())
            return;
        if (is_open())
            close();
        if (!fail() && SyncFile(temporary) && std::rename(temporary.c_str(), target.c_str()) == 0)
        {
            SyncDirectoryOf(target);
            return;
        }
        std::remove(temporary.c_str());
        Vexel::Log::Error("file", "writing %s failed; the previous file is kept", target.c_str());
    }

private:
    static bool SyncFile(std::string const& path)
    {
        const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (descriptor < 0)
            return false;
        const bool synced = fsync(descriptor) == 0;
        ::close(descriptor);
        return synced;
    }

    // Makes the rename itself durable; a directory that cannot be synced
    // still holds the complete new file.
    static void SyncDirectoryOf(std::string const& path)
    {
        const size_t slash = path.find_last_of('/');
        const std::string directory = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
        const int descriptor = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (descriptor < 0)
            return;
        fsync(descriptor);
        ::close(descriptor);
    }

    std::string target;
    std::string temporary; // empty when no temporary file was made
};
} // namespace

std::string ResolveForRead(std::string const& path)
{
    if (path.empty() || IsAbsolute(path))
        return path;
    char directory[PATH_MAX];
    if (Platform_GetSaveDirectory(directory, sizeof(directory)) >= 0)
    {
        const std::string saved = Join(directory, path);
        if (Exists(saved))
            return saved;
    }
    if (Platform_GetDataDirectory(directory, sizeof(directory)) >= 0)
        return Join(directory, path);
    return path;
}

std::string ResolveForWrite(std::string const& path)
{
    if (path.empty() || IsAbsolute(path))
        return path;
    char directory[PATH_MAX];
    if (Platform_GetSaveDirectory(directory, sizeof(directory)) < 0)
        return std::string();
    return Join(directory, path);
}

std::ifstream* OpenRead(std::string const& path, bool)
{
    if (path.empty())
        return nullptr;
    std::ifstream* stream = new std::ifstream(ResolveForRead(path).c_str(), std::ios::in | std::ios::binary);
    if (!stream->is_open())
    {
        delete stream;
        return nullptr;
    }
    return stream;
}

std::ofstream* OpenWrite(std::string const& path)
{
    if (path.empty())
        return nullptr;
    if (!IsAbsolute(path) && Platform_EnsureSaveDirectory() != 0)
    {
        Vexel::Log::Error("file", "cannot create the save directory for %s", path.c_str());
        return nullptr;
    }
    const std::string target = ResolveForWrite(path);
    if (target.empty())
        return nullptr;
    std::ofstream* stream = new ReplacingFileStream(target);
    if (!stream->is_open())
    {
        delete stream;
        return nullptr;
    }
    return stream;
}

uint8_t* ReadStreamToEnd(std::istream* stream, int* size)
{
    *size = -1;
    if (stream == nullptr || !*stream)
        return nullptr;
    std::ifstream* file = dynamic_cast<std::ifstream*>(stream);
    if (file != nullptr && !file->is_open())
        return nullptr;

    const std::streampos remembered = stream->tellg();
    stream->seekg(0, std::ios::end);
    const std::streamoff length = stream->tellg();
    stream->seekg(0, std::ios::beg);
    if (length < 0 || length > INT_MAX)
    {
        stream->clear();
        stream->seekg(remembered);
        return nullptr; // unseekable, or too large for an int size
    }
    *size = int(length);
    if (*size < 1)
        return nullptr;

    uint8_t* bytes = new uint8_t[*size];
    stream->read(reinterpret_cast<char*>(bytes), *size);
    if (stream->gcount() != *size)
    {
        delete[] bytes;
        *size = -1;
        stream->clear();
        stream->seekg(remembered);
        return nullptr;
    }
    stream->seekg(remembered);
    return bytes;
}

uint8_t* ReadAllBytes(std::string const& path, bool flag, int* size)
{
    *size = -1;
    std::ifstream* stream = OpenRead(path, flag);
    if (stream == nullptr)
        return nullptr;
    uint8_t* bytes = ReadStreamToEnd(stream, size);
    stream->close();
    delete stream;
    return bytes;
}

} // namespace File
} // namespace IO
} // namespace Vexel
