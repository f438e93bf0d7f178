#include "SettingsRegistry.h"

#include "System/String/CString.h"

#include <windows.h>

#include <vector>

namespace
{
constexpr REGSAM n_ReadAccess = KEY_READ;
constexpr REGSAM n_WriteAccess = KEY_READ | KEY_WRITE;

HKEY h_OpenForRead(const char* qccz_Key)
{
    HKEY h_Key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, qccz_Key, 0, n_ReadAccess, &h_Key) != ERROR_SUCCESS)
        return nullptr;
    return h_Key;
}

void v_Write(const char* qccz_Key, const char* qccz_Name, DWORD n_Type, const void* pcv_Data,
             DWORD n_Size)
{
    HKEY h_Key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, qccz_Key, 0, nullptr, 0, n_WriteAccess, nullptr, &h_Key,
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(h_Key, qccz_Name, 0, n_Type, static_cast<const BYTE*>(pcv_Data), n_Size);
    RegCloseKey(h_Key);
}
} // namespace

unsigned CT_SettingsRegistry::sn_ReadNumber(const char* qccz_Key, const char* qccz_Name,
                                            unsigned n_Default)
{
    HKEY h_Key = h_OpenForRead(qccz_Key);
    if (!h_Key)
        return n_Default;
    DWORD n_Type = 0;
    DWORD n_Size = 0;
    DWORD n_Value = 0;
    bool b_Read =
        RegQueryValueExA(h_Key, qccz_Name, nullptr, &n_Type, nullptr, &n_Size) == ERROR_SUCCESS &&
        n_Type == REG_DWORD;
    if (b_Read)
    {
        n_Size = sizeof n_Value;
        b_Read = RegQueryValueExA(h_Key, qccz_Name, nullptr, &n_Type,
                                  reinterpret_cast<BYTE*>(&n_Value), &n_Size) == ERROR_SUCCESS &&
                 n_Type == REG_DWORD;
    }
    RegCloseKey(h_Key);
    return b_Read ? n_Value : n_Default;
}

// The stored text need not end in a zero: the buffer holds one more byte that always does.
void CT_SettingsRegistry::sv_ReadText(const char* qccz_Key, const char* qccz_Name,
                                      const char* qccz_Default, CT_CString* pco_Text)
{
    HKEY h_Key = h_OpenForRead(qccz_Key);
    DWORD n_Type = 0;
    DWORD n_Size = 0;
    bool b_Read =
        h_Key &&
        RegQueryValueExA(h_Key, qccz_Name, nullptr, &n_Type, nullptr, &n_Size) == ERROR_SUCCESS &&
        n_Type == REG_SZ;
    std::vector<char> ac_Buffer;
    if (b_Read)
    {
        ac_Buffer.assign(n_Size + 1, 0);
        b_Read =
            RegQueryValueExA(h_Key, qccz_Name, nullptr, &n_Type,
                             reinterpret_cast<BYTE*>(ac_Buffer.data()), &n_Size) == ERROR_SUCCESS &&
            n_Type == REG_SZ;
    }
    if (h_Key)
        RegCloseKey(h_Key);
    pco_Text->v_Set(b_Read ? ac_Buffer.data() : qccz_Default, CT_String::sn_All, 0);
}

void CT_SettingsRegistry::sv_WriteNumber(const char* qccz_Key, const char* qccz_Name,
                                         unsigned n_Value)
{
    DWORD n_Data = n_Value;
    v_Write(qccz_Key, qccz_Name, REG_DWORD, &n_Data, sizeof n_Data);
}

// The data carries its terminating zero, as REG_SZ readers expect.
void CT_SettingsRegistry::sv_WriteText(const char* qccz_Key, const char* qccz_Name,
                                       const CT_CString* pcco_Text)
{
    unsigned n_Length = pcco_Text->n_GetLength();
    if (n_Length >= sn_TextLimit)
        return;
    v_Write(qccz_Key, qccz_Name, REG_SZ, pcco_Text->qccz_Get(), n_Length + 1);
}
