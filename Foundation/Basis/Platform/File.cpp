#include "Basis/Platform/File.h"

#include <cstddef>
#include <string>

namespace
{
// The name a copy takes beside its target until it is whole: the target's name with "~ct" and
// an attempt number, the first that does not exist.
constexpr unsigned sn_CopyAttempts = 100;

template <typename T>
std::basic_string<T> co_CopyName(const T* pct_Target, unsigned n_Attempt)
{
    std::basic_string<T> co(pct_Target);
    for (char c : "~ct" + std::to_string(n_Attempt))
        co += static_cast<T>(c);
    return co;
}
} // namespace

#if defined(_WIN32)
#include <windows.h>

namespace
{
const wchar_t* pw(const char16_t* pcu)
{
    return reinterpret_cast<const wchar_t*>(pcu);
}

// Win32's value of each bit, from the lowest.
constexpr DWORD san_Attributes[] = {FILE_ATTRIBUTE_NORMAL,     FILE_ATTRIBUTE_ARCHIVE,
                                    FILE_ATTRIBUTE_COMPRESSED, FILE_ATTRIBUTE_HIDDEN,
                                    FILE_ATTRIBUTE_READONLY,   FILE_ATTRIBUTE_SYSTEM,
                                    FILE_ATTRIBUTE_DIRECTORY,  FILE_ATTRIBUTE_TEMPORARY};
constexpr DWORD san_Flags[] = {FILE_FLAG_WRITE_THROUGH,   FILE_FLAG_OVERLAPPED,
                               FILE_FLAG_NO_BUFFERING,    FILE_FLAG_RANDOM_ACCESS,
                               FILE_FLAG_SEQUENTIAL_SCAN, FILE_FLAG_DELETE_ON_CLOSE};
constexpr DWORD san_Dispositions[] = {0, OPEN_EXISTING, CREATE_ALWAYS, OPEN_ALWAYS};

template <std::size_t N>
DWORD n_Translate(unsigned n_Bits, const DWORD (&an_Values)[N])
{
    DWORD n = 0;
    for (std::size_t i = 0; i < N; ++i)
        if (n_Bits & (1u << i))
            n |= an_Values[i];
    return n;
}

struct st_OpenArguments
{
    DWORD n_Access, n_Share, n_Disposition, n_AttributesAndFlags;
};

st_OpenArguments so_Arguments(unsigned n_Access, unsigned n_Disposition, unsigned n_Share,
                              unsigned n_Attributes, unsigned n_Flags)
{
    using P = CT_PlatformFile;
    return {(n_Access & P::sn_Read ? GENERIC_READ : 0u) |
                (n_Access & P::sn_Write ? GENERIC_WRITE : 0u),
            (n_Share & P::sn_Read ? FILE_SHARE_READ : 0u) |
                (n_Share & P::sn_Write ? FILE_SHARE_WRITE : 0u),
            n_Disposition < 4 ? san_Dispositions[n_Disposition] : 0u,
            n_Translate(n_Attributes, san_Attributes) | n_Translate(n_Flags, san_Flags)};
}

// The calls by name of each twin.
BOOL b_CopyFile(const wchar_t* pcw_From, const wchar_t* pcw_To, BOOL b_FailIfExists)
{
    return CopyFileW(pcw_From, pcw_To, b_FailIfExists);
}
BOOL b_CopyFile(const char* pcc_From, const char* pcc_To, BOOL b_FailIfExists)
{
    return CopyFileA(pcc_From, pcc_To, b_FailIfExists);
}
BOOL b_Replace(const wchar_t* pcw_From, const wchar_t* pcw_To)
{
    return MoveFileExW(pcw_From, pcw_To, MOVEFILE_REPLACE_EXISTING);
}
BOOL b_Replace(const char* pcc_From, const char* pcc_To)
{
    return MoveFileExA(pcc_From, pcc_To, MOVEFILE_REPLACE_EXISTING);
}
BOOL b_DeleteFile(const wchar_t* pcw_Name)
{
    return DeleteFileW(pcw_Name);
}
BOOL b_DeleteFile(const char* pcc_Name)
{
    return DeleteFileA(pcc_Name);
}

template <typename T>
bool b_CopyReplacing(const T* pct_From, const T* pct_To)
{
    for (unsigned n = 0; n < sn_CopyAttempts; ++n)
    {
        std::basic_string<T> co_Copy = co_CopyName(pct_To, n);
        if (!b_CopyFile(pct_From, co_Copy.c_str(), TRUE))
        {
            DWORD n_Error = GetLastError();
            if (n_Error == ERROR_FILE_EXISTS || n_Error == ERROR_ALREADY_EXISTS)
                continue;
            b_DeleteFile(co_Copy.c_str());
            SetLastError(n_Error);
            return false;
        }
        if (b_Replace(co_Copy.c_str(), pct_To))
            return true;
        DWORD n_Error = GetLastError();
        b_DeleteFile(co_Copy.c_str());
        SetLastError(n_Error);
        return false;
    }
    return false;
}
} // namespace

