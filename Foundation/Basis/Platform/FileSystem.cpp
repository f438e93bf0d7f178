#include "Basis/Platform/FileSystem.h"

#include "Basis/Platform/Path.h"

#include <cerrno>

#if defined(_WIN32)
#include <windows.h>

#include <direct.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdlib>

namespace
{
const wchar_t* pw(const char16_t* pcu)
{
    return reinterpret_cast<const wchar_t*>(pcu);
}

// The 16-bit twin's answer, its characters as UTF-16.
bool b_Take(const wchar_t* pcw_Text, std::u16string* pco_Out)
{
    if (!pcw_Text)
        return false;
    pco_Out->assign(reinterpret_cast<const char16_t*>(pcw_Text));
    return true;
}

bool b_Take(const char* pcc_Text, std::string* pco_Out)
{
    if (!pcc_Text)
        return false;
    pco_Out->assign(pcc_Text);
    return true;
}

// The C runtime's creation time is st_ctime on Windows.
bool b_Fill(int i_Result, const struct _stat64& so, st_PlatformStat* pso_Stat)
{
    if (i_Result != 0)
        return false;
    pso_Stat->b_Directory = (so.st_mode & _S_IFMT) == _S_IFDIR;
    pso_Stat->b_Fifo = (so.st_mode & _S_IFMT) == _S_IFIFO;
    pso_Stat->b_Regular = (so.st_mode & _S_IFMT) == _S_IFREG;
    pso_Stat->b_CharDevice = (so.st_mode & _S_IFMT) == _S_IFCHR;
    pso_Stat->n_Size = static_cast<std::uint64_t>(so.st_size);
    pso_Stat->i_Creation = so.st_ctime;
    pso_Stat->i_Access = so.st_atime;
    pso_Stat->i_Modification = so.st_mtime;
    return true;
}

// GetTempPath's answer; the 16-bit twin has room for 1024 characters.
constexpr DWORD sn_TempRoom = 1024;
} // namespace

bool CT_PlatformFileSystem::sb_Exists(const char16_t* qcuz_Path)
{
    return _waccess(pw(qcuz_Path), 0) == 0;
}

bool CT_PlatformFileSystem::sb_Exists(const char* qccz_Path)
{
    return _access(qccz_Path, 0) == 0;
}

bool CT_PlatformFileSystem::sb_Stat(const char16_t* qcuz_Path, st_PlatformStat* pso_Stat)
{
    struct _stat64 so;
    return b_Fill(_wstat64(pw(qcuz_Path), &so), so, pso_Stat);
}

bool CT_PlatformFileSystem::sb_Stat(const char* qccz_Path, st_PlatformStat* pso_Stat)
{
    struct _stat64 so;
    return b_Fill(_stat64(qccz_Path, &so), so, pso_Stat);
}

bool CT_PlatformFileSystem::sb_GetCurrentFolder(unsigned n_Drive, std::u16string* pco_Out)
{
    wchar_t aw[CT_PlatformPath::sn_MaxPath] = {};
    return b_Take(_wgetdcwd(static_cast<int>(n_Drive), aw, CT_PlatformPath::sn_MaxPath), pco_Out);
}

bool CT_PlatformFileSystem::sb_GetCurrentFolder(unsigned n_Drive, std::string* pco_Out)
{
    char ac[CT_PlatformPath::sn_MaxPath] = {};
    return b_Take(_getdcwd(static_cast<int>(n_Drive), ac, CT_PlatformPath::sn_MaxPath), pco_Out);
}

bool CT_PlatformFileSystem::sb_FullPath(const char16_t* qcuz_Path, std::u16string* pco_Out)
{
    wchar_t aw[CT_PlatformPath::sn_MaxPath];
    return b_Take(_wfullpath(aw, pw(qcuz_Path), CT_PlatformPath::sn_MaxPath), pco_Out);
}

bool CT_PlatformFileSystem::sb_FullPath(const char* qccz_Path, std::string* pco_Out)
{
    char ac[CT_PlatformPath::sn_MaxPath];
    return b_Take(_fullpath(ac, qccz_Path, CT_PlatformPath::sn_MaxPath), pco_Out);
}

