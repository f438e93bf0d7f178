#include "RegistryScript.h"

#include <shlwapi.h>

#include <cerrno>
#include <cwchar>
#include <cwctype>
#include <new>
#include <string>
#include <vector>

namespace
{
const HRESULT hr_BadScript = HRESULT_FROM_WIN32(ERROR_INVALID_DATA);

struct st_Value
{
    DWORD n_Type; // REG_SZ or REG_DWORD
    std::wstring so_Text;
    DWORD n_Number = 0;
};

enum et_KeyMode
{
    eo_Normal,
    eo_NoRemove,
    eo_ForceRemove
};

struct st_Key
{
    std::wstring so_Name;
    et_KeyMode eo_Mode = eo_Normal;
    bool b_HasDefault = false;
    st_Value so_Default;
    std::vector<std::pair<std::wstring, st_Value>> aso_Values;
    std::vector<st_Key> aso_Keys;
};

struct st_Root
{
    HKEY h_Root;
    std::vector<st_Key> aso_Keys;
};

// A token: one of { } = or a word, or quoted text (b_Quoted) that is never a keyword.
struct st_Token
{
    std::wstring so_Text;
    bool b_Quoted = false;
    bool b_End = false;

    bool b_Is(const wchar_t* qcwz_Word) const
    {
        return !b_Quoted && !b_End && _wcsicmp(so_Text.c_str(), qcwz_Word) == 0;
    }
};

class CT_ScriptParser
{
public:
    CT_ScriptParser(const std::wstring& co_Text, const st_ScriptSymbol* pcso_Symbols,
                    unsigned n_Symbols)
        : co_Text(co_Text), pcso_Symbols(pcso_Symbols), n_Symbols(n_Symbols)
    {
    }

