// The file system's services by path, each in two twins: 16-bit text for the NT family and
// 8-bit text in the ANSI code page for the platforms before it.
//
// On Windows they are the C runtime's and kernel's calls: _waccess/_access, _wstat64/_stat64,
// _wgetdcwd/_getdcwd, _wfullpath/_fullpath, GetTempPathW/GetTempPathA, _wchdir/_chdir,
// _wmkdir/_mkdir, _wrmdir/_rmdir. Natively: access, stat (with the birth time from statx where the
// file system keeps one, else the change time), getcwd (drive 0 only; there are no drives),
// a full path made by name against the current directory as _fullpath does (without touching
// the disk, so symbolic links stay), $TMPDIR or /tmp, chdir, mkdir, rmdir.
//
// Failures leave errno (both builds: the C runtime's) telling why. Any thread may call any member.
#pragma once

#include <cstdint>
#include <string>

struct st_PlatformStat
{
    bool b_Directory;
    bool b_Fifo;
    bool b_Regular;
    bool b_CharDevice;
    std::uint64_t n_Size;
    std::int64_t i_Creation; // seconds since 1970-01-01 00:00 UTC
    std::int64_t i_Access;
    std::int64_t i_Modification;
};

class CT_PlatformFileSystem
{
public:
    static bool sb_Exists(const char16_t* qcuz_Path);
    static bool sb_Exists(const char* qccz_Path);
    static bool sb_Stat(const char16_t* qcuz_Path, st_PlatformStat* pso_Stat);
    static bool sb_Stat(const char* qccz_Path, st_PlatformStat* pso_Stat);
    // The working directory of a drive (0 the current one, 1 A:, ...), at most sn_MaxPath.
    static bool sb_GetCurrentFolder(unsigned n_Drive, std::u16string* pco_Out);
    static bool sb_GetCurrentFolder(unsigned n_Drive, std::string* pco_Out);
    // The absolute form, at most sn_MaxPath; an empty path is the working directory.
    static bool sb_FullPath(const char16_t* qcuz_Path, std::u16string* pco_Out);
    static bool sb_FullPath(const char* qccz_Path, std::string* pco_Out);
    static bool sb_GetTemporaryFolder(std::u16string* pco_Out);
    static bool sb_GetTemporaryFolder(std::string* pco_Out);
    static bool sb_ChangeFolder(const char16_t* qcuz_Path);
    static bool sb_ChangeFolder(const char* qccz_Path);
    // One level: the parent must exist.
    static bool sb_MakeFolder(const char16_t* qcuz_Path);
    static bool sb_MakeFolder(const char* qccz_Path);
    static bool sb_RemoveFolder(const char16_t* qcuz_Path);
    static bool sb_RemoveFolder(const char* qccz_Path);
    static int si_Errno();
};
