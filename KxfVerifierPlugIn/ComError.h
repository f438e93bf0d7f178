// CT_ComError: installs a COM error object for the calling thread, the way a failing COM method
// tells its caller what went wrong beyond the HRESULT (read back with GetErrorInfo).
#pragma once

#include <oaidl.h>

class CT_ComError
{
public:
    // Null texts are left unset; the help context is set only with a help file.
    static HRESULT shr_Set(REFGUID ro_Interface, const OLECHAR* qcwz_Source,
                           const OLECHAR* qcwz_Description, const OLECHAR* qcwz_HelpFile = nullptr,
                           DWORD n_HelpContext = 0);
};