bool CT_PlatformFileSystem::sb_GetTemporaryFolder(std::u16string* pco_Out)
{
    wchar_t aw[sn_TempRoom];
    DWORD n = GetTempPathW(sn_TempRoom, aw);
    return b_Take(n && n < sn_TempRoom ? aw : nullptr, pco_Out);
}

bool CT_PlatformFileSystem::sb_GetTemporaryFolder(std::string* pco_Out)
{
    char ac[CT_PlatformPath::sn_MaxPath];
    DWORD n = GetTempPathA(CT_PlatformPath::sn_MaxPath, ac);
    return b_Take(n && n < CT_PlatformPath::sn_MaxPath ? ac : nullptr, pco_Out);
}

bool CT_PlatformFileSystem::sb_ChangeFolder(const char16_t* qcuz_Path)
{
    return _wchdir(pw(qcuz_Path)) == 0;
}

bool CT_PlatformFileSystem::sb_ChangeFolder(const char* qccz_Path)
{
    return _chdir(qccz_Path) == 0;
}

bool CT_PlatformFileSystem::sb_MakeFolder(const char16_t* qcuz_Path)
{
    return _wmkdir(pw(qcuz_Path)) == 0;
}

bool CT_PlatformFileSystem::sb_MakeFolder(const char* qccz_Path)
{
    return _mkdir(qccz_Path) == 0;
}

bool CT_PlatformFileSystem::sb_RemoveFolder(const char16_t* qcuz_Path)
{
    return _wrmdir(pw(qcuz_Path)) == 0;
}

bool CT_PlatformFileSystem::sb_RemoveFolder(const char* qccz_Path)
{
    return _rmdir(qccz_Path) == 0;
}

#else
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace
{
template <typename T>
std::string co_Native(const T* pct_Path)
{
    return CT_PlatformPath::sco_ToNative(pct_Path);
}

template <typename S>
bool b_Give(bool b_Done, const std::string& co_Native, S* pco_Out)
{
    if (b_Done)
        CT_PlatformPath::sv_FromNative(co_Native, pco_Out);
    return b_Done;
}

bool b_Stat(const std::string& co_Path, st_PlatformStat* pso_Stat)
{
    struct statx so;
    if (statx(AT_FDCWD, co_Path.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &so) != 0)
        return false;
    pso_Stat->b_Directory = S_ISDIR(so.stx_mode);
    pso_Stat->b_Fifo = S_ISFIFO(so.stx_mode);
    pso_Stat->b_Regular = S_ISREG(so.stx_mode);
    pso_Stat->b_CharDevice = S_ISCHR(so.stx_mode);
    pso_Stat->n_Size = so.stx_size;
    pso_Stat->i_Creation = (so.stx_mask & STATX_BTIME) ? so.stx_btime.tv_sec : so.stx_ctime.tv_sec;
    pso_Stat->i_Access = so.stx_atime.tv_sec;
    pso_Stat->i_Modification = so.stx_mtime.tv_sec;
    return true;
}

bool b_WorkingFolder(unsigned n_Drive, std::string* pco_Out)
{
    if (n_Drive != 0)
    {
        errno = ENODEV;
        return false;
    }
    char ac[CT_PlatformPath::sn_MaxPath];
    if (!getcwd(ac, sizeof ac))
        return false;
    pco_Out->assign(ac);
    return true;
}

// By name, as _fullpath: relative paths against the working directory, "." and ".." resolved
// as names, repeated slashes folded, a trailing slash kept.
bool b_FullPath(const std::string& co_Path, std::string* pco_Out)
{
    std::string co_Whole;
    if (co_Path.empty() || co_Path[0] != '/')
    {
        if (!b_WorkingFolder(0, &co_Whole))
            return false;
        co_Whole += '/';
    }
    co_Whole += co_Path;
    std::vector<std::string> aco_Names;
    std::size_t n_Start = 0;
    while (n_Start <= co_Whole.size())
    {
        std::size_t n_End = co_Whole.find('/', n_Start);
        if (n_End == std::string::npos)
            n_End = co_Whole.size();
        std::string co_Name = co_Whole.substr(n_Start, n_End - n_Start);
        if (co_Name == "..")
        {
            if (!aco_Names.empty())
                aco_Names.pop_back();
        }
        else if (!co_Name.empty() && co_Name != ".")
        {
            aco_Names.push_back(co_Name);
        }
        n_Start = n_End + 1;
    }
    std::string co_Full;
    for (const std::string& co_Name : aco_Names)
        co_Full += '/' + co_Name;
    if (co_Full.empty() || (co_Whole.back() == '/'))
        co_Full += '/';
    if (co_Full.size() >= CT_PlatformPath::sn_MaxPath)
    {
        errno = ENAMETOOLONG;
        return false;
    }
    *pco_Out = co_Full;
    return true;
}

std::string co_TemporaryFolder()
{
    const char* pcc = std::getenv("TMPDIR");
    return pcc && *pcc ? pcc : "/tmp";
}

template <typename T>
bool b_Exists(const T* pct_Path)
{
    return access(co_Native(pct_Path).c_str(), F_OK) == 0;
}

template <typename T, typename S>
bool b_FullPathOf(const T* pct_Path, S* pco_Out)
{
    std::string co_Full;
    return b_Give(b_FullPath(co_Native(pct_Path), &co_Full), co_Full, pco_Out);
}

template <typename S>
bool b_CurrentFolder(unsigned n_Drive, S* pco_Out)
{
    std::string co_Folder;
    return b_Give(b_WorkingFolder(n_Drive, &co_Folder), co_Folder, pco_Out);
}
} // namespace

