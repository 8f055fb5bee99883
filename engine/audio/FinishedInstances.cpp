#include "engine/audio/FinishedInstances.h"

#include "engine/audio/SoundEffectInstance.h"
#include "engine/core/Mutex.h"

namespace Vexel
{
namespace Audio
{
namespace FinishedInstances
{

namespace
{
struct List
{
    Threading::Mutex mutex;
    SoundEffectInstance* first = nullptr;
    SoundEffectInstance* last = nullptr;
    int count = 0;
};

// Never destroyed: the mixer thread may still add during exit.
List& GetList()
{
    static List* list = new List();
    return *list;
}
} // namespace

void Add(SoundEffectInstance* instance)
{
    List& list = GetList();
    Threading::ScopedLock<Threading::Mutex> lock(list.mutex);
    if (instance->inFinishedList)
        return;
    instance->inFinishedList = true;
    instance->nextFinished = nullptr;
    if (list.last)
        list.last->nextFinished = instance;
    else
        list.first = instance;
    list.last = instance;
    ++list.count;
}

void Remove(SoundEffectInstance* instance)
{
    List& list = GetList();
    Threading::ScopedLock<Threading::Mutex> lock(list.mutex);
    if (!instance->inFinishedList)
        return;
    SoundEffectInstance* previous = nullptr;
    for (SoundEffectInstance* at = list.first; at; previous = at, at = at->nextFinished)
    {
        if (at != instance)
            continue;
        if (previous)
            previous->nextFinished = at->nextFinished;
        else
            list.first = at->nextFinished;
        if (list.last == at)
            list.last = previous;
        --list.count;
        break;
    }
    instance->inFinishedList = false;
    instance->nextFinished = nullptr;
}

SoundEffectInstance* TakeFirst()
{
    List& list = GetList();
    Threading::ScopedLock<Threading::Mutex> lock(list.mutex);
    SoundEffectInstance* instance = list.first;
    if (!instance)
        return nullptr;
    list.first = instance->nextFinished;
    if (!list.first)
        list.last = nullptr;
    --list.count;
    instance->inFinishedList = false;
    instance->nextFinished = nullptr;
    return instance;
}

int GetCount()
{
    List& list = GetList();
    Threading::ScopedLock<Threading::Mutex> lock(list.mutex);
    return list.count;
}

} // namespace FinishedInstances
} // namespace Audio
} // namespace Vexel
