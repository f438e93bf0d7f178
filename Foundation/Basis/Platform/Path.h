// How paths are spelled on this platform. Windows paths have drive letters, take the backslash
// as their separator (the slash too) and are at most 260 characters long. Natively a path is a
// POSIX path: no drives, only the slash separates, and PATH_MAX (4096) bounds it; the file
// system's names are UTF-8 bytes, to which the 16-bit and the ANSI (code page 0) texts of the
// library's twin calls are converted. Any thread may call any member.
#pragma once

#include <string>

class CT_PlatformPath
{
public:
#if defined(_WIN32)
    static constexpr unsigned sn_MaxPath = 260;
    static constexpr bool sb_HasDrives = true;
    // In the order the display form looks for them.
    static constexpr char16_t sau_Separators[] = u"\\/";
#else
    static constexpr unsigned sn_MaxPath = 4096;
    static constexpr bool sb_HasDrives = false;
    static constexpr char16_t sau_Separators[] = u"/";
#endif
    static constexpr char16_t su_Separator = sau_Separators[0];

    static bool sb_IsSeparator(char16_t u)
    {
        return u == u'/' || (sb_HasDrives && u == u'\\');
    }

#if !defined(_WIN32)
    // A name as the file system takes it: from UTF-16, or from the ANSI code page.
    static std::string sco_ToNative(const char16_t* qcuz_Path);
    static std::string sco_ToNative(const char* qccz_Path);
    // The file system's bytes back as UTF-16, or in the ANSI code page.
    static void sv_FromNative(const std::string& co_Path, std::u16string* pco_Out);
    static void sv_FromNative(const std::string& co_Path, std::string* pco_Out);
#endif
};
