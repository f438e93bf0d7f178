#include "Basis/Platform/Resource.h"

#include <cassert>
#include <cstring>

#if defined(_WIN32)
#include <climits>

namespace
{
// Win32 counts in int; a buffer cannot usefully be larger.
int i_Size(unsigned n_Size)
{
    return n_Size < INT_MAX ? static_cast<int>(n_Size) : INT_MAX;
}

unsigned n_Loaded(int n, void* pv_Buffer, unsigned n_UnitSize)
{
    if (n > 0)
        return static_cast<unsigned>(n);
    std::memset(pv_Buffer, 0, n_UnitSize);
    return 0;
}
} // namespace

unsigned CT_PlatformResource::sn_LoadWide(HINSTANCE h_Instance, unsigned n_ID, char16_t* pu_Buffer,
                                          unsigned n_Size)
{
    // A size of 0 would make LoadStringW store a pointer to the resource instead.
    assert(n_Size > 0);
    return n_Loaded(
        LoadStringW(h_Instance, n_ID, reinterpret_cast<wchar_t*>(pu_Buffer), i_Size(n_Size)),
        pu_Buffer, sizeof(char16_t));
}

unsigned CT_PlatformResource::sn_LoadMulti(HINSTANCE h_Instance, unsigned n_ID, char* pc_Buffer,
                                           unsigned n_Size)
{
    assert(n_Size > 0);
    return n_Loaded(LoadStringA(h_Instance, n_ID, pc_Buffer, i_Size(n_Size)), pc_Buffer, 1);
}

#else
#include "Basis/Platform/Codepage.h"
#include "System/Charset/Codepage.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

namespace
{
struct st_Table
{
    HINSTANCE h_Module;
    const st_ResourceString* pcso_Table;
    unsigned n_Count;
};

std::mutex& co_TablesLock()
{
    static std::mutex co_Lock;
    return co_Lock;
}

// Built on first use, so that modules may register from their own static initialisers.
std::vector<st_Table>& aco_Tables()
{
    static std::vector<st_Table> aco;
    return aco;
}

// The registered text of a string; empty when it is missing.
const char16_t* qcuz_Find(HINSTANCE h_Module, unsigned n_ID)
{
    std::lock_guard<std::mutex> co_Guard(co_TablesLock());
    for (const st_Table& so_Table : aco_Tables())
    {
        if (so_Table.h_Module != h_Module)
            continue;
        const st_ResourceString* pcso_End = so_Table.pcso_Table + so_Table.n_Count;
        const st_ResourceString* pcso =
            std::find_if(so_Table.pcso_Table, pcso_End,
                         [n_ID](const st_ResourceString& so) { return so.n_ID == n_ID; });
        if (pcso != pcso_End && pcso->qcuz_Text)
            return pcso->qcuz_Text;
    }
    return u"";
}

unsigned n_Cut(const void* pcv_Text, unsigned n_Length, unsigned n_UnitSize, void* pv_Buffer,
               unsigned n_Size)
{
    n_Length = std::min(n_Length, n_Size - 1);
    std::memcpy(pv_Buffer, pcv_Text, n_Length * n_UnitSize);
    std::memset(static_cast<char*>(pv_Buffer) + n_Length * n_UnitSize, 0, n_UnitSize);
    return n_Length;
}
} // namespace

void CT_PlatformResource::sv_Register(HINSTANCE h_Module, const st_ResourceString* pcso_Table,
                                      unsigned n_Count)
{
    std::lock_guard<std::mutex> co_Guard(co_TablesLock());
    std::vector<st_Table>& aco = aco_Tables();
    bool b_Known = std::any_of(aco.begin(), aco.end(),
                               [&](const st_Table& so)
                               { return so.h_Module == h_Module && so.pcso_Table == pcso_Table; });
    if (!b_Known)
        aco.push_back({h_Module, pcso_Table, n_Count});
}

unsigned CT_PlatformResource::sn_LoadWide(HINSTANCE h_Instance, unsigned n_ID, char16_t* pu_Buffer,
                                          unsigned n_Size)
{
    assert(n_Size > 0);
    const char16_t* qcuz_Text = qcuz_Find(h_Instance, n_ID);
    return n_Cut(qcuz_Text, std::char_traits<char16_t>::length(qcuz_Text), sizeof(char16_t),
                 pu_Buffer, n_Size);
}

unsigned CT_PlatformResource::sn_LoadMulti(HINSTANCE h_Instance, unsigned n_ID, char* pc_Buffer,
                                           unsigned n_Size)
{
    assert(n_Size > 0);
    const char16_t* qcuz_Text = qcuz_Find(h_Instance, n_ID);
    // As LoadStringA: the whole string in the ANSI code page, then cut to the buffer. The
    // count includes the terminator.
    int n_Bytes = CT_PlatformCodepage::si_WideToMulti(CT_Codepage::sn_ANSI, qcuz_Text, -1, nullptr,
                                                      0, nullptr, nullptr);
    std::string co_Text(static_cast<std::size_t>(std::max(n_Bytes, 1)), '\0');
    CT_PlatformCodepage::si_WideToMulti(CT_Codepage::sn_ANSI, qcuz_Text, -1, co_Text.data(),
                                        n_Bytes, nullptr, nullptr);
    return n_Cut(co_Text.data(), static_cast<unsigned>(std::strlen(co_Text.c_str())), 1, pc_Buffer,
                 n_Size);
}
#endif
