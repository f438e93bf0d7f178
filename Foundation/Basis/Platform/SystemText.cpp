#include "Basis/Platform/SystemText.h"

#include "Basis/Platform/Codepage.h"
#include "System/Charset/Codepage.h"

#include <algorithm>
#include <cassert>
#include <string>

namespace
{
// Copies a terminated text, cut to fit n_Size units with its terminator.
void v_CopyCut(const char16_t* pcu_Text, char16_t* pu_Out, unsigned n_Size)
{
    assert(n_Size > 0);
    unsigned n = 0;
    for (; n + 1 < n_Size && pcu_Text[n]; ++n)
        pu_Out[n] = pcu_Text[n];
    pu_Out[n] = 0;
}

std::u16string co_Widen(unsigned n_CodePage, const char* pcc_Text)
{
    int n_Units = CT_PlatformCodepage::si_MultiToWide(n_CodePage, pcc_Text, -1, nullptr, 0);
    if (n_Units <= 0)
        return std::u16string();
    std::u16string co_Text(static_cast<std::size_t>(n_Units), u'\0');
    CT_PlatformCodepage::si_MultiToWide(n_CodePage, pcc_Text, -1, co_Text.data(), n_Units);
    co_Text.resize(std::char_traits<char16_t>::length(co_Text.c_str()));
    return co_Text;
}

std::string co_Narrow(unsigned n_CodePage, const char16_t* pcu_Text)
{
    int n_Bytes =
        CT_PlatformCodepage::si_WideToMulti(n_CodePage, pcu_Text, -1, nullptr, 0, nullptr, nullptr);
    if (n_Bytes <= 0)
        return std::string();
    std::string co_Text(static_cast<std::size_t>(n_Bytes), '\0');
    CT_PlatformCodepage::si_WideToMulti(n_CodePage, pcu_Text, -1, co_Text.data(), n_Bytes, nullptr,
                                        nullptr);
    co_Text.resize(std::char_traits<char>::length(co_Text.c_str()));
    return co_Text;
}

int b_Copied(const char16_t* pcu_Text, char16_t* pu_Out, unsigned n_Size)
{
    v_CopyCut(pcu_Text ? pcu_Text : u"", pu_Out, n_Size);
    return pcu_Text != nullptr;
}
} // namespace

#if defined(_WIN32)
#include <windows.h>

#include <oleauto.h>

namespace
{
// The user's default language, as FormatMessage understands it.
constexpr DWORD sn_DefaultLanguage = 0x400;
// Inserts stay as written: the library has no arguments for them, and FormatMessage would
// otherwise read arguments that were never passed.
constexpr DWORD sn_MessageFlags =
    FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
} // namespace

unsigned CT_PlatformSystemText::sn_GetLastError()
{
    return GetLastError();
}

void CT_PlatformSystemText::sv_SetLastError(unsigned n_Code)
{
    SetLastError(n_Code);
}

int CT_PlatformSystemText::sb_GetErrorText(unsigned n_Code, int b_8Bit, char16_t* pu_Out,
                                           unsigned n_Size)
{
    int b_Found;
    if (b_8Bit)
    {
        char* pc_Text = nullptr;
        FormatMessageA(sn_MessageFlags, nullptr, n_Code, sn_DefaultLanguage,
                       reinterpret_cast<char*>(&pc_Text), 0, nullptr);
        b_Found = b_Copied(pc_Text ? co_Widen(CT_Codepage::sn_ANSI, pc_Text).c_str() : nullptr,
                           pu_Out, n_Size);
        LocalFree(pc_Text);
    }
    else
    {
        wchar_t* pw_Text = nullptr;
        FormatMessageW(sn_MessageFlags, nullptr, n_Code, sn_DefaultLanguage,
                       reinterpret_cast<wchar_t*>(&pw_Text), 0, nullptr);
        b_Found = b_Copied(reinterpret_cast<const char16_t*>(pw_Text), pu_Out, n_Size);
        LocalFree(pw_Text);
    }
    return b_Found;
}

int CT_PlatformSystemText::si_MessageBox(const char16_t* qcuz_Text, const char16_t* qcuz_Caption,
                                         unsigned n_Type, int b_8Bit)
{
    if (b_8Bit)
        return MessageBoxA(nullptr, co_Narrow(CT_Codepage::sn_ANSI, qcuz_Text).c_str(),
                           co_Narrow(CT_Codepage::sn_ANSI, qcuz_Caption).c_str(), n_Type);
    return MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(qcuz_Text),
                       reinterpret_cast<const wchar_t*>(qcuz_Caption), n_Type);
}

int CT_PlatformSystemText::sb_TakeCOMError(char16_t* pu_Description, unsigned n_Size)
{
    IErrorInfo* pco_Info = nullptr;
    if (GetErrorInfo(0, &pco_Info) != S_OK || !pco_Info)
        return b_Copied(nullptr, pu_Description, n_Size);
    BSTR pw_Description = nullptr;
    if (FAILED(pco_Info->GetDescription(&pw_Description)))
        pw_Description = nullptr;
    v_CopyCut(pw_Description ? reinterpret_cast<const char16_t*>(pw_Description) : u"",
              pu_Description, n_Size);
    SysFreeString(pw_Description);
    pco_Info->Release();
    return 1;
}

#else
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace
{
// The C library's texts are in the locale's encoding, UTF-8 on any current system; so is the
// standard error stream.
constexpr unsigned sn_TextCodePage = CT_Codepage::sn_UTF8;
constexpr int si_IDOK = 1;
} // namespace

unsigned CT_PlatformSystemText::sn_GetLastError()
{
    return static_cast<unsigned>(errno);
}

void CT_PlatformSystemText::sv_SetLastError(unsigned n_Code)
{
    errno = static_cast<int>(n_Code);
}

int CT_PlatformSystemText::sb_GetErrorText(unsigned n_Code, int /*b_8Bit*/, char16_t* pu_Out,
                                           unsigned n_Size)
{
    char ac_Text[256];
    // The GNU form returns the text, which need not be in ac_Text.
    const char* pcc_Text = strerror_r(static_cast<int>(n_Code), ac_Text, sizeof ac_Text);
    return b_Copied(co_Widen(sn_TextCodePage, pcc_Text).c_str(), pu_Out, n_Size);
}

int CT_PlatformSystemText::si_MessageBox(const char16_t* qcuz_Text, const char16_t* qcuz_Caption,
                                         unsigned /*n_Type*/, int /*b_8Bit*/)
{
    std::fprintf(stderr, "%s\n%s\n", co_Narrow(sn_TextCodePage, qcuz_Caption).c_str(),
                 co_Narrow(sn_TextCodePage, qcuz_Text).c_str());
    return si_IDOK;
}

int CT_PlatformSystemText::sb_TakeCOMError(char16_t* pu_Description, unsigned n_Size)
{
    return b_Copied(nullptr, pu_Description, n_Size);
}
#endif
