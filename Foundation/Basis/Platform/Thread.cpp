#include "Basis/Platform/Thread.h"

#if defined(_WIN32)
#include <windows.h>

namespace
{
using t_Lock = CRITICAL_SECTION;
}

unsigned CT_PlatformThread::sn_GetCurrentId()
{
    return GetCurrentThreadId();
}

CT_CriticalSection::CT_CriticalSection()
{
    InitializeCriticalSection(reinterpret_cast<t_Lock*>(ac_Storage));
}

CT_CriticalSection::~CT_CriticalSection()
{
    DeleteCriticalSection(reinterpret_cast<t_Lock*>(ac_Storage));
}

void CT_CriticalSection::v_Enter()
{
    EnterCriticalSection(reinterpret_cast<t_Lock*>(ac_Storage));
}

void CT_CriticalSection::v_Leave()
{
    LeaveCriticalSection(reinterpret_cast<t_Lock*>(ac_Storage));
}

#else
#include <pthread.h>
#include <unistd.h>

namespace
{
using t_Lock = pthread_mutex_t;
}

unsigned CT_PlatformThread::sn_GetCurrentId()
{
    // One system call per thread, not per query.
    static thread_local const unsigned tn_Id = static_cast<unsigned>(gettid());
    return tn_Id;
}

CT_CriticalSection::CT_CriticalSection()
{
    pthread_mutexattr_t so_Attributes;
    pthread_mutexattr_init(&so_Attributes);
    pthread_mutexattr_settype(&so_Attributes, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(reinterpret_cast<t_Lock*>(ac_Storage), &so_Attributes);
    pthread_mutexattr_destroy(&so_Attributes);
}

CT_CriticalSection::~CT_CriticalSection()
{
    pthread_mutex_destroy(reinterpret_cast<t_Lock*>(ac_Storage));
}

void CT_CriticalSection::v_Enter()
{
    pthread_mutex_lock(reinterpret_cast<t_Lock*>(ac_Storage));
}

void CT_CriticalSection::v_Leave()
{
    pthread_mutex_unlock(reinterpret_cast<t_Lock*>(ac_Storage));
}
#endif

static_assert(sizeof(t_Lock) <= sizeof(CT_CriticalSection) && alignof(t_Lock) <= 8,
              "the platform's lock must fit the storage reserved for it");