void CT_PlatformFile::sv_SetLastError(et_Error eo_Error)
{
    static constexpr DWORD san_Errors[] = {ERROR_INVALID_HANDLE, ERROR_NEGATIVE_SEEK,
                                           ERROR_FILE_TOO_LARGE, ERROR_ACCESS_DENIED,
                                           ERROR_USER_MAPPED_FILE};
    SetLastError(san_Errors[eo_Error]);
}

HANDLE CT_PlatformFile::sh_Open(const char16_t* qcuz_Name, unsigned n_Access,
                                unsigned n_Disposition, unsigned n_Share, unsigned n_Attributes,
                                unsigned n_Flags)
{
    st_OpenArguments so = so_Arguments(n_Access, n_Disposition, n_Share, n_Attributes, n_Flags);
    return CreateFileW(pw(qcuz_Name), so.n_Access, so.n_Share, nullptr, so.n_Disposition,
                       so.n_AttributesAndFlags, nullptr);
}

HANDLE CT_PlatformFile::sh_Open(const char* qccz_Name, unsigned n_Access, unsigned n_Disposition,
                                unsigned n_Share, unsigned n_Attributes, unsigned n_Flags)
{
    st_OpenArguments so = so_Arguments(n_Access, n_Disposition, n_Share, n_Attributes, n_Flags);
    return CreateFileA(qccz_Name, so.n_Access, so.n_Share, nullptr, so.n_Disposition,
                       so.n_AttributesAndFlags, nullptr);
}

bool CT_PlatformFile::sb_Close(HANDLE h_File)
{
    return CloseHandle(h_File);
}

bool CT_PlatformFile::sb_Read(HANDLE h_File, void* pv_Data, unsigned n_Count, unsigned* pn_Read)
{
    DWORD n = 0;
    bool b = ReadFile(h_File, pv_Data, n_Count, &n, nullptr);
    *pn_Read = b ? n : 0;
    return b;
}

bool CT_PlatformFile::sb_Write(HANDLE h_File, const void* pcv_Data, unsigned n_Count,
                               unsigned* pn_Written)
{
    DWORD n = 0;
    bool b = WriteFile(h_File, pcv_Data, n_Count, &n, nullptr);
    *pn_Written = n;
    return b;
}

bool CT_PlatformFile::sb_Seek(HANDLE h_File, std::uint64_t n_Position)
{
    LARGE_INTEGER so;
    so.QuadPart = static_cast<LONGLONG>(n_Position);
    return SetFilePointerEx(h_File, so, nullptr, FILE_BEGIN);
}

bool CT_PlatformFile::sb_SeekEnd(HANDLE h_File, std::uint64_t* pn_Position)
{
    LARGE_INTEGER so_Distance = {}, so_Position = {};
    bool b = SetFilePointerEx(h_File, so_Distance, &so_Position, FILE_END);
    *pn_Position = static_cast<std::uint64_t>(so_Position.QuadPart);
    return b;
}

bool CT_PlatformFile::sb_GetSize(HANDLE h_File, std::uint64_t* pn_Size)
{
    LARGE_INTEGER so = {};
    bool b = GetFileSizeEx(h_File, &so);
    *pn_Size = static_cast<std::uint64_t>(so.QuadPart);
    return b;
}

