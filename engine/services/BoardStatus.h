// The statuses a leaderboard request ends with. The server sends 1 for
// success and its own codes for refusals; the client sets the rest. A status
// of 0 means the request is still pending.
#pragma once

namespace Vexel
{
namespace Services
{

struct BoardStatus
{
    enum Enum
    {
        Pending = 0,
        Success = 1,
        Cancelled = 2, // the task was cancelled or the exchange shut down
        Destroyed = 3, // the task was destroyed before its answer came
        DownloadFailed = 0xF101,
        BadBody = 0xF103, // empty, or could not be deciphered
        Refused = 0xF402, // the server wants this entry on the other board
        BadReply = 0xF801 // wrong magic, length past the body, bad rows, or a reserved status
    };
};

} // namespace Services
} // namespace Vexel
