#include "engine/core/Task.h"
#include "engine/core/ThreadPool.h"

#include "tests/support/Latch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

using TestSupport::Latch;
using Vexel::Action;
using Vexel::Func;
using Vexel::Threading::Task;
using Vexel::Threading::TaskFlag;
using Vexel::Threading::ThreadPool;

namespace
{
using IntTask = Task<int>;
using Lines = std::vector<std::string>;

const int InitialResult = 7;
const int WorkResult = 42;

struct Work
{
    std::atomic<int> calls{0};
    Latch* started = nullptr; // opened when the work begins
    Latch* proceed = nullptr; // awaited before the work returns

    int Produce()
    {
        calls++;
        if (started)
            started->CountDown();
        if (proceed)
            proceed->Wait();
        return WorkResult;
    }
};

// Subscribes to a task's three events and writes what happens, in order,
// into a journal that the test also marks between its own calls.
struct Owner
{
    std::mutex mutex;
    Lines journal;
    IntTask* task = nullptr;
    int releasesInCompleted = 0;
    int releasesInCancelled = 0;
    Latch* completedEntered = nullptr;
    Latch* completedMayReturn = nullptr;
    Latch disposed;

    void Watch(IntTask* watched)
    {
        task = watched;
        task->Completed.Subscribe(Action<IntTask*, int>(this, &Owner::OnCompleted));
        task->Cancelled.Subscribe(Action<IntTask*, int>(this, &Owner::OnCancelled));
        task->Disposed.Subscribe(Action<IntTask*, int>(this, &Owner::OnDisposed));
    }

    void Note(std::string const& line)
    {
        std::lock_guard<std::mutex> lock(mutex);
        journal.push_back(line);
    }

    Lines Journal()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return journal;
    }

    void OnCompleted(IntTask* sender, int result)
    {
        EXPECT_EQ(task, sender);
        EXPECT_TRUE(sender->ReadFlag(TaskFlag::InCallback));
        Note("completed:" + std::to_string(result));
        if (completedEntered)
            completedEntered->CountDown();
        if (completedMayReturn)
            completedMayReturn->Wait();
        ReleaseFromHandler(sender, releasesInCompleted);
    }

    void OnCancelled(IntTask* sender, int result)
    {
        EXPECT_EQ(task, sender);
        Note("cancelled:" + std::to_string(result));
        ReleaseFromHandler(sender, releasesInCancelled);
    }

    void OnDisposed(IntTask* sender, int result)
    {
        EXPECT_EQ(task, sender);
        Note("disposed:" + std::to_string(result));
        disposed.CountDown();
    }

private:
    void ReleaseFromHandler(IntTask* sender, int times)
    {
        for (int i = 0; i < times; i++)
            sender->Release();
        if (times > 0)
            Note("after-release");
    }
};

struct Operation
{
    enum Enum
    {
        Run,
        Cancel,
        Release
    };
};

struct StatePath
{
    const char* name;
    bool bound;
    std::vector<Operation::Enum> operations;
    int releasesInCompleted;
    int releasesInCancelled;
    int expectedWorkCalls;
    Lines expected;
};

