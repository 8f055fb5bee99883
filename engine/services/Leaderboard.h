// The client of the online score server. A caller submits a record to a
// board or queries a board with a key; each request is bit-packed,
// enciphered with XXTEA under the MD5 of the server's base URL, sent as the
// base64 query of an HTTP GET by the one exchange thread (BoardExchange), and
// answered on the main thread, during the frame's Animating event, through
// the completed event of the returned task.
//
// Ownership: the caller owns the returned task and gives it up with
// Task::Release (or Task::Cancel, then Release). The rows of a response and
// the strings in them belong to the task and are freed when it is destroyed:
// a completed handler copies what it keeps. A task cancelled by its owner is
// never answered (its completed event does not fire); when the last
// Leaderboard goes away, requests still in flight are answered on the next
// frame with status 2 (BoardStatus::Cancelled).
//
// Unsubscribe from a task's events before cancelling or releasing it when
// the handlers must not see the cancellation.
#pragma once

#include "engine/core/MemoryBuffer.h"
#include "engine/core/Task.h"
#include "engine/services/BoardStatus.h"

#include <cstdint>
#include <string>

namespace Vexel
{
namespace Services
{

class Leaderboard
{
public:
    struct response_t
    {
        int32_t status;
        IO::MemoryBuffer* rows; // count x GetRecordSize(rowSchema) bytes; null when there are none

        response_t() : status(0), rows(nullptr) {}
        response_t(int32_t status, IO::MemoryBuffer* rows) : status(status), rows(rows) {}
    };
    using ResponseTask = Threading::Task<response_t>;

    // The game key is cut to 64 characters on the wire.
    explicit Leaderboard(std::string const& gameKey);
    virtual ~Leaderboard();
    Leaderboard(const Leaderboard&) = delete;
    Leaderboard& operator=(const Leaderboard&) = delete;

    // Operation 2: the values, encoded by the record schema, go to the board.
    // Pass values as the schema codec takes them: ints for the small integer
    // words, int64_t for the 64-bit ones, double for datetime and float, and
    // pointers to std::string and to the wide values.
    template <class... Values>
    ResponseTask* Submit(int32_t board, std::string const& schema, Values... values)
    {
        return SubmitValues(board, schema.c_str(), values...);
    }

    // Operation 1: the key values, encoded by keySchema, select rows of the
    // board; the rows of the answer are decoded by rowSchema.
    template <class... Values>
    ResponseTask* Query(int32_t board, std::string const& rowSchema, std::string const& keySchema,
                        Values... values)
    {
        return QueryValues(board, rowSchema.c_str(), keySchema.c_str(), values...);
    }

    // The C forms behind Submit and Query.
    ResponseTask* SubmitValues(int32_t board, const char* schema, ...);
    ResponseTask* QueryValues(int32_t board, const char* rowSchema, const char* keySchema, ...);

    std::string const& GetGameKey() const;

    // Rows of a response decoded with rowSchema: how many, and where record
    // i starts (null out of range). Read fields at RecordSchema offsets.
    static int GetRowCount(response_t const& response, std::string const& rowSchema);
    static const uint8_t* GetRow(response_t const& response, std::string const& rowSchema, int index);

    // The score server's base URL: "http://host:port/" (default
    // "http://127.0.0.1:12000/"). A malformed URL is reported once and leaves
    // the service offline: every request then ends with 0xF101 without
    // touching the network. Returns whether the URL was taken.
    static bool SetServerUrl(std::string const& baseUrl);
    static std::string GetServerUrl();
    static bool IsOnline();
    // The longest one request may wait on the network, connect and replies
    // together (10 s by default).
    static void SetTimeLimit(int milliseconds);

    class Impl;

private:
    Impl* impl;
};

} // namespace Services
} // namespace Vexel