bool CT_PlatformFile::sb_IsDisk(HANDLE h_File)
{
    return GetFileType(h_File) == FILE_TYPE_DISK;
}

bool CT_PlatformFile::sb_Flush(HANDLE h_File)
{
    return FlushFileBuffers(h_File);
}

bool CT_PlatformFile::sb_SetEnd(HANDLE h_File)
{
    return SetEndOfFile(h_File);
}

bool CT_PlatformFile::sb_Lock(HANDLE h_File, unsigned n_Offset, unsigned n_Length)
{
    return LockFile(h_File, n_Offset, 0, n_Length, 0);
}

bool CT_PlatformFile::sb_Unlock(HANDLE h_File, unsigned n_Offset, unsigned n_Length)
{
    return UnlockFile(h_File, n_Offset, 0, n_Length, 0);
}

bool CT_PlatformFile::sb_GetInfo(HANDLE h_File, BY_HANDLE_FILE_INFORMATION* pso_Info)
{
    return GetFileInformationByHandle(h_File, pso_Info);
}

// The mapping has no name, so the 8-bit call serves every platform.
bool CT_PlatformFile::sb_CreateMapping(HANDLE h_File, unsigned n_Size, bool b_Writable,
                                       HANDLE* ph_Mapping)
{
    *ph_Mapping = CreateFileMappingA(h_File, nullptr, b_Writable ? PAGE_READWRITE : PAGE_READONLY,
                                     0, n_Size, nullptr);
    return *ph_Mapping != nullptr;
}

void* CT_PlatformFile::spv_MapView(HANDLE h_Mapping, unsigned n_Size, bool b_Writable)
{
    return MapViewOfFile(h_Mapping, b_Writable ? FILE_MAP_ALL_ACCESS : FILE_MAP_READ, 0, 0, n_Size);
}

bool CT_PlatformFile::sb_UnmapView(void* pv_View, unsigned /*n_Size*/)
{
    return UnmapViewOfFile(pv_View);
}

bool CT_PlatformFile::sb_CloseMapping(HANDLE h_Mapping)
{
    return CloseHandle(h_Mapping);
}

void CT_PlatformFile::sv_FlushView(void* pv_View, unsigned n_Size)
{
    FlushViewOfFile(pv_View, n_Size);
}

bool CT_PlatformFile::sb_Delete(const char16_t* qcuz_Name)
{
    return DeleteFileW(pw(qcuz_Name));
}

bool CT_PlatformFile::sb_Delete(const char* qccz_Name)
{
    return DeleteFileA(qccz_Name);
}

bool CT_PlatformFile::sb_Move(const char16_t* qcuz_From, const char16_t* qcuz_To)
{
    return MoveFileExW(pw(qcuz_From), pw(qcuz_To), MOVEFILE_COPY_ALLOWED);
}

bool CT_PlatformFile::sb_Move(const char* qccz_From, const char* qccz_To)
{
    return MoveFileA(qccz_From, qccz_To);
}

bool CT_PlatformFile::sb_Copy(const char16_t* qcuz_From, const char16_t* qcuz_To)
{
    return b_CopyReplacing(pw(qcuz_From), pw(qcuz_To));
}

bool CT_PlatformFile::sb_Copy(const char* qccz_From, const char* qccz_To)
{
    return b_CopyReplacing(qccz_From, qccz_To);
}

unsigned CT_PlatformFile::sn_GetAttributes(const char16_t* qcuz_Name)
{
    return GetFileAttributesW(pw(qcuz_Name));
}

unsigned CT_PlatformFile::sn_GetAttributes(const char* qccz_Name)
{
    return GetFileAttributesA(qccz_Name);
}

bool CT_PlatformFile::sb_SetAttributes(const char16_t* qcuz_Name, unsigned n_Attributes)
{
    return SetFileAttributesW(pw(qcuz_Name), n_Attributes);
}

bool CT_PlatformFile::sb_SetAttributes(const char* qccz_Name, unsigned n_Attributes)
{
    return SetFileAttributesA(qccz_Name, n_Attributes);
}

void CT_PlatformFile::sv_SetHandleCount(unsigned n_Count)
{
    SetHandleCount(n_Count);
}