bool CT_PlatformFileSystem::sb_Exists(const char16_t* qcuz_Path)
{
    return b_Exists(qcuz_Path);
}

bool CT_PlatformFileSystem::sb_Exists(const char* qccz_Path)
{
    return b_Exists(qccz_Path);
}

bool CT_PlatformFileSystem::sb_Stat(const char16_t* qcuz_Path, st_PlatformStat* pso_Stat)
{
    return b_Stat(co_Native(qcuz_Path), pso_Stat);
}

bool CT_PlatformFileSystem::sb_Stat(const char* qccz_Path, st_PlatformStat* pso_Stat)
{
    return b_Stat(co_Native(qccz_Path), pso_Stat);
}

bool CT_PlatformFileSystem::sb_GetCurrentFolder(unsigned n_Drive, std::u16string* pco_Out)
{
    return b_CurrentFolder(n_Drive, pco_Out);
}

bool CT_PlatformFileSystem::sb_GetCurrentFolder(unsigned n_Drive, std::string* pco_Out)
{
    return b_CurrentFolder(n_Drive, pco_Out);
}

bool CT_PlatformFileSystem::sb_FullPath(const char16_t* qcuz_Path, std::u16string* pco_Out)
{
    return b_FullPathOf(qcuz_Path, pco_Out);
}

bool CT_PlatformFileSystem::sb_FullPath(const char* qccz_Path, std::string* pco_Out)
{
    return b_FullPathOf(qccz_Path, pco_Out);
}

bool CT_PlatformFileSystem::sb_GetTemporaryFolder(std::u16string* pco_Out)
{
    return b_Give(true, co_TemporaryFolder(), pco_Out);
}

bool CT_PlatformFileSystem::sb_GetTemporaryFolder(std::string* pco_Out)
{
    return b_Give(true, co_TemporaryFolder(), pco_Out);
}

bool CT_PlatformFileSystem::sb_ChangeFolder(const char16_t* qcuz_Path)
{
    return chdir(co_Native(qcuz_Path).c_str()) == 0;
}

bool CT_PlatformFileSystem::sb_ChangeFolder(const char* qccz_Path)
{
    return chdir(co_Native(qccz_Path).c_str()) == 0;
}

bool CT_PlatformFileSystem::sb_MakeFolder(const char16_t* qcuz_Path)
{
    return mkdir(co_Native(qcuz_Path).c_str(), 0777) == 0;
}

bool CT_PlatformFileSystem::sb_MakeFolder(const char* qccz_Path)
{
    return mkdir(co_Native(qccz_Path).c_str(), 0777) == 0;
}

bool CT_PlatformFileSystem::sb_RemoveFolder(const char16_t* qcuz_Path)
{
    return rmdir(co_Native(qcuz_Path).c_str()) == 0;
}

bool CT_PlatformFileSystem::sb_RemoveFolder(const char* qccz_Path)
{
    return rmdir(co_Native(qccz_Path).c_str()) == 0;
}
#endif

int CT_PlatformFileSystem::si_Errno()
{
    return errno;
}
