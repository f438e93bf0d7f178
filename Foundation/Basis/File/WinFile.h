// CT_WinFile: the one concrete CT_File, on the platform's file handles (Basis/Platform/File.h:
// Win32 handles on Windows, file descriptors natively), with attributes, copying, byte-range
// locks and memory mapping.
//
// The object keeps its own offset; the system's file pointer is brought to it before each
// transfer that needs it, so seeking costs no system call. Offsets are 32-bit: a transfer or
// seek that would carry the offset past 4 GB - 1 fails with the system's "file too large"
// error instead of wrapping. Reads from a disk file go through a read-ahead window of 64 KB,
// so that the line readers' small chunks do not each cost a system call; writes, cutting the
// file and mapping drop the window. Another handle's writes to bytes already in the window are
// seen once the window moves on.
//
// Mapping: v_CreateMap maps the whole file (read-only files) or a size grown in steps of 1 MB
// to cover the end asked for, which makes the file that long; transfers then go through the
// view at the kept offset. v_CloseMap (end) cuts the file at end; without an end it cuts it
// back to where its data ends: the length before the mapping grew it, or the end of the last
// write through the view, whichever is further, or a non-zero byte that the owner wrote at the
// view's address beyond both.
//
// Failures of system calls are reported as system errors naming the file ("%s", or "%s : %s"
// with the other name for a move or copy). A failed open leaves the file closed; a close always
// lets the handle go (the platform does, even when it reports a failure). Objects come from the
// class's pool. One object is used by one thread at a time.
#pragma once

#include "Basis/File/File.h"
#include "Basis/Platform/WinTypes.h"

#include <cstddef>
#include <cstdint>

struct _SHI_Pool;

class CT_EXPORT CT_WinFile : public CT_File
{
public:
    static constexpr unsigned sn_MapStep = 0x100000;

    CT_WinFile();
    CT_WinFile(const CT_String* pcco_Name, unsigned n_BufferSize);
    explicit CT_WinFile(const CT_File* pcco_Other);
    // Closes an open file and its mapping, reporting a failure like any other.
    ~CT_WinFile() override;

    // An open file is closed first.
    void vv_Set(const CT_File* pcco_Other) override;
    void vv_Set(const CT_String* pcco_Name, unsigned n_BufferSize) override;
    void vv_Set() override;
    // An open file is closed first.
    void vv_Open(et_Access eo_Access, et_Open eo_Open, et_Share eo_Share, unsigned n_Attributes,
                 unsigned n_Flags) override;
    // A closed file has nothing to close.
    void vv_Close() override;
    void vv_Flush() override;
    void vv_Remove() override;
    // Never replaces an existing file; afterwards the object is closed and names the new file,
    // with a buffer size of 16384.
    void vv_Rename(const CT_String* pcco_NewName) override;
    unsigned vn_Read(void* pv_Data, unsigned n_Count) override;
    unsigned vn_Write(const void* pcv_Data, unsigned n_Count) override;
    // The open file's length, else the named file's (CT_FileSystem::sn4_GetSize).
    unsigned vn_GetSize() const override;
    unsigned vn_GetOffset() const override { return n_Offset; }
    void vv_SetOffset(et_Origin eo_Origin, int i_Distance) override;
    int vb_IsEof() const override { return vn_GetOffset() >= vn_GetSize(); }

    HANDLE h_GetHandle() const { return h_File; }
    void* pv_GetMapping() const { return pv_Mapping; }
    int b_GetMapping() const { return pv_Mapping != nullptr; }
    unsigned n_GetMappingSize() const { return n_MapSize; }

    // Raw Win32 attribute values; natively read-only, directory and archive.
    void v_SetAttributes(unsigned n_Attributes);
    // 0xFFFFFFFF on error.
    unsigned n_GetAttributes() const;
    // Replaces an existing target; a failed copy leaves it as it was.
    void v_CopyFile(const CT_String* pcco_Target) const;
    void v_GetFileInfo(BY_HANDLE_FILE_INFORMATION* pso_Info) const;
    void v_LockFile(unsigned n_Offset, unsigned n_Length);
    void v_UnlockFile(unsigned n_Offset, unsigned n_Length);
    // The file ends at the kept offset. Not while mapped.
    void v_SetEndOfFile();

    void v_CreateMap(unsigned n_End);
    void v_CloseMap(unsigned n_End);
    // Writes the view back; reports nothing.
    void v_FlushMap();
    // At most up to the mapped size; 0 at or past it.
    unsigned n_ReadMap(unsigned n_Offset, void* pv_Data, unsigned n_Count) const;
    // Maps again, larger, when the bytes pass the mapped size. Not on a read-only mapping.
    unsigned n_WriteMap(unsigned n_Offset, const void* pcv_Data, unsigned n_Count);

    static void sv_SetHandleCount(unsigned n_Count);

    static void* operator new(std::size_t n_Size);
    static void operator delete(void* pv_Object);
    static _SHI_Pool* spso_GetMemPool();

private:
    void v_Null();
    void v_ReportConstruction() const;
    void v_CloseForSet();
    bool b_Close();
    bool b_IsReadOnly() const { return ec_GetOpenAccess() == eo_AccessRead; }
    // The length of the open file, else of the named one.
    std::uint64_t n_RealSize() const;
    // The system pointer brought to n_Position; failures reported at n_Line.
    bool b_Place(std::uint64_t n_Position, unsigned n_Line);
    bool b_ReadSystem(std::uint64_t n_Position, void* pv_Data, unsigned n_Count, unsigned* pn_Read);
    unsigned n_ReadFile(void* pv_Data, unsigned n_Count);
    unsigned n_WriteFile(const void* pcv_Data, unsigned n_Count);
    bool b_FillWindow(unsigned n_Position);
    void v_DropWindow() { co_Window.v_SetUsedSize(0); }
    bool b_Truncate(std::uint64_t n_End, unsigned n_Line);
    // Where the data of a writable mapping ends (see the class comment).
    unsigned n_MapDataEnd() const;
    bool b_Unmap(unsigned n_Line);
    bool b_CloseMap(unsigned n_End);

    HANDLE h_File;
    unsigned n_Offset;
    HANDLE h_Mapping;
    void* pv_Mapping;
    unsigned n_MapSize;
    // Where the system pointer stands (sn_Unknown after a failure), the read-ahead window with
    // the offset of its first byte, and the data end of a writable mapping so far.
    std::uint64_t n_Pointer;
    CT_Buffer co_Window;
    unsigned n_WindowStart;
    bool b_ReadAhead;
    bool b_MapWritable;
    unsigned n_MapData;

    static _SHI_Pool* spso_Pool;
};
