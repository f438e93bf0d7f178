// Hooks into the module's static initialisation and exit: a CT_Init runs its function when it is
// constructed, a CT_Exit when it is destroyed. Placed in the module's static initialiser list,
// they give a class's initialiser and exit function a fixed place in the load and unload order.
#pragma once

#include "Basis/Platform/Export.h"

class CT_EXPORT CT_Init
{
public:
    using pfn_Function = void (*)();

    explicit CT_Init(pfn_Function pfn_Init)
    {
        if (pfn_Init)
            pfn_Init();
    }
    // The names document the hook at its definition; they are not kept.
    CT_Init(const char* /*qccz_Class*/, const char* /*qccz_Function*/, pfn_Function pfn_Init)
        : CT_Init(pfn_Init)
    {
    }
};

class CT_EXPORT CT_Exit
{
public:
    using pfn_Function = void (*)();

    CT_Exit(const char* qccz_Class, const char* qccz_Function, pfn_Function pfn_Exit)
        : qccz_Class(qccz_Class), qccz_Function(qccz_Function), pfn_Exit(pfn_Exit)
    {
    }
    CT_Exit(const CT_Exit&) = default;
    CT_Exit& operator=(const CT_Exit&) = default;
    ~CT_Exit()
    {
        if (pfn_Exit)
            pfn_Exit();
    }

    const char* qccz_GetClass() const { return qccz_Class; }
    const char* qccz_GetFunction() const { return qccz_Function; }

private:
    const char* qccz_Class;
    const char* qccz_Function;
    pfn_Function pfn_Exit;
};
