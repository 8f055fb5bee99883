#include "engine/core/File.h"

#include "engine/core/Log.h"
#include "engine/platform/PlatformLibrary.h"
#include "engine/platform/ReplacingFile.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <mutex>
#include <set>
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

// Targets whose failure has been said, and targets already cleared of
// leftovers, in this run.
struct FileRecords
{
    std::mutex mutex;
    std::set<std::string> failed;
    std::set<std::string> cleared;
};

FileRecords& Records()
{
    static FileRecords* records = new FileRecords(); // outlives saves made by static destructors
    return *records;
}

// A save that failed is said once per file and run: a full disk or a
// read-only folder would otherwise fill the log at every save point.
void ReportFailure(std::string const& target, std::string const& reason)
{
    FileRecords& records = Records();
    {
        std::lock_guard<std::mutex> lock(records.mutex);
        if (!records.failed.insert(target).second)
            return;
    }
    Vexel::Log::Error("file", "\"%s\" could not be saved (%s); the previous file is kept and the game goes on",
                      target.c_str(), reason.c_str());
}

void RemoveLeftoversOnce(std::string const& target)
{
    FileRecords& records = Records();
    {
        std::lock_guard<std::mutex> lock(records.mutex);
        if (!records.cleared.insert(target).second)
            return;
    }
    const int removed = Platform_RemoveLeftoverTemporaries(target.c_str());
    if (removed > 0)
        Vexel::Log::Info("file", "removed %d unfinished temporary file%s of \"%s\"", removed, removed == 1 ? "" : "s",
                         target.c_str());
}

// Where a write of the path goes, with the save directory made and the
// leftovers of earlier runs cleared; empty when there is nowhere to write.
std::string PrepareWrite(std::string const& path)
{
    if (!IsAbsolute(path) && Platform_EnsureSaveDirectory() != 0)
    {
        const std::string reason = std::string("the save folder cannot be made: ") + std::strerror(errno);
        const std::string target = ResolveForWrite(path);
        ReportFailure(target.empty() ? path : target, reason);
        return std::string();
    }
    const std::string target = ResolveForWrite(path);
    if (target.empty())
        ReportFailure(path, "no save folder");
    else
        RemoveLeftoversOnce(target);
    return target;
}

// Writes into a locked temporary of its own beside the target and, when
// deleted after a clean write, syncs it and renames it over the target
// (ReplacingFile.h). A failed write keeps the old file and removes the
// temporary.
class ReplacingFileStream : public std::ofstream
{
public:
    explicit ReplacingFileStream(std::string const& target) : target(target)
    {
        const int error = Platform_OpenTemporary(target.c_str(), &temporary);
        if (error != 0)
        {
            ReportFailure(target, std::strerror(error));
            return; // not open: OpenWrite gives up
        }
        open(temporary.path, std::ios::out | std::ios::binary | std::ios::trunc);
        if (!is_open())
        {
            ReportFailure(target, std::strerror(errno));
            Platform_DiscardTemporary(&temporary);
        }
    }

    ~ReplacingFileStream() override
    {
        if (temporary.descriptor < 0)
            return;
        if (is_open())
            close();
        if (fail())
        {
            Platform_DiscardTemporary(&temporary);
            ReportFailure(target, "a write failed");
            return;
        }
        const int error = Platform_CommitTemporary(&temporary, target.c_str());
        if (error != 0)
            ReportFailure(target, std::strerror(error));
    }

private:
    std::string target;
    Platform_Temporary temporary;
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
    const std::string target = PrepareWrite(path);
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

bool WriteAllBytes(std::string const& path, const void* bytes, size_t size)
{
    if (path.empty())
        return false;
    const std::string target = PrepareWrite(path);
    if (target.empty())
        return false;
    const int error = Platform_ReplaceFile(target.c_str(), bytes, size);
    if (error != 0)
        ReportFailure(target, std::strerror(error));
    return error == 0;
}

void RemoveLeftovers(std::string const& path)
{
    if (path.empty())
        return;
    const std::string target = ResolveForWrite(path);
    if (!target.empty())
        RemoveLeftoversOnce(target);
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