#else
#include "Basis/Platform/Path.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <mutex>
#include <vector>

namespace
{
using P = CT_PlatformFile;

// The bits of CT_File::vv_Open that have a meaning here.
constexpr unsigned sn_AttributeReadOnly = 0x10;
constexpr unsigned sn_FlagWriteThrough = 0x01, sn_FlagRandomAccess = 0x08,
                   sn_FlagSequentialScan = 0x10, sn_FlagDeleteOnClose = 0x20;

int i_Fd(HANDLE h)
{
    return static_cast<int>(reinterpret_cast<std::intptr_t>(h));
}

HANDLE h_Handle(int i_Fd)
{
    return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(i_Fd));
}

// The opens of this process, for the share modes and delete-on-close. An open without data
// access neither is kept out nor keeps others out, as on Windows.
class CT_OpenFiles
{
public:
    struct st_Open
    {
        int i_Fd;
        dev_t n_Device;
        ino_t n_Inode;
        unsigned n_Access;
        unsigned n_Share;
        std::string co_DeleteName; // unlinked at close when not empty
    };

    // Never destroyed, so that files closed during static exit still find it.
    static CT_OpenFiles& sro_Get()
    {
        static CT_OpenFiles* spco = new CT_OpenFiles;
        return *spco;
    }

    bool b_Add(st_Open so_Open)
    {
        std::lock_guard<std::mutex> co_Lock(co_Mutex);
        for (const st_Open& so : aso_Opens)
            if (so.n_Device == so_Open.n_Device && so.n_Inode == so_Open.n_Inode &&
                (sb_Conflict(so, so_Open) || sb_Conflict(so_Open, so)))
            {
                errno = EBUSY;
                return false;
            }
        aso_Opens.push_back(std::move(so_Open));
        return true;
    }

    // The open's entry, which it leaves; an entry without a name when there is none.
    st_Open so_Remove(int i_Fd)
    {
        std::lock_guard<std::mutex> co_Lock(co_Mutex);
        for (std::size_t i = 0; i < aso_Opens.size(); ++i)
            if (aso_Opens[i].i_Fd == i_Fd)
            {
                st_Open so = std::move(aso_Opens[i]);
                aso_Opens.erase(aso_Opens.begin() + static_cast<std::ptrdiff_t>(i));
                return so;
            }
        return st_Open{};
    }

private:
    // so_Open's access is not allowed by so_Other's share mode.
    static bool sb_Conflict(const st_Open& so_Open, const st_Open& so_Other)
    {
        return so_Open.n_Access && so_Other.n_Access && (so_Open.n_Access & ~so_Other.n_Share);
    }

    std::mutex co_Mutex;
    std::vector<st_Open> aso_Opens;
};

int i_OpenFlags(unsigned n_Access, unsigned n_Disposition)
{
    int i = O_CLOEXEC | (n_Disposition == P::sn_OpenExisting ? 0 : O_CREAT);
    switch (n_Access)
    {
    case P::sn_Read | P::sn_Write:
        return i | O_RDWR;
    case P::sn_Write:
        return i | O_WRONLY;
    case P::sn_Read:
        return i | O_RDONLY;
    default:
        // No data access: a handle for its information only, where nothing is to be created.
        return i | (n_Disposition == P::sn_OpenExisting ? O_PATH : O_RDONLY);
    }
}

// Cleaning up after a failure keeps the failure's errno.
bool b_Abandon(int i_Fd)
{
    int i_Errno = errno;
    close(i_Fd);
    errno = i_Errno;
    return false;
}

void v_Discard(const std::string& co_Name)
{
    int i_Errno = errno;
    unlink(co_Name.c_str());
    errno = i_Errno;
}

