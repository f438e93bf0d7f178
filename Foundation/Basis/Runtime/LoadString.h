// CT_LoadString: string resources of a module as 16-bit text or library strings, through the
// 8-bit or the 16-bit platform call as CT_OS says. A null instance is the process's main module.
// A missing resource gives the empty text. Natively a module's strings come from the table it
// registers with the platform seam.
#pragma once

#include "Basis/Platform/Export.h"
#include "Basis/Platform/WinTypes.h"

#include <cstdarg>

class CT_String;

class CT_EXPORT CT_LoadString
{
public:
    // At most n_Size units, terminator included.
    static void sv_LoadString(char16_t* pu_Buffer, unsigned n_Size, HINSTANCE h_Instance,
                              unsigned n_ID);
    static void sv_LoadString(CT_String* pco_Out, HINSTANCE h_Instance, unsigned n_ID);
    // The resource as a printf-style format with the arguments.
    static void sv_LoadStringVA(char16_t* pu_Buffer, unsigned n_Size, HINSTANCE h_Instance,
                                unsigned n_ID, ...);
    static void sv_LoadStringVA(CT_String* pco_Out, HINSTANCE h_Instance, unsigned n_ID, ...);
    static void sv_LoadStringVaList(CT_String* pco_Out, HINSTANCE h_Instance, unsigned n_ID,
                                    va_list args);
};