    bool b_Parse(std::vector<st_Root>* paso_Roots)
    {
        for (st_Token so_Token = so_Next(); !so_Token.b_End; so_Token = so_Next())
        {
            st_Root so_Root;
            if (!b_RootKey(so_Token, &so_Root.h_Root) || !so_Next().b_Is(L"{") ||
                !b_Block(&so_Root.aso_Keys, nullptr))
                return false;
            paso_Roots->push_back(std::move(so_Root));
        }
        return b_Good;
    }

private:
    static bool b_RootKey(const st_Token& so_Token, HKEY* ph_Root)
    {
        static const struct
        {
            const wchar_t* qcwz_Short;
            const wchar_t* qcwz_Long;
            HKEY h_Key;
        } aso_Roots[] = {
            {L"HKCR", L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
            {L"HKCU", L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
            {L"HKLM", L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
            {L"HKU", L"HKEY_USERS", HKEY_USERS},
        };
        for (const auto& so_Root : aso_Roots)
            if (so_Token.b_Is(so_Root.qcwz_Short) || so_Token.b_Is(so_Root.qcwz_Long))
            {
                *ph_Root = so_Root.h_Key;
                return true;
            }
        return false;
    }

    // The entries up to the closing brace; named values only inside a key (paso_Values).
    bool b_Block(std::vector<st_Key>* paso_Keys,
                 std::vector<std::pair<std::wstring, st_Value>>* paso_Values)
    {
        for (st_Token so_Token = so_Next(); !so_Token.b_Is(L"}"); so_Token = so_Next())
        {
            if (so_Token.b_End)
                return false;
            if (so_Token.b_Is(L"val"))
            {
                if (!paso_Values)
                    return false;
                std::pair<std::wstring, st_Value> so_Named;
                if (!b_Name(so_Next(), &so_Named.first) || !so_Next().b_Is(L"=") ||
                    !b_Value(&so_Named.second))
                    return false;
                paso_Values->push_back(std::move(so_Named));
            }
            else
            {
                st_Key so_Key;
                if (!b_Key(so_Token, &so_Key))
                    return false;
                paso_Keys->push_back(std::move(so_Key));
            }
        }
        return b_Good;
    }

    bool b_Key(st_Token so_Token, st_Key* pso_Key)
    {
        if (so_Token.b_Is(L"NoRemove") || so_Token.b_Is(L"ForceRemove"))
        {
            pso_Key->eo_Mode = so_Token.b_Is(L"NoRemove") ? eo_NoRemove : eo_ForceRemove;
            so_Token = so_Next();
        }
        if (!b_Name(so_Token, &pso_Key->so_Name))
            return false;
        so_Token = so_Peek();
        if (so_Token.b_Is(L"="))
        {
            so_Next();
            pso_Key->b_HasDefault = true;
            if (!b_Value(&pso_Key->so_Default))
                return false;
            so_Token = so_Peek();
        }
        if (so_Token.b_Is(L"{"))
        {
            so_Next();
            return b_Block(&pso_Key->aso_Keys, &pso_Key->aso_Values);
        }
        return true;
    }

    bool b_Name(const st_Token& so_Token, std::wstring* pso_Name)
    {
        if (!b_IsText(so_Token))
            return false;
        *pso_Name = so_Token.so_Text;
        return !pso_Name->empty();
    }

    bool b_Value(st_Value* pso_Value)
    {
        st_Token so_Kind = so_Next();
        st_Token so_Data = so_Next();
        if (!b_IsText(so_Data))
            return false;
        if (so_Kind.b_Is(L"s"))
        {
            pso_Value->n_Type = REG_SZ;
            pso_Value->so_Text = so_Data.so_Text;
            return true;
        }
        if (!so_Kind.b_Is(L"d") || so_Data.so_Text.empty())
            return false;
        wchar_t* pw_End = nullptr;
        errno = 0;
        unsigned long n_Number = std::wcstoul(so_Data.so_Text.c_str(), &pw_End, 0);
        pso_Value->n_Type = REG_DWORD;
        pso_Value->n_Number = static_cast<DWORD>(n_Number);
        return *pw_End == 0 && errno == 0 && n_Number <= 0xFFFFFFFFul;
    }

    static bool b_IsText(const st_Token& so_Token)
    {
        return !so_Token.b_End && !so_Token.b_Is(L"{") && !so_Token.b_Is(L"}") &&
               !so_Token.b_Is(L"=");
    }

    st_Token so_Peek()
    {
        size_t n_Saved = n_Position;
        st_Token so_Token = so_Next();
        n_Position = n_Saved;
        return so_Token;
    }

    st_Token so_Next()
    {
        st_Token so_Token;
        while (n_Position < co_Text.size() && std::iswspace(co_Text[n_Position]))
            ++n_Position;
        if (n_Position == co_Text.size())
        {
            so_Token.b_End = true;
            return so_Token;
        }
        wchar_t w_First = co_Text[n_Position];
        std::wstring so_Raw;
        if (w_First == L'{' || w_First == L'}' || w_First == L'=')
        {
            ++n_Position;
            so_Token.so_Text = w_First;
            return so_Token;
        }
        if (w_First == L'\'')
        {
            so_Token.b_Quoted = true;
            if (!b_Quoted(&so_Raw))
                so_Token.b_End = true;
        }
        else
            while (n_Position < co_Text.size() && !std::iswspace(co_Text[n_Position]) &&
                   !std::wcschr(L"{}='", co_Text[n_Position]))
                so_Raw += co_Text[n_Position++];
        if (!b_Substitute(so_Raw, &so_Token.so_Text))
            so_Token.b_End = true;
        return so_Token;
    }

    // After the opening quote up to the closing one; a missing closing quote spoils the script.
    bool b_Quoted(std::wstring* pso_Raw)
    {
        for (++n_Position; n_Position < co_Text.size(); ++n_Position)
        {
            if (co_Text[n_Position] != L'\'')
                *pso_Raw += co_Text[n_Position];
            else if (n_Position + 1 < co_Text.size() && co_Text[n_Position + 1] == L'\'')
                *pso_Raw += co_Text[++n_Position];
            else
            {
                ++n_Position;
                return true;
            }
        }
        return b_Good = false;
    }

    bool b_Substitute(const std::wstring& co_Raw, std::wstring* pso_Out)
    {
        for (size_t n_Index = 0; n_Index < co_Raw.size(); ++n_Index)
        {
            if (co_Raw[n_Index] != L'%')
            {
                *pso_Out += co_Raw[n_Index];
                continue;
            }
            size_t n_Close = co_Raw.find(L'%', n_Index + 1);
            if (n_Close == std::wstring::npos)
                return b_Good = false;
            const wchar_t* qcwz_Value =
                n_Close == n_Index + 1
                    ? L"%"
                    : qcwz_Symbol(co_Raw.substr(n_Index + 1, n_Close - n_Index - 1));
            if (!qcwz_Value)
                return b_Good = false;
            *pso_Out += qcwz_Value;
            n_Index = n_Close;
        }
        return true;
    }

    const wchar_t* qcwz_Symbol(const std::wstring& co_Name) const
    {
        for (unsigned n_Index = 0; n_Index < n_Symbols; ++n_Index)
            if (_wcsicmp(co_Name.c_str(), pcso_Symbols[n_Index].qcwz_Name) == 0)
                return pcso_Symbols[n_Index].qcwz_Value;
        return nullptr;
    }

    const std::wstring& co_Text;
    const st_ScriptSymbol* pcso_Symbols;
    unsigned n_Symbols;
    size_t n_Position = 0;
    bool b_Good = true;
};

LSTATUS i4_SetValue(HKEY h_Key, const wchar_t* qcwz_Name, const st_Value& co_Value)
{
    if (co_Value.n_Type == REG_DWORD)
        return RegSetValueExW(h_Key, qcwz_Name, 0, REG_DWORD,
                              reinterpret_cast<const BYTE*>(&co_Value.n_Number), sizeof(DWORD));
    return RegSetValueExW(h_Key, qcwz_Name, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(co_Value.so_Text.c_str()),
                          static_cast<DWORD>((co_Value.so_Text.size() + 1) * sizeof(wchar_t)));
}

LSTATUS i4_DeleteTree(HKEY h_Parent, const std::wstring& co_Name)
{
    LSTATUS i4_Status = SHDeleteKeyW(h_Parent, co_Name.c_str());
    return i4_Status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : i4_Status;
}

LSTATUS i4_Register(HKEY h_Parent, const st_Key& co_Key)
{
    LSTATUS i4_Status = ERROR_SUCCESS;
    if (co_Key.eo_Mode == eo_ForceRemove)
        i4_Status = i4_DeleteTree(h_Parent, co_Key.so_Name);
    HKEY h_Key = nullptr;
    if (i4_Status == ERROR_SUCCESS)
        i4_Status = RegCreateKeyExW(h_Parent, co_Key.so_Name.c_str(), 0, nullptr, 0,
                                    KEY_READ | KEY_WRITE, nullptr, &h_Key, nullptr);
    if (i4_Status != ERROR_SUCCESS)
        return i4_Status;
    if (co_Key.b_HasDefault)
        i4_Status = i4_SetValue(h_Key, nullptr, co_Key.so_Default);
    for (size_t n_Index = 0; i4_Status == ERROR_SUCCESS && n_Index < co_Key.aso_Values.size();
         ++n_Index)
        i4_Status = i4_SetValue(h_Key, co_Key.aso_Values[n_Index].first.c_str(),
                                co_Key.aso_Values[n_Index].second);
    for (size_t n_Index = 0; i4_Status == ERROR_SUCCESS && n_Index < co_Key.aso_Keys.size();
         ++n_Index)
        i4_Status = i4_Register(h_Key, co_Key.aso_Keys[n_Index]);
    RegCloseKey(h_Key);
    return i4_Status;
}

// Goes on after a failure so that as much as possible is removed; reports the first one.
LSTATUS i4_Unregister(HKEY h_Parent, const st_Key& co_Key)
{
    if (co_Key.eo_Mode != eo_NoRemove)
        return i4_DeleteTree(h_Parent, co_Key.so_Name);
    HKEY h_Key = nullptr;
    LSTATUS i4_Status =
        RegOpenKeyExW(h_Parent, co_Key.so_Name.c_str(), 0, KEY_READ | KEY_WRITE, &h_Key);
    if (i4_Status == ERROR_FILE_NOT_FOUND)
        return ERROR_SUCCESS;
    if (i4_Status != ERROR_SUCCESS)
        return i4_Status;
    for (const auto& co_Named : co_Key.aso_Values)
    {
        LSTATUS i4_Value = RegDeleteValueW(h_Key, co_Named.first.c_str());
        if (i4_Status == ERROR_SUCCESS && i4_Value != ERROR_FILE_NOT_FOUND)
            i4_Status = i4_Value;
    }
    for (const st_Key& co_Child : co_Key.aso_Keys)
    {
        LSTATUS i4_Child = i4_Unregister(h_Key, co_Child);
        if (i4_Status == ERROR_SUCCESS)
            i4_Status = i4_Child;
    }
    RegCloseKey(h_Key);
    return i4_Status;
}

HRESULT hr_Apply(const std::vector<st_Root>& co_Roots, int b_Register)
{
    LSTATUS i4_Status = ERROR_SUCCESS;
    for (const st_Root& co_Root : co_Roots)
        for (const st_Key& co_Key : co_Root.aso_Keys)
        {
            LSTATUS i4_Key = b_Register ? i4_Register(co_Root.h_Root, co_Key)
                                        : i4_Unregister(co_Root.h_Root, co_Key);
            if (i4_Status == ERROR_SUCCESS)
                i4_Status = i4_Key;
            if (b_Register && i4_Status != ERROR_SUCCESS)
                return HRESULT_FROM_WIN32(i4_Status);
        }
    return HRESULT_FROM_WIN32(i4_Status);
}
} // namespace

HRESULT CT_RegistryScript::shr_Run(const char* pcc_Script, unsigned n_Size,
                                   const st_ScriptSymbol* pcso_Symbols, unsigned n_Symbols,
                                   int b_Register)
{
    try
    {
        std::wstring so_Text;
        if (n_Size > 0)
        {
            int i_Units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, pcc_Script,
                                              static_cast<int>(n_Size), nullptr, 0);
            if (i_Units <= 0)
                return hr_BadScript;
            so_Text.resize(static_cast<size_t>(i_Units));
            MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, pcc_Script, static_cast<int>(n_Size),
                                so_Text.data(), i_Units);
        }
        if (!so_Text.empty() && so_Text[0] == 0xFEFF)
            so_Text.erase(0, 1);
        std::vector<st_Root> aso_Roots;
        if (!CT_ScriptParser(so_Text, pcso_Symbols, n_Symbols).b_Parse(&aso_Roots))
            return hr_BadScript;
        return hr_Apply(aso_Roots, b_Register);
    }
    catch (const std::bad_alloc&)
    {
        return E_OUTOFMEMORY;
    }
}

HRESULT CT_RegistryScript::shr_RunResource(HINSTANCE h_Module, unsigned n_ID,
                                           const st_ScriptSymbol* pcso_Symbols, unsigned n_Symbols,
                                           int b_Register)
{
    HRSRC h_Found = FindResourceW(h_Module, MAKEINTRESOURCEW(n_ID), L"REGISTRY");
    HGLOBAL h_Loaded = h_Found ? LoadResource(h_Module, h_Found) : nullptr;
    const void* pcv_Script = h_Loaded ? LockResource(h_Loaded) : nullptr;
    if (!pcv_Script)
        return HRESULT_FROM_WIN32(ERROR_RESOURCE_DATA_NOT_FOUND);
    return shr_Run(static_cast<const char*>(pcv_Script), SizeofResource(h_Module, h_Found),
                   pcso_Symbols, n_Symbols, b_Register);
}
