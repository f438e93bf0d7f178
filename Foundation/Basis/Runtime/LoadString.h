// CT_LoadString: string resources of a module as 16-bit text or library strings, through the
// 8-bit or the 16-bit platform call as CT_OS says. A null instance is the process's main module.
// A missing resource gives the empty text. Natively a module's strings come from the table it
// registers with the platform seam.
//
// The string forms look at the target's kind: a CT_CString always takes the 8-bit path (8-bit
// formats; text in another code page than ANSI is converted into it), a CT_UString the
// platform's path (16-bit formats), and a string of any other kind is left unchanged.
#pragma once

#include "Basis/Platform/Export.h"
#include "Basis/Platform/WinTypes.h"

#include <cstdarg>

class CT_String;

class CT_EXPORT CT_LoadString
{
public:
    // At most n_Size units, terminator included; a buffer of size 0 is not touched.
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
