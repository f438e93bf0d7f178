// Files through the operating system: handles and their transfers, the file pointer, byte-range
// locks, memory mapping, and the operations on a file by its name (in two twins: 16-bit text
// for the NT family, 8-bit text in the ANSI code page before it).
//
// On Windows each is the Win32 call: CreateFileW/A, ReadFile, WriteFile, SetFilePointerEx,
// SetEndOfFile, FlushFileBuffers, LockFile, UnlockFile, GetFileInformationByHandle,
// CreateFileMappingA, MapViewOfFile, FlushViewOfFile, DeleteFileW/A, MoveFileExW (copy allowed) or
// MoveFileA, CopyFileW/A, Get/SetFileAttributesW/A, SetHandleCount.
//
// Natively a handle is a file descriptor, its number the HANDLE value. Opening keeps Windows'
// rules where POSIX has none of its own: share modes hold between the opens of this process (a
// conflicting open fails with EBUSY), directories do not open (EISDIR), write-through is
// O_DSYNC, delete-on-close unlinks the name at close, the access hints go to posix_fadvise, and
// the attributes other than read-only (a file created without write permission) have no effect.
// Locks are open-file-description locks (exclusive on a writable handle, shared on a read-only
// one), so they hold against other handles and processes that lock, not against plain reads
// and writes. Mapping is mmap of the whole size; a writable mapping first extends the file to
// it, as Windows does. Moves never replace an existing name (renameat2 RENAME_NOREPLACE; across
// file systems a copy, then the source is removed).
//
// On both builds a copy goes to a new name beside the target first and replaces the target
// only when it is whole, so that a failed copy leaves the target as it was.
//
// Failures leave the reason as the thread's last error (GetLastError, natively errno). Any
// thread may call any member; a handle is used by one thread at a time.
#pragma once

#include "Basis/Platform/WinTypes.h"

#include <cstdint>

class CT_PlatformFile
{
public:
    // Access and share bits and dispositions of sh_Open; its attribute and flag bits are those
    // of CT_File::vv_Open, each standing for one Win32 value.
    static constexpr unsigned sn_Read = 1, sn_Write = 2;
    static constexpr unsigned sn_OpenExisting = 1, sn_CreateAlways = 2, sn_OpenAlways = 3;

    // Raw Win32 attribute values, as Get/SetFileAttributes take them.
    static constexpr unsigned sn_Win32ReadOnly = 0x01, sn_Win32Directory = 0x10,
                              sn_Win32Archive = 0x20, sn_Win32Normal = 0x80;
    static constexpr unsigned sn_InvalidAttributes = 0xFFFFFFFFu;

    static HANDLE sh_Invalid() { return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1)); }

    // Failures that the library detects itself, set as the last error.
    enum et_Error
    {
        eo_ErrorInvalidHandle,
        eo_ErrorNegativeSeek,
        eo_ErrorTooLarge, // past the 4 GB that 32-bit offsets reach
        eo_ErrorReadOnly, // writing where only reading is allowed
        eo_ErrorMapped    // cutting a file while it is mapped
    };
    static void sv_SetLastError(et_Error eo_Error);

    // sh_Invalid() on failure.
    static HANDLE sh_Open(const char16_t* qcuz_Name, unsigned n_Access, unsigned n_Disposition,
                          unsigned n_Share, unsigned n_Attributes, unsigned n_Flags);
    static HANDLE sh_Open(const char* qccz_Name, unsigned n_Access, unsigned n_Disposition,
                          unsigned n_Share, unsigned n_Attributes, unsigned n_Flags);
    static bool sb_Close(HANDLE h_File);
    // Natively a read from a disk file, as ReadFile's, is short only at the end of the file; a
    // write writes everything or fails.
    static bool sb_Read(HANDLE h_File, void* pv_Data, unsigned n_Count, unsigned* pn_Read);
    static bool sb_Write(HANDLE h_File, const void* pcv_Data, unsigned n_Count,
                         unsigned* pn_Written);
    static bool sb_Seek(HANDLE h_File, std::uint64_t n_Position);
    // Moves the pointer to the end and tells where that is.
    static bool sb_SeekEnd(HANDLE h_File, std::uint64_t* pn_Position);
    static bool sb_GetSize(HANDLE h_File, std::uint64_t* pn_Size);
    // A file on a disk, as opposed to a pipe, a console or another device.
    static bool sb_IsDisk(HANDLE h_File);
    static bool sb_Flush(HANDLE h_File);
    // The file ends at the pointer.
    static bool sb_SetEnd(HANDLE h_File);
    static bool sb_Lock(HANDLE h_File, unsigned n_Offset, unsigned n_Length);
    static bool sb_Unlock(HANDLE h_File, unsigned n_Offset, unsigned n_Length);
    static bool sb_GetInfo(HANDLE h_File, BY_HANDLE_FILE_INFORMATION* pso_Info);

    // A mapping object of n_Size bytes, read-only or writable, and a view of all of it.
    static bool sb_CreateMapping(HANDLE h_File, unsigned n_Size, bool b_Writable,
                                 HANDLE* ph_Mapping);
    static void* spv_MapView(HANDLE h_Mapping, unsigned n_Size, bool b_Writable);
    static bool sb_UnmapView(void* pv_View, unsigned n_Size);
    static bool sb_CloseMapping(HANDLE h_Mapping);
    static void sv_FlushView(void* pv_View, unsigned n_Size);

    static bool sb_Delete(const char16_t* qcuz_Name);
    static bool sb_Delete(const char* qccz_Name);
    // Fails when the new name exists.
    static bool sb_Move(const char16_t* qcuz_From, const char16_t* qcuz_To);
    static bool sb_Move(const char* qccz_From, const char* qccz_To);
    // Replaces an existing target.
    static bool sb_Copy(const char16_t* qcuz_From, const char16_t* qcuz_To);
    static bool sb_Copy(const char* qccz_From, const char* qccz_To);
    // Raw Win32 attribute values; natively read-only, directory, archive (any other file).
    static unsigned sn_GetAttributes(const char16_t* qcuz_Name);
    static unsigned sn_GetAttributes(const char* qccz_Name);
    static bool sb_SetAttributes(const char16_t* qcuz_Name, unsigned n_Attributes);
    static bool sb_SetAttributes(const char* qccz_Name, unsigned n_Attributes);

    // Windows' SetHandleCount, which has no effect on Win32; natively nothing.
    static void sv_SetHandleCount(unsigned n_Count);
};
