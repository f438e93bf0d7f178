// The library's printf-style formatter for 8-bit and 16-bit formats. It follows the Windows C
// runtime's conventions (%s is text of the format's own width, %hs 8-bit, %ls/%ws 16-bit, %S the
// other width; %p as upper-case hex without 0x; I64/I32/I length modifiers), so a text formats
// the same on every build. Numbers are produced without the C runtime and without the locale;
// text of the other width is converted with the ANSI code page (code page 0), as the string
// classes convert it. %n never writes. Stateless; any thread may call it.
#pragma once

#include "Basis/Platform/Export.h"

#include <cstdarg>

class CT_EXPORT CT_Formatter
{
public:
    // Formats into an area of n_Capacity units (terminator included). Output longer than
    // n_Capacity - 1 units is cut; the area is always zero-terminated when n_Capacity > 0.
    // Returns the number of units written, terminator excluded.
    static unsigned sn_Format(char* pc_Out, unsigned n_Capacity, const char* qccz_Format,
                              va_list args);
    static unsigned sn_Format(char16_t* pu_Out, unsigned n_Capacity, const char16_t* qcuz_Format,
                              va_list args);
};
