// String resources of a module: LoadStringW and LoadStringA on Windows. Natively a module's
// strings come from compiled-in tables that the module registers for its handle; a null handle
// is the main module on both builds. A missing string and an empty one both load as nothing.
// Any thread may load; natively, registration is guarded too.
#pragma once

#include "Basis/Platform/Export.h"
#include "Basis/Platform/WinTypes.h"

// One entry of a native string table.
struct st_ResourceString
{
    unsigned n_ID;
    const char16_t* qcuz_Text;
};

class CT_EXPORT CT_PlatformResource
{
public:
    // The string cut to n_Size - 1 units and terminated (n_Size must be above 0; the buffer is
    // always terminated). Returns the units written, terminator excluded; 0 when the string is
    // missing.
    static unsigned sn_LoadWide(HINSTANCE h_Instance, unsigned n_ID, char16_t* pu_Buffer,
                                unsigned n_Size);
    // The same in the ANSI code page, cut to n_Size - 1 bytes.
    static unsigned sn_LoadMulti(HINSTANCE h_Instance, unsigned n_ID, char* pc_Buffer,
                                 unsigned n_Size);

#if !defined(_WIN32)
    // Adds a table of n_Count entries for a module; the table must outlive the module's use.
    // A module may register several tables; registering one table twice adds it once.
    static void sv_Register(HINSTANCE h_Module, const st_ResourceString* pcso_Table,
                            unsigned n_Count);
#endif
};