// Each path ends with the task destroyed; "#..." lines mark the return of the
// test's own calls, so they show where Disposed happened.
const StatePath statePaths[] = {
    {"run then release",
     true,
     {Operation::Run, Operation::Release},
     0,
     0,
     1,
     {"completed:42", "#run", "disposed:42", "#release"}},
    {"release before run", true, {Operation::Release}, 0, 0, 0, {"cancelled:7", "disposed:7", "#release"}},
    {"release inside completed",
     true,
     {Operation::Run},
     1,
     0,
     1,
     {"completed:42", "after-release", "disposed:42", "#run"}},
    {"second release inside completed does nothing",
     true,
     {Operation::Run},
     2,
     0,
     1,
     {"completed:42", "after-release", "disposed:42", "#run"}},
    {"cancel then release later",
     true,
     {Operation::Cancel, Operation::Release},
     0,
     0,
     0,
     {"cancelled:7", "#cancel=1", "disposed:7", "#release"}},
    {"release inside cancelled",
     true,
     {Operation::Cancel},
     0,
     1,
     0,
     {"cancelled:7", "after-release", "disposed:7", "#cancel=1"}},
    {"cancel after run raises nothing",
     true,
     {Operation::Run, Operation::Cancel, Operation::Release},
     0,
     0,
     1,
     {"completed:42", "#run", "#cancel=0", "disposed:42", "#release"}},
    {"run after cancel does no work",
     true,
     {Operation::Cancel, Operation::Run, Operation::Release},
     0,
     0,
     0,
     {"cancelled:7", "#cancel=1", "#run", "disposed:7", "#release"}},
    {"second cancel claims nothing",
     true,
     {Operation::Cancel, Operation::Cancel, Operation::Release},
     0,
     0,
     0,
     {"cancelled:7", "#cancel=1", "#cancel=0", "disposed:7", "#release"}},
    {"unbound work keeps the initial result",
     false,
     {Operation::Run, Operation::Release},
     0,
     0,
     0,
     {"completed:7", "#run", "disposed:7", "#release"}},
};

class TaskStatePath : public ::testing::TestWithParam<StatePath>
{
};
} // namespace

TEST_P(TaskStatePath, RaisesTheRightEventsAndDeletesItselfOnce)
{
    const StatePath& path = GetParam();
    Work work;
    Owner owner;
    owner.releasesInCompleted = path.releasesInCompleted;
    owner.releasesInCancelled = path.releasesInCancelled;
    Func<int> job;
    if (path.bound)
        job.Bind(&work, &Work::Produce);
    IntTask* task = new IntTask(job, InitialResult, false);
    owner.Watch(task);

    for (Operation::Enum operation : path.operations)
    {
        ASSERT_FALSE(owner.disposed.IsOpen()) << "operation on a destroyed task";
        switch (operation)
        {
        case Operation::Run:
            task->Run();
            owner.Note("#run");
            break;
        case Operation::Cancel:
            owner.Note(task->Cancel() ? "#cancel=1" : "#cancel=0");
            break;
        case Operation::Release:
            task->Release();
            owner.Note("#release");
            break;
        }
    }
    EXPECT_EQ(path.expected, owner.Journal());
    EXPECT_EQ(path.expectedWorkCalls, work.calls.load());
}

