#include "Basis/Runtime/LoadString.h"

#include "Basis/Platform/Resource.h"
#include "Basis/Runtime/OS.h"
#include "System/String/CString.h"
#include "System/String/Formatter.h"
#include "System/String/StringConvert.h"
#include "System/String/UString.h"

#include <algorithm>
#include <cstring>

namespace
{
// Room for a loaded or formatted text, terminator included.
constexpr unsigned sn_LocalSize = 2048;

// 8-bit text in the ANSI code page as 16-bit units, one unit per byte at most.
unsigned n_FromAnsi(char16_t* pu_Out, const char* pcc_In, unsigned n_Bytes)
{
    if (!n_Bytes)
        return 0;
    int i_Units = CT_StringConvert::si_MultiToWideANSI(pu_Out, pcc_In, static_cast<int>(n_Bytes));
    return static_cast<unsigned>(std::max(i_Units, 0));
}

// The resource as 16-bit text by the platform's path, cut to n_Size - 1 units and terminated.
// False when it is missing; the buffer is then empty.
bool b_LoadWide(char16_t* pu_Buffer, unsigned n_Size, HINSTANCE h_Instance, unsigned n_ID)
{
    if (CT_OS::seo_GetVersion() >= CT_OS::eo_WindowsNT)
        return CT_PlatformResource::sn_LoadWide(h_Instance, n_ID, pu_Buffer, n_Size) != 0;

    char ac_Text[sn_LocalSize];
    unsigned n_Bytes = CT_PlatformResource::sn_LoadMulti(h_Instance, n_ID, ac_Text, sn_LocalSize);
    char16_t au_Text[sn_LocalSize];
    unsigned n_Units = std::min(n_FromAnsi(au_Text, ac_Text, n_Bytes), n_Size - 1);
    std::memcpy(pu_Buffer, au_Text, n_Units * sizeof(char16_t));
    pu_Buffer[n_Units] = 0;
    return n_Bytes != 0;
}

void v_Empty(CT_String* pco_Out)
{
    pco_Out->v_Set(static_cast<const CT_String*>(nullptr));
}

// A CT_CString always loads the 8-bit text, which is in the ANSI code page: a string of
// another code page receives it converted, not relabelled. The formatting forms then use it as
// an 8-bit format, whose text arguments are in the string's code page as for v_Format.
void v_SetCString(CT_CString* pco_Out, HINSTANCE h_Instance, unsigned n_ID, va_list* pso_Args)
{
    char ac_Text[sn_LocalSize];
    unsigned n_Bytes = CT_PlatformResource::sn_LoadMulti(h_Instance, n_ID, ac_Text, sn_LocalSize);
    if (!n_Bytes)
        return v_Empty(pco_Out);
    if (pco_Out->n_GetCodePage() == 0)
        pco_Out->v_Set(ac_Text, n_Bytes, CT_String::sn_OwnCodePage);
    else
    {
        char16_t au_Text[sn_LocalSize];
        pco_Out->v_Set(au_Text, n_FromAnsi(au_Text, ac_Text, n_Bytes));
    }
    if (pso_Args)
    {
        CT_Formatter::sn_Format(ac_Text, sn_LocalSize, pco_Out->qccz_Get(), *pso_Args);
        pco_Out->v_Set(ac_Text, CT_String::sn_All, CT_String::sn_OwnCodePage);
    }
}

// A CT_UString loads the text by the platform's path; the formatting forms use it as a 16-bit
// format.
void v_SetUString(CT_String* pco_Out, HINSTANCE h_Instance, unsigned n_ID, va_list* pso_Args)
{
    char16_t au_Loaded[sn_LocalSize];
    if (!b_LoadWide(au_Loaded, sn_LocalSize, h_Instance, n_ID))
        return v_Empty(pco_Out);
    if (!pso_Args)
        return pco_Out->v_Set(au_Loaded, CT_String::sn_All);
    char16_t au_Formatted[sn_LocalSize];
    CT_Formatter::sn_Format(au_Formatted, sn_LocalSize, au_Loaded, *pso_Args);
    pco_Out->v_Set(au_Formatted, CT_String::sn_All);
}

// The target's kind picks the path; a string of neither kind is left as it is.
void v_SetTarget(CT_String* pco_Out, HINSTANCE h_Instance, unsigned n_ID, va_list* pso_Args)
{
    if (auto* pco_CString = static_cast<CT_CString*>(pco_Out->vpv_IsA(CT_CString::spcco_GetType())))
        v_SetCString(pco_CString, h_Instance, n_ID, pso_Args);
    else if (pco_Out->vpv_IsA(CT_UString::spcco_GetType()))
        v_SetUString(pco_Out, h_Instance, n_ID, pso_Args);
}
} // namespace

void CT_LoadString::sv_LoadString(char16_t* pu_Buffer, unsigned n_Size, HINSTANCE h_Instance,
                                  unsigned n_ID)
{
    if (n_Size)
        b_LoadWide(pu_Buffer, n_Size, h_Instance, n_ID);
}

void CT_LoadString::sv_LoadString(CT_String* pco_Out, HINSTANCE h_Instance, unsigned n_ID)
{
    v_SetTarget(pco_Out, h_Instance, n_ID, nullptr);
}

void CT_LoadString::sv_LoadStringVA(char16_t* pu_Buffer, unsigned n_Size, HINSTANCE h_Instance,
                                    unsigned n_ID, ...)
{
    if (!n_Size)
        return;
    char16_t au_Format[sn_LocalSize];
    if (!b_LoadWide(au_Format, sn_LocalSize, h_Instance, n_ID))
    {
        *pu_Buffer = 0;
        return;
    }
    va_list args;
    va_start(args, n_ID);
    CT_Formatter::sn_Format(pu_Buffer, n_Size, au_Format, args);
    va_end(args);
}

void CT_LoadString::sv_LoadStringVA(CT_String* pco_Out, HINSTANCE h_Instance, unsigned n_ID, ...)
{
    va_list args;
    va_start(args, n_ID);
    sv_LoadStringVaList(pco_Out, h_Instance, n_ID, args);
    va_end(args);
}

void CT_LoadString::sv_LoadStringVaList(CT_String* pco_Out, HINSTANCE h_Instance, unsigned n_ID,
                                        va_list args)
{
    va_list so_Args;
    va_copy(so_Args, args);
    v_SetTarget(pco_Out, h_Instance, n_ID, &so_Args);
    va_end(so_Args);
}
