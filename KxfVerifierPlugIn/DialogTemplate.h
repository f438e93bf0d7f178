// CT_DialogTemplate: what a dialog template resource of a module says about its dialog before
// the dialog exists. Reads both template forms (DIALOG and DIALOGEX); every field it follows is
// checked against the resource's size.
#pragma once

#include <windows.h>

class CT_DialogTemplate
{
public:
    // The size in pixels that the dialog manager gives the dialog: its size in dialog units
    // converted with the base units of the template's font (the system's dialog base units for
    // a template without a font). The point size 0x7FFF, which asks for the message-box font,
    // is not told apart.
    static HRESULT shr_GetSize(HINSTANCE h_Module, unsigned n_ID, SIZE* pso_Size);
};
