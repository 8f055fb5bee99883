#include "engine/services/BoardTask.h"

#include "engine/core/Mutex.h"
#include "engine/services/BoardProtocol.h"

namespace Vexel
{
namespace Services
{

namespace
{
using ResponseTask = Leaderboard::ResponseTask;
using TaskAction = Action<ResponseTask*, Leaderboard::response_t>;

// Frees a task's rows, with their strings, when the task is destroyed: the
// rows belong to the task from the moment its work has run.
class RowsKeeper
{
public:
    explicit RowsKeeper(std::string const& schema) : schema(schema) {}

    void OnDisposed(ResponseTask*, Leaderboard::response_t response)
    {
        BoardProtocol::FreeRows(response.rows, schema);
        delete this;
    }

private:
    std::string schema;
};
} // namespace

class BoardTask::Impl
{
public:
    Impl(std::string const& schema, uint64_t sequence) : schema(schema), sequence(sequence) {}

    void OnTaskCancelled(ResponseTask*, Leaderboard::response_t) { Forget(BoardStatus::Cancelled); }
    void OnTaskDisposed(ResponseTask*, Leaderboard::response_t) { Forget(BoardStatus::Destroyed); }

    // The task is gone or finished for good: no answer will reach it.
    void Forget(int32_t newStatus)
    {
        ResponseTask* old;
        {
            Threading::ScopedLock<Threading::Mutex> lock(mutex);
            status = newStatus;
            old = task;
            task = nullptr;
        }
        // Handlers run on the thread that owns the task, as do these calls.
        if (old)
        {
            old->Cancelled.Unsubscribe(this);
            old->Disposed.Unsubscribe(this);
        }
    }

    std::string schema;
    uint64_t sequence;
    Threading::Mutex mutex;
    int32_t status = BoardStatus::Pending;
    IO::MemoryBuffer* rows = nullptr;
    ResponseTask* task = nullptr;
};

BoardTask::BoardTask(std::string const& resultSchema, uint64_t sequence)
    : impl(new Impl(resultSchema, sequence))
{
    ResponseTask* task = new ResponseTask(Func<Leaderboard::response_t>(this, &BoardTask::GetResponse),
                                          Leaderboard::response_t(), false);
    task->Cancelled.Subscribe(TaskAction(impl, &Impl::OnTaskCancelled));
    task->Disposed.Subscribe(TaskAction(impl, &Impl::OnTaskDisposed));
    RowsKeeper* keeper = new RowsKeeper(resultSchema);
    task->Disposed.Subscribe(TaskAction(keeper, &RowsKeeper::OnDisposed));
    impl->task = task;
}

BoardTask::~BoardTask()
{
    ResponseTask* task;
    {
        Threading::ScopedLock<Threading::Mutex> lock(impl->mutex);
        task = impl->task;
        impl->task = nullptr;
    }
    if (task)
    {
        task->Cancelled.Unsubscribe(impl);
        task->Disposed.Unsubscribe(impl);
    }
    BoardProtocol::FreeRows(impl->rows, impl->schema);
    delete impl;
}

BoardTask::ResponseTask* BoardTask::GetTask()
{
    Threading::ScopedLock<Threading::Mutex> lock(impl->mutex);
    return impl->task;
}

uint64_t BoardTask::GetSequence() const
{
    return impl->sequence;
}

std::string const& BoardTask::GetResultSchema() const
{
    return impl->schema;
}

int32_t BoardTask::GetStatus()
{
    Threading::ScopedLock<Threading::Mutex> lock(impl->mutex);
    return impl->status;
}

void BoardTask::Complete(int32_t status, IO::MemoryBuffer* rows)
{
    IO::MemoryBuffer* doomed = rows;
    {
        Threading::ScopedLock<Threading::Mutex> lock(impl->mutex);
        if (impl->status != BoardStatus::Cancelled && impl->status != BoardStatus::Destroyed)
        {
            impl->status = status;
            doomed = impl->rows;
            impl->rows = rows;
        }
    }
    BoardProtocol::FreeRows(doomed, impl->schema);
}

Leaderboard::response_t BoardTask::GetResponse()
{
    Threading::ScopedLock<Threading::Mutex> lock(impl->mutex);
    Leaderboard::response_t response(impl->status, impl->rows);
    impl->rows = nullptr;
    return response;
}

void BoardTask::Deliver()
{
    ResponseTask* task = GetTask();
    if (task)
        task->Run();
}

} // namespace Services
} // namespace Vexel
