// CT_RegistryScript: registers and unregisters what a registry script says. A script is text in
// the familiar form of component registration scripts:
//
//   HKCR
//   {
//       Some.ProgID = s 'Display name'
//       {
//           CLSID = s '%CLSID%'
//       }
//       NoRemove CLSID
//       {
//           ForceRemove %CLSID% = s 'Display name'
//           {
//               InprocServer32 = s '%MODULE%'
//               {
//                   val ThreadingModel = s 'Apartment'
//               }
//           }
//       }
//   }
//
// A root (HKCR, HKCU, HKLM, HKU or their long names) holds keys; a key has an optional default
// value after '=', and a block of subkeys and named values ("val Name = ..."). Values are
// s 'text' (REG_SZ) or d number (REG_DWORD, decimal or 0x hexadecimal). Names are words or
// quoted text (a key named val must be quoted); in quoted text '' stands for one quote. %NAME% is
// replaced by a symbol's value
// (%% by one percent sign) after the text is read, so a value never changes the script's form.
//
// Registering creates every key and sets every value; ForceRemove first deletes the key's
// whole tree. Unregistering deletes each key with its whole tree, except NoRemove keys, whose
// named values are deleted and whose subkeys are visited. A script that does not parse, or
// names an unknown symbol, changes nothing.
#pragma once

#include <windows.h>

struct st_ScriptSymbol
{
    const wchar_t* qcwz_Name;
    const wchar_t* qcwz_Value;
};

class CT_RegistryScript
{
public:
    // The script is n_Size bytes of UTF-8.
    static HRESULT shr_Run(const char* pcc_Script, unsigned n_Size,
                           const st_ScriptSymbol* pcso_Symbols, unsigned n_Symbols, int b_Register);
    // The script is the module's resource of type REGISTRY with that identifier.
    static HRESULT shr_RunResource(HINSTANCE h_Module, unsigned n_ID,
                                   const st_ScriptSymbol* pcso_Symbols, unsigned n_Symbols,
                                   int b_Register);
};
