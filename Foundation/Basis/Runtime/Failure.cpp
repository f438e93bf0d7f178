#include "Basis/Runtime/Failure.h"

#include "Basis/Runtime/ErrorManager.h"

#include <cstdarg>

// Outside the error manager's life (static initialisation before it, static exit after it)
// there is nowhere to record a failure; the caller's neutral result still tells of it.

void CT_Failure::sv_ReportSystemError(const char* qccz_File, unsigned n_Line)
{
    CT_ErrorManager* pco = CT_ErrorManager::spco_Get();
    if (!pco)
        return;
    if (!pco->b_IsSetError())
        pco->v_SetSystemError();
    pco->v_AddLocation(qccz_File, n_Line);
}

void CT_Failure::sv_ReportError(unsigned n_Code, HINSTANCE h_Instance, unsigned n_FormatID,
                                const char* qccz_File, unsigned n_Line, ...)
{
    CT_ErrorManager* pco = CT_ErrorManager::spco_Get();
    if (!pco)
        return;
    if (!pco->b_IsSetError())
    {
        va_list args;
        va_start(args, n_Line);
        pco->v_SetErrorVaList(n_Code, h_Instance, n_FormatID, args);
        va_end(args);
    }
    pco->v_AddLocation(qccz_File, n_Line);
}

void CT_Failure::sv_AddLocation(const char* qccz_File, unsigned n_Line)
{
    if (CT_ErrorManager* pco = CT_ErrorManager::spco_Get())
        pco->v_AddLocation(qccz_File, n_Line);
}