// A directory is refused, the share modes are checked, and only then does a replacing open cut
// the file, as on Windows.
bool b_Admit(int i_File, const std::string& co_Name, unsigned n_Access, unsigned n_Disposition,
             unsigned n_Share, unsigned n_Flags)
{
    struct stat so;
    if (fstat(i_File, &so) != 0)
        return false;
    if (S_ISDIR(so.st_mode))
    {
        errno = EISDIR;
        return false;
    }
    std::string co_DeleteName = n_Flags & sn_FlagDeleteOnClose ? co_Name : std::string();
    if (!CT_OpenFiles::sro_Get().b_Add(
            {i_File, so.st_dev, so.st_ino, n_Access, n_Share, std::move(co_DeleteName)}))
        return false;
    bool b_Cut = n_Disposition == P::sn_CreateAlways && so.st_size != 0;
    if (b_Cut &&
        (n_Access & P::sn_Write ? ftruncate(i_File, 0) : truncate(co_Name.c_str(), 0)) != 0)
    {
        CT_OpenFiles::sro_Get().so_Remove(i_File);
        return false;
    }
    if (n_Flags & (sn_FlagRandomAccess | sn_FlagSequentialScan))
        posix_fadvise(i_File, 0, 0,
                      n_Flags & sn_FlagRandomAccess ? POSIX_FADV_RANDOM : POSIX_FADV_SEQUENTIAL);
    return true;
}

int i_Open(const std::string& co_Name, unsigned n_Access, unsigned n_Disposition, unsigned n_Share,
           unsigned n_Attributes, unsigned n_Flags)
{
    if (n_Disposition < P::sn_OpenExisting || n_Disposition > P::sn_OpenAlways)
    {
        errno = EINVAL;
        return -1;
    }
    int i_Flags =
        i_OpenFlags(n_Access, n_Disposition) | (n_Flags & sn_FlagWriteThrough ? O_DSYNC : 0);
    mode_t n_Mode = n_Attributes & sn_AttributeReadOnly ? 0444 : 0666;
    int i_File;
    do
        i_File = open(co_Name.c_str(), i_Flags, n_Mode);
    while (i_File < 0 && errno == EINTR);
    if (i_File < 0 || b_Admit(i_File, co_Name, n_Access, n_Disposition, n_Share, n_Flags))
        return i_File;
    b_Abandon(i_File);
    return -1;
}

bool b_SetLock(HANDLE h_File, short i_Type, unsigned n_Offset, unsigned n_Length)
{
    // POSIX reads a length of 0 as "to the end and beyond"; Windows holds no byte with it.
    if (n_Length == 0)
        return true;
    struct flock so = {};
    so.l_type = i_Type;
    so.l_whence = SEEK_SET;
    so.l_start = n_Offset;
    so.l_len = n_Length;
    return fcntl(i_Fd(h_File), F_OFD_SETLK, &so) == 0;
}

bool b_IsWritable(HANDLE h_File)
{
    int i = fcntl(i_Fd(h_File), F_GETFL);
    return i >= 0 && (i & O_ACCMODE) != O_RDONLY;
}

unsigned n_Attributes(mode_t n_Mode)
{
    return (S_ISDIR(n_Mode) ? P::sn_Win32Directory : P::sn_Win32Archive) |
           (n_Mode & 0222 ? 0 : P::sn_Win32ReadOnly);
}

FILETIME so_FileTime(const struct statx_timestamp& so)
{
    // 100-nanosecond steps since 1601-01-01.
    constexpr std::uint64_t sn_Epoch = 116444736000000000ull;
    std::uint64_t n =
        static_cast<std::uint64_t>(so.tv_sec) * 10000000u + so.tv_nsec / 100 + sn_Epoch;
    return {static_cast<DWORD>(n), static_cast<DWORD>(n >> 32)};
}

bool b_CopyData(int i_From, int i_To)
{
    static constexpr std::size_t sn_Chunk = 65536;
    std::vector<char> ac(sn_Chunk);
    for (;;)
    {
        unsigned n_Read = 0, n_Written = 0;
        if (!P::sb_Read(h_Handle(i_From), ac.data(), sn_Chunk, &n_Read))
            return false;
        if (n_Read == 0)
            return true;
        if (!P::sb_Write(h_Handle(i_To), ac.data(), n_Read, &n_Written))
            return false;
    }
}

