// Threads as the library's shared state needs them: the calling thread's identifier and a lock.
// On Windows these are GetCurrentThreadId and a CRITICAL_SECTION; natively the kernel's thread
// identifier and a recursive POSIX mutex, so that the lock can be taken again by its holder on
// both builds. Any thread may call any member.
#pragma once

#include "Basis/Platform/Export.h"

class CT_EXPORT CT_PlatformThread
{
public:
    // Unique among the threads alive in the process and never 0; a thread that has ended may
    // see its identifier given to a new one.
    static unsigned sn_GetCurrentId();
};

class CT_EXPORT CT_CriticalSection
{
public:
    CT_CriticalSection();
    ~CT_CriticalSection();
    CT_CriticalSection(const CT_CriticalSection&) = delete;
    CT_CriticalSection& operator=(const CT_CriticalSection&) = delete;

    void v_Enter();
    void v_Leave();

private:
    // The platform's lock object in place (24 bytes on i686 Windows, 40 on x86-64 Windows and
    // natively).
    alignas(8) unsigned char ac_Storage[40];
};

// Holds a critical section for the life of a scope.
class CT_CriticalSectionLock
{
public:
    explicit CT_CriticalSectionLock(CT_CriticalSection* pco_Section) : pco_Section(pco_Section)
    {
        pco_Section->v_Enter();
    }
    ~CT_CriticalSectionLock() { pco_Section->v_Leave(); }
    CT_CriticalSectionLock(const CT_CriticalSectionLock&) = delete;
    CT_CriticalSectionLock& operator=(const CT_CriticalSectionLock&) = delete;

private:
    CT_CriticalSection* pco_Section;
};
