// CT_AboutBox: the plug-in's About box, a modal dialog with the product line (formatted with
// the module's version), the legal notice and the two pictures. No state of its own.
#pragma once

#include <windows.h>

class CT_AboutBox
{
public:
    // Returns when the user closes the box (OK or Cancel).
    static void sv_Show(HWND h_Owner);

private:
    static INT_PTR CALLBACK si_DialogProc(HWND h_Dialog, UINT n_Message, WPARAM n_WParam,
                                          LPARAM n_LParam);
    static void sv_SetUp(HWND h_Dialog);
};