bool b_RenameNoReplace(const std::string& co_From, const std::string& co_To)
{
    if (renameat2(AT_FDCWD, co_From.c_str(), AT_FDCWD, co_To.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // File systems without the flag: the test and the move are two steps there.
    if (access(co_To.c_str(), F_OK) == 0)
    {
        errno = EEXIST;
        return false;
    }
    return rename(co_From.c_str(), co_To.c_str()) == 0;
}

// The copy takes the source's permissions and times; it is written under a new name beside
// the target and takes the target's name only when whole.
bool b_CopyFile(const std::string& co_From, const std::string& co_To, bool b_Replace)
{
    int i_From = open(co_From.c_str(), O_RDONLY | O_CLOEXEC);
    if (i_From < 0)
        return false;
    struct stat so;
    if (fstat(i_From, &so) != 0)
        return b_Abandon(i_From);
    if (S_ISDIR(so.st_mode))
    {
        errno = EISDIR;
        return b_Abandon(i_From);
    }
    std::string co_Copy;
    int i_To = -1;
    for (unsigned n = 0; n < sn_CopyAttempts && i_To < 0; ++n)
    {
        co_Copy = co_CopyName(co_To.c_str(), n);
        i_To = open(co_Copy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, so.st_mode & 07777);
        if (i_To < 0 && errno != EEXIST)
            break;
    }
    if (i_To < 0)
        return b_Abandon(i_From);
    struct timespec aso_Times[2] = {so.st_atim, so.st_mtim};
    bool b = b_CopyData(i_From, i_To) && futimens(i_To, aso_Times) == 0;
    b = (close(i_To) == 0) && b;
    b = b && (b_Replace ? rename(co_Copy.c_str(), co_To.c_str()) == 0
                        : b_RenameNoReplace(co_Copy, co_To));
    if (!b)
    {
        v_Discard(co_Copy);
        return b_Abandon(i_From);
    }
    close(i_From);
    return true;
}

// Across file systems: a copy, then the source goes; when it cannot, the copy goes instead.
bool b_Move(const std::string& co_From, const std::string& co_To)
{
    if (b_RenameNoReplace(co_From, co_To))
        return true;
    if (errno != EXDEV)
        return false;
    if (!b_CopyFile(co_From, co_To, false))
        return false;
    if (unlink(co_From.c_str()) == 0)
        return true;
    v_Discard(co_To);
    return false;
}

unsigned n_GetAttributes(const std::string& co_Name)
{
    struct stat so;
    return stat(co_Name.c_str(), &so) == 0 ? n_Attributes(so.st_mode) : P::sn_InvalidAttributes;
}

// Only read-only has a counterpart: no write permission; clearing it gives the owner write
// permission back.
bool b_SetAttributes(const std::string& co_Name, unsigned n_Win32)
{
    struct stat so;
    if (stat(co_Name.c_str(), &so) != 0)
        return false;
    mode_t n_Mode = so.st_mode & 07777;
    if (n_Win32 & P::sn_Win32ReadOnly)
        n_Mode &= ~0222u;
    else if (!(n_Mode & 0222))
        n_Mode |= S_IWUSR;
    return n_Mode == (so.st_mode & 07777) || chmod(co_Name.c_str(), n_Mode) == 0;
}

template <typename T>
std::string co_Native(const T* pct_Name)
{
    return CT_PlatformPath::sco_ToNative(pct_Name);
}
} // namespace

void CT_PlatformFile::sv_SetLastError(et_Error eo_Error)
{
    static constexpr int sai_Errors[] = {EBADF, EINVAL, EFBIG, EBADF, EBUSY};
    errno = sai_Errors[eo_Error];
}

HANDLE CT_PlatformFile::sh_Open(const char16_t* qcuz_Name, unsigned n_Access,
                                unsigned n_Disposition, unsigned n_Share, unsigned n_Attributes,
                                unsigned n_Flags)
{
    return h_Handle(
        i_Open(co_Native(qcuz_Name), n_Access, n_Disposition, n_Share, n_Attributes, n_Flags));
}

HANDLE CT_PlatformFile::sh_Open(const char* qccz_Name, unsigned n_Access, unsigned n_Disposition,
                                unsigned n_Share, unsigned n_Attributes, unsigned n_Flags)
{
    return h_Handle(
        i_Open(co_Native(qccz_Name), n_Access, n_Disposition, n_Share, n_Attributes, n_Flags));
}

// Delete-on-close removes the name only while it still names the file that was opened.
bool CT_PlatformFile::sb_Close(HANDLE h_File)
{
    CT_OpenFiles::st_Open so_Open = CT_OpenFiles::sro_Get().so_Remove(i_Fd(h_File));
    struct stat so;
    if (!so_Open.co_DeleteName.empty() && stat(so_Open.co_DeleteName.c_str(), &so) == 0 &&
        so.st_dev == so_Open.n_Device && so.st_ino == so_Open.n_Inode)
        unlink(so_Open.co_DeleteName.c_str());
    return close(i_Fd(h_File)) == 0;
}

bool CT_PlatformFile::sb_Read(HANDLE h_File, void* pv_Data, unsigned n_Count, unsigned* pn_Read)
{
    ssize_t i;
    do
        i = read(i_Fd(h_File), pv_Data, n_Count);
    while (i < 0 && errno == EINTR);
    *pn_Read = i > 0 ? static_cast<unsigned>(i) : 0;
    return i >= 0;
}

bool CT_PlatformFile::sb_Write(HANDLE h_File, const void* pcv_Data, unsigned n_Count,
                               unsigned* pn_Written)
{
    const char* pcc = static_cast<const char*>(pcv_Data);
    *pn_Written = 0;
    while (*pn_Written < n_Count)
    {
        ssize_t i = write(i_Fd(h_File), pcc + *pn_Written, n_Count - *pn_Written);
        if (i < 0 && errno == EINTR)
            continue;
        if (i <= 0)
            return false;
        *pn_Written += static_cast<unsigned>(i);
    }
    return true;
}

bool CT_PlatformFile::sb_Seek(HANDLE h_File, std::uint64_t n_Position)
{
    return lseek(i_Fd(h_File), static_cast<off_t>(n_Position), SEEK_SET) >= 0;
}

bool CT_PlatformFile::sb_SeekEnd(HANDLE h_File, std::uint64_t* pn_Position)
{
    off_t n = lseek(i_Fd(h_File), 0, SEEK_END);
    *pn_Position = n >= 0 ? static_cast<std::uint64_t>(n) : 0;
    return n >= 0;
}

bool CT_PlatformFile::sb_GetSize(HANDLE h_File, std::uint64_t* pn_Size)
{
    struct stat so;
    bool b = fstat(i_Fd(h_File), &so) == 0;
    *pn_Size = b ? static_cast<std::uint64_t>(so.st_size) : 0;
    return b;
}

bool CT_PlatformFile::sb_IsDisk(HANDLE h_File)
{
    struct stat so;
    return fstat(i_Fd(h_File), &so) == 0 && S_ISREG(so.st_mode);
}

bool CT_PlatformFile::sb_Flush(HANDLE h_File)
{
    return fsync(i_Fd(h_File)) == 0;
}

bool CT_PlatformFile::sb_SetEnd(HANDLE h_File)
{
    off_t n = lseek(i_Fd(h_File), 0, SEEK_CUR);
    return n >= 0 && ftruncate(i_Fd(h_File), n) == 0;
}

bool CT_PlatformFile::sb_Lock(HANDLE h_File, unsigned n_Offset, unsigned n_Length)
{
    return b_SetLock(h_File, b_IsWritable(h_File) ? F_WRLCK : F_RDLCK, n_Offset, n_Length);
}

bool CT_PlatformFile::sb_Unlock(HANDLE h_File, unsigned n_Offset, unsigned n_Length)
{
    return b_SetLock(h_File, F_UNLCK, n_Offset, n_Length);
}

bool CT_PlatformFile::sb_GetInfo(HANDLE h_File, BY_HANDLE_FILE_INFORMATION* pso_Info)
{
    struct statx so;
    if (statx(i_Fd(h_File), "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_BTIME, &so) != 0)
        return false;
    pso_Info->dwFileAttributes = n_Attributes(so.stx_mode);
    pso_Info->ftCreationTime =
        so_FileTime((so.stx_mask & STATX_BTIME) ? so.stx_btime : so.stx_ctime);
    pso_Info->ftLastAccessTime = so_FileTime(so.stx_atime);
    pso_Info->ftLastWriteTime = so_FileTime(so.stx_mtime);
    pso_Info->dwVolumeSerialNumber = static_cast<DWORD>(so.stx_dev_major << 20 | so.stx_dev_minor);
    pso_Info->nFileSizeHigh = static_cast<DWORD>(so.stx_size >> 32);
    pso_Info->nFileSizeLow = static_cast<DWORD>(so.stx_size);
    pso_Info->nNumberOfLinks = so.stx_nlink;
    pso_Info->nFileIndexHigh = static_cast<DWORD>(so.stx_ino >> 32);
    pso_Info->nFileIndexLow = static_cast<DWORD>(so.stx_ino);
    return true;
}

// The mapping object is the file itself; a writable one first makes the file as long as it.
bool CT_PlatformFile::sb_CreateMapping(HANDLE h_File, unsigned n_Size, bool b_Writable,
                                       HANDLE* ph_Mapping)
{
    *ph_Mapping = nullptr;
    std::uint64_t n_FileSize = 0;
    if (!sb_GetSize(h_File, &n_FileSize))
        return false;
    if (n_Size == 0)
    {
        errno = EINVAL;
        return false;
    }
    if (b_Writable && n_FileSize < n_Size && ftruncate(i_Fd(h_File), n_Size) != 0)
        return false;
    *ph_Mapping = h_File;
    return true;
}

void* CT_PlatformFile::spv_MapView(HANDLE h_Mapping, unsigned n_Size, bool b_Writable)
{
    void* pv = mmap(nullptr, n_Size, PROT_READ | (b_Writable ? PROT_WRITE : 0), MAP_SHARED,
                    i_Fd(h_Mapping), 0);
    return pv == MAP_FAILED ? nullptr : pv;
}

bool CT_PlatformFile::sb_UnmapView(void* pv_View, unsigned n_Size)
{
    return munmap(pv_View, n_Size) == 0;
}

bool CT_PlatformFile::sb_CloseMapping(HANDLE /*h_Mapping*/)
{
    return true;
}

void CT_PlatformFile::sv_FlushView(void* pv_View, unsigned n_Size)
{
    msync(pv_View, n_Size, MS_SYNC);
}

bool CT_PlatformFile::sb_Delete(const char16_t* qcuz_Name)
{
    return unlink(co_Native(qcuz_Name).c_str()) == 0;
}

bool CT_PlatformFile::sb_Delete(const char* qccz_Name)
{
    return unlink(co_Native(qccz_Name).c_str()) == 0;
}

bool CT_PlatformFile::sb_Move(const char16_t* qcuz_From, const char16_t* qcuz_To)
{
    return b_Move(co_Native(qcuz_From), co_Native(qcuz_To));
}

bool CT_PlatformFile::sb_Move(const char* qccz_From, const char* qccz_To)
{
    return b_Move(co_Native(qccz_From), co_Native(qccz_To));
}

bool CT_PlatformFile::sb_Copy(const char16_t* qcuz_From, const char16_t* qcuz_To)
{
    return b_CopyFile(co_Native(qcuz_From), co_Native(qcuz_To), true);
}

bool CT_PlatformFile::sb_Copy(const char* qccz_From, const char* qccz_To)
{
    return b_CopyFile(co_Native(qccz_From), co_Native(qccz_To), true);
}

unsigned CT_PlatformFile::sn_GetAttributes(const char16_t* qcuz_Name)
{
    return n_GetAttributes(co_Native(qcuz_Name));
}

unsigned CT_PlatformFile::sn_GetAttributes(const char* qccz_Name)
{
    return n_GetAttributes(co_Native(qccz_Name));
}

bool CT_PlatformFile::sb_SetAttributes(const char16_t* qcuz_Name, unsigned n_Attributes)
{
    return b_SetAttributes(co_Native(qcuz_Name), n_Attributes);
}

bool CT_PlatformFile::sb_SetAttributes(const char* qccz_Name, unsigned n_Attributes)
{
    return b_SetAttributes(co_Native(qccz_Name), n_Attributes);
}

void CT_PlatformFile::sv_SetHandleCount(unsigned /*n_Count*/) {}
#endif
