#include "Basis/Platform/Path.h"

#if !defined(_WIN32)
#include "Basis/Platform/Codepage.h"

#include <cerrno>

namespace
{
constexpr unsigned sn_Ansi = 0;
constexpr unsigned sn_Utf8 = 65001;

template <typename T>
int i_Length(const std::basic_string<T>& co)
{
    return static_cast<int>(co.size());
}

// The conversions leave errno alone: the callers report the file system's errno afterwards.
std::u16string co_Widen(unsigned n_CodePage, const char* pcc_Text, int n_Bytes)
{
    int n_Units =
        n_Bytes ? CT_PlatformCodepage::si_MultiToWide(n_CodePage, pcc_Text, n_Bytes, nullptr, 0)
                : 0;
    std::u16string co(static_cast<std::size_t>(n_Units), u'\0');
    if (n_Units)
        CT_PlatformCodepage::si_MultiToWide(n_CodePage, pcc_Text, n_Bytes, co.data(), n_Units);
    return co;
}

std::string co_Narrow(unsigned n_CodePage, const char16_t* pcu_Text, int n_Units)
{
    int n_Bytes = n_Units ? CT_PlatformCodepage::si_WideToMulti(n_CodePage, pcu_Text, n_Units,
                                                                nullptr, 0, nullptr, nullptr)
                          : 0;
    std::string co(static_cast<std::size_t>(n_Bytes), '\0');
    if (n_Bytes)
        CT_PlatformCodepage::si_WideToMulti(n_CodePage, pcu_Text, n_Units, co.data(), n_Bytes,
                                            nullptr, nullptr);
    return co;
}
} // namespace

std::string CT_PlatformPath::sco_ToNative(const char16_t* qcuz_Path)
{
    int i_Errno = errno;
    std::u16string co_Path(qcuz_Path);
    std::string co = co_Narrow(sn_Utf8, co_Path.data(), i_Length(co_Path));
    errno = i_Errno;
    return co;
}

std::string CT_PlatformPath::sco_ToNative(const char* qccz_Path)
{
    int i_Errno = errno;
    std::string co_Path(qccz_Path);
    std::string co = sco_ToNative(co_Widen(sn_Ansi, co_Path.data(), i_Length(co_Path)).c_str());
    errno = i_Errno;
    return co;
}

void CT_PlatformPath::sv_FromNative(const std::string& co_Path, std::u16string* pco_Out)
{
    int i_Errno = errno;
    *pco_Out = co_Widen(sn_Utf8, co_Path.data(), i_Length(co_Path));
    errno = i_Errno;
}

void CT_PlatformPath::sv_FromNative(const std::string& co_Path, std::string* pco_Out)
{
    int i_Errno = errno;
    std::u16string co_Wide;
    sv_FromNative(co_Path, &co_Wide);
    *pco_Out = co_Narrow(sn_Ansi, co_Wide.data(), i_Length(co_Wide));
    errno = i_Errno;
}
#endif