INSTANTIATE_TEST_SUITE_P(Task, TaskStatePath, ::testing::ValuesIn(statePaths),
                         [](const ::testing::TestParamInfo<StatePath>& info)
                         {
                             std::string name = info.param.name;
                             for (char& c : name)
                             {
                                 if (!isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             }
                             return name;
                         });

TEST(Task, StartNowRunsInTheConstructor)
{
    Work work;
    Owner owner;
    IntTask* task = new IntTask(Func<int>(&work, &Work::Produce), InitialResult, true);
    EXPECT_EQ(1, work.calls.load());
    EXPECT_EQ(WorkResult, task->GetResult());
    EXPECT_TRUE(task->ReadFlag(TaskFlag::Done));
    EXPECT_TRUE(task->ReadFlag(TaskFlag::Finished));
    EXPECT_FALSE(task->ReadFlag(TaskFlag::InCallback));
    task->Wait(); // already open
    owner.Watch(task);
    task->Release();
    EXPECT_EQ((Lines{"disposed:42"}), owner.Journal());
}

TEST(Task, ExchangeFlagReportsWhetherTheValueChanged)
{
    IntTask* task = new IntTask(Func<int>(), InitialResult, false);
    EXPECT_FALSE(task->ReadFlag(TaskFlag::InCallback));
    EXPECT_TRUE(task->ExchangeFlag(TaskFlag::InCallback, true));
    EXPECT_FALSE(task->ExchangeFlag(TaskFlag::InCallback, true));
    EXPECT_TRUE(task->ReadFlag(TaskFlag::InCallback));
    EXPECT_TRUE(task->ExchangeFlag(TaskFlag::InCallback, false));
    EXPECT_FALSE(task->ExchangeFlag(TaskFlag::Done, false));
    EXPECT_FALSE(task->ReadFlag(TaskFlag::Released));
    task->Release();
}

TEST(Task, RunOnAPoolWorkerCompletesThereAndWaitOpens)
{
    ThreadPool pool(1);
    Work work;
    Owner owner;
    IntTask* task = new IntTask(Func<int>(&work, &Work::Produce), InitialResult, false);
    owner.Watch(task);
    pool.Queue(task->AsAction());
    task->Wait();
    EXPECT_EQ(WorkResult, task->GetResult());
    EXPECT_TRUE(task->ReadFlag(TaskFlag::Done));
    // The worker may still be inside Run; the deletion waits for it.
    task->Release();
    owner.disposed.Wait();
    EXPECT_EQ((Lines{"completed:42", "disposed:42"}), owner.Journal());
}

TEST(Task, WaitOpensWhenCancelled)
{
    Owner owner;
    IntTask* task = new IntTask(Func<int>(), InitialResult, false);
    owner.Watch(task);
    EXPECT_TRUE(task->Cancel());
    task->Wait();
    task->Release();
    EXPECT_EQ((Lines{"cancelled:7", "disposed:7"}), owner.Journal());
}

TEST(Task, ReleaseDuringTheWorkOnAWorkerCancelsAndDefersTheDeletion)
{
    ThreadPool pool(1);
    Latch started, proceed;
    Work work;
    work.started = &started;
    work.proceed = &proceed;
    Owner owner;
    IntTask* task = new IntTask(Func<int>(&work, &Work::Produce), InitialResult, false);
    owner.Watch(task);
    pool.Queue(task->AsAction());
    started.Wait();

    task->Release(); // must not delete the task under the running worker
    EXPECT_EQ((Lines{"cancelled:7"}), owner.Journal());
    EXPECT_FALSE(owner.disposed.IsOpen());

    proceed.CountDown();
    owner.disposed.Wait(); // the worker's Run deletes it
    // The late result is kept for Disposed, whose handler may own it.
    EXPECT_EQ((Lines{"cancelled:7", "disposed:42"}), owner.Journal());
    EXPECT_EQ(1, work.calls.load());
}

TEST(Task, ReleaseWhileCompletedRunsOnAWorkerDefersTheDeletion)
{
    ThreadPool pool(1);
    Latch entered, mayReturn;
    Work work;
    Owner owner;
    owner.completedEntered = &entered;
    owner.completedMayReturn = &mayReturn;
    IntTask* task = new IntTask(Func<int>(&work, &Work::Produce), InitialResult, false);
    owner.Watch(task);
    pool.Queue(task->AsAction());
    entered.Wait();

    task->Release(); // done already: nothing to cancel, deletion deferred
    EXPECT_FALSE(owner.disposed.IsOpen());
    mayReturn.CountDown();
    owner.disposed.Wait();
    EXPECT_EQ((Lines{"completed:42", "disposed:42"}), owner.Journal());
}

TEST(Task, ReleaseRacingWorkersRaisesOneOutcomeAndOneDisposalEach)
{
    ThreadPool pool(3);
    const int count = 200;
    std::vector<std::unique_ptr<Work>> works;
    std::vector<std::unique_ptr<Latch>> starts;
    std::vector<std::unique_ptr<Owner>> owners;
    for (int i = 0; i < count; i++)
    {
        works.emplace_back(new Work());
        starts.emplace_back(new Latch());
        owners.emplace_back(new Owner());
        works[i]->started = starts[i].get();
        IntTask* task = new IntTask(Func<int>(works[i].get(), &Work::Produce), InitialResult, false);
        owners[i]->Watch(task);
        pool.Queue(task->AsAction());
        // Released once it runs, at any point of its Run.
        starts[i]->Wait();
        task->Release();
    }
    for (int i = 0; i < count; i++)
    {
        owners[i]->disposed.Wait();
        Lines journal = owners[i]->Journal();
        ASSERT_EQ(2u, journal.size());
        EXPECT_TRUE(journal[0] == "completed:42" || journal[0] == "cancelled:7") << journal[0];
        EXPECT_EQ("disposed:42", journal[1]);
    }
}
