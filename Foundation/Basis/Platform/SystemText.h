// The operating system's side of error reporting: the calling thread's last error, the system's
// message for an error code, the message box and the thread's COM error object.
//
// On Windows: GetLastError/SetLastError, FormatMessageA or FormatMessageW, MessageBoxA or
// MessageBoxW (the 8-bit calls with the ANSI code page where the caller asks for them), and
// GetErrorInfo. Natively the last error is errno, the message is the C library's text for it,
// the message box writes its caption and text to standard error and answers IDOK, and there is
// never a COM error object. Any thread may call any member.
#pragma once

#include "Basis/Platform/Export.h"

class CT_EXPORT CT_PlatformSystemText
{
public:
    static unsigned sn_GetLastError();
    static void sv_SetLastError(unsigned n_Code);

    // The system's message for n_Code, cut to n_Size - 1 units and terminated (n_Size > 0),
    // read through the 8-bit call when b_8Bit is set. Inserts such as %1 are left as they are.
    // False, with the buffer emptied, when the system has no message for the code.
    static int sb_GetErrorText(unsigned n_Code, int b_8Bit, char16_t* pu_Out, unsigned n_Size);

    // A message box with no owner; returns the button that closed it.
    static int si_MessageBox(const char16_t* qcuz_Text, const char16_t* qcuz_Caption,
                             unsigned n_Type, int b_8Bit);

    // Takes the calling thread's COM error object, if it has one: its description is copied
    // (cut to n_Size - 1 units, empty when it has none) and the object released. False, with
    // the buffer emptied, when the thread has no error object.
    static int sb_TakeCOMError(char16_t* pu_Description, unsigned n_Size);
};
