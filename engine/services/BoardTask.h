// One leaderboard request on its way: the schema of its result rows, its
// status and rows once answered, and the task it feeds. Shared between the
// exchange thread (Complete) and the main thread (the task's owner cancels
// or destroys the task; the dispatcher delivers it), so everything is under
// the BoardTask's own lock.
//
// Status: 0 while pending, 2 after the task was cancelled, 3 after the task
// was destroyed, else the reply's status. Once 2 or 3, it never changes.
#pragma once

#include "engine/services/Leaderboard.h"

#include <cstdint>
#include <string>

namespace Vexel
{
namespace Services
{

class BoardTask
{
public:
    using ResponseTask = Leaderboard::ResponseTask;

    // Creates the task (work: GetResponse; result: the default response).
    BoardTask(std::string const& resultSchema, uint64_t sequence);
    // Unsubscribes from the task when it still exists and frees the rows.
    ~BoardTask();
    BoardTask(const BoardTask&) = delete;
    BoardTask& operator=(const BoardTask&) = delete;

    // Null once the task was cancelled or destroyed.
    ResponseTask* GetTask();
    uint64_t GetSequence() const;
    std::string const& GetResultSchema() const;
    int32_t GetStatus();

    // Stores the answer unless the request was cancelled or its task
    // destroyed; the rows replace (and free) earlier ones, or are freed when
    // refused.
    void Complete(int32_t status, IO::MemoryBuffer* rows);

    // The task's work: status and rows, giving the rows away to the task.
    Leaderboard::response_t GetResponse();

    // Main thread: runs the task (raising its completed event) when it still
    // exists.
    void Deliver();

    class Impl;

private:
    Impl* impl;
};

} // namespace Services
} // namespace Vexel
