// Records this system's character-type answers (GetStringTypeW with CT_CTYPE1, CT_CTYPE2 and
// CT_CTYPE3) for every 16-bit unit. make-reference runs it under Wine; generate-tables makes the
// three class tables of the character properties from the record, and CharTablesTest checks the
// library against it.
//
// The record is text, one line per run of units with equal answers, numbers in hex:
//   FIRST[..LAST] CTYPE1 CTYPE2 CTYPE3
#include "../RecordFile.h"

#include <windows.h>

#include <cstdio>

namespace
{
struct st_Types
{
    WORD an_Class[3];

    bool operator==(const st_Types&) const = default;
};

st_Types so_Types(unsigned n_Unit)
{
    const wchar_t u = static_cast<wchar_t>(n_Unit);
    st_Types so{};
    const DWORD an_Classes[] = {CT_CTYPE1, CT_CTYPE2, CT_CTYPE3};
    for (int i = 0; i < 3; ++i)
        GetStringTypeW(an_Classes[i], &u, 1, &so.an_Class[i]);
    return so;
}

void v_WriteRun(FILE* pso_File, unsigned n_First, unsigned n_Last, const st_Types& so)
{
    if (n_First == n_Last)
        std::fprintf(pso_File, "%04X", n_First);
    else
        std::fprintf(pso_File, "%04X..%04X", n_First, n_Last);
    std::fprintf(pso_File, " %04X %04X %04X\n", so.an_Class[0], so.an_Class[1], so.an_Class[2]);
}
} // namespace

int main(int i_Args, char** ppc_Args)
{
    FILE* pso_File =
        pso_OpenRecord(i_Args, ppc_Args, "Character types", "unicode/CharTypeReference");
    if (!pso_File)
        return 2;
    unsigned n_First = 0;
    st_Types so_Run = so_Types(0);
    for (unsigned n_Unit = 1; n_Unit <= 0x10000; ++n_Unit)
    {
        st_Types so = n_Unit < 0x10000 ? so_Types(n_Unit) : st_Types{};
        if (n_Unit < 0x10000 && so == so_Run)
            continue;
        v_WriteRun(pso_File, n_First, n_Unit - 1, so_Run);
        n_First = n_Unit, so_Run = so;
    }
    return std::fclose(pso_File) == 0 ? 0 : 1;
}
