#include "Basis/File/WinFile.h"

#include "Basis/File/FileSystem.h"
#include "Basis/File/PathText.h"
#include "Basis/Platform/File.h"
#include "Basis/Platform/Heap.h"
#include "Basis/Platform/SystemText.h"
#include "Basis/Runtime/ErrorManager.h"
#include "Basis/Runtime/Failure.h"

#include <algorithm>
#include <cstring>

namespace
{
using CT_System = CT_PlatformFile;

static_assert(CT_File::eo_AccessRead == CT_System::sn_Read &&
              CT_File::eo_AccessWrite == CT_System::sn_Write &&
              CT_File::eo_ShareRead == CT_System::sn_Read &&
              CT_File::eo_ShareWrite == CT_System::sn_Write);
static_assert(CT_File::eo_OpenExisting == CT_System::sn_OpenExisting &&
              CT_File::eo_OpenCreate == CT_System::sn_CreateAlways &&
              CT_File::eo_OpenAppend == CT_System::sn_OpenAlways);

constexpr const char* sqccz_File = "Foundation\\Basis\\File\\WinFile";
constexpr unsigned sn_LineConstruct = 96;
constexpr unsigned sn_LineDestroy = 113;
constexpr unsigned sn_LineSet = 128;
constexpr unsigned sn_LineOpen = 171;
constexpr unsigned sn_LineClose = 226;
constexpr unsigned sn_LineFlush = 259;
constexpr unsigned sn_LineRemove = 271;
constexpr unsigned sn_LineRename = 284;
constexpr unsigned sn_LineRead = 313;
constexpr unsigned sn_LineWrite = 360;
constexpr unsigned sn_LineSeek = 401;
constexpr unsigned sn_LineAttributes = 431;
constexpr unsigned sn_LineCopy = 452;
constexpr unsigned sn_LineInfo = 465;
constexpr unsigned sn_LineLock = 478;
constexpr unsigned sn_LineUnlock = 489;
constexpr unsigned sn_LineEndOfFile = 502;
constexpr unsigned sn_LineCreateMap = 537;
constexpr unsigned sn_LineCloseMap = 598;
constexpr unsigned sn_LineWriteMap = 631;

constexpr std::uint64_t sn_MaxOffset = 0xFFFFFFFFu;
constexpr std::uint64_t sn_Unknown = ~std::uint64_t(0);
constexpr unsigned sn_WindowSize = 65536;
constexpr unsigned sn_RenamedBufferSize = 16384;

bool b_ErrorSet()
{
    const CT_ErrorManager* pco = CT_ErrorManager::spco_Get();
    return pco && pco->b_IsSetError();
}

// Right after a failed system call: its error, naming the file (and the other file of a move or
// copy), unless the thread has an error already; and the location in any case.
void v_Report(const CT_UString* pcco_Name, unsigned n_Line, const CT_String* pcco_Other = nullptr)
{
    unsigned n_Error = CT_PlatformSystemText::sn_GetLastError();
    CT_ErrorManager* pco = CT_ErrorManager::spco_Get();
    if (!pco)
        return;
    if (!pco->b_IsSetError())
    {
        CT_UString co_Other(pcco_Other);
        CT_PlatformSystemText::sv_SetLastError(n_Error);
        if (pcco_Other)
            pco->v_SetSystemError(u"%s : %s", pcco_Name->qcuz_Get(), co_Other.qcuz_Get());
        else
            pco->v_SetSystemError(u"%s", pcco_Name->qcuz_Get());
    }
    pco->v_AddLocation(sqccz_File, n_Line);
}

// A failure the class finds itself, reported as the system reports its own.
void v_Report(CT_System::et_Error eo_Error, const CT_UString* pcco_Name, unsigned n_Line)
{
    CT_System::sv_SetLastError(eo_Error);
    v_Report(pcco_Name, n_Line);
}

unsigned n_Clamped(std::uint64_t n)
{
    return static_cast<unsigned>(std::min(n, sn_MaxOffset));
}
} // namespace

CT_DEFINE_POOLED_ALLOCATION(CT_WinFile)

CT_WinFile::CT_WinFile()
{
    v_Null();
    v_ReportConstruction();
}

CT_WinFile::CT_WinFile(const CT_String* pcco_Name, unsigned n_BufferSize)
    : CT_File(pcco_Name, n_BufferSize)
{
    v_Null();
    v_ReportConstruction();
}

CT_WinFile::CT_WinFile(const CT_File* pcco_Other) : CT_File(pcco_Other)
{
    v_Null();
    v_ReportConstruction();
}

CT_WinFile::~CT_WinFile()
{
    if (b_IsOpen() && !b_Close())
        CT_Failure::sv_AddLocation(sqccz_File, sn_LineDestroy);
}

void CT_WinFile::v_Null()
{
    h_File = CT_System::sh_Invalid();
    n_Offset = 0;
    h_Mapping = nullptr;
    pv_Mapping = nullptr;
    n_MapSize = 0;
    n_Pointer = 0;
    co_Window.v_SetSize(0, 0);
    n_WindowStart = 0;
    b_ReadAhead = false;
    b_MapWritable = false;
    n_MapData = 0;
}

// A name that could not be converted has left its error.
void CT_WinFile::v_ReportConstruction() const
{
    if (b_ErrorSet())
        CT_Failure::sv_AddLocation(sqccz_File, sn_LineConstruct);
}

void CT_WinFile::v_CloseForSet()
{
    if (b_IsOpen() && !b_Close())
        CT_Failure::sv_AddLocation(sqccz_File, sn_LineSet);
    v_Null();
}

void CT_WinFile::vv_Set(const CT_File* pcco_Other)
{
    v_CloseForSet();
    CT_File::vv_Set(pcco_Other);
}

void CT_WinFile::vv_Set(const CT_String* pcco_Name, unsigned n_BufferSize)
{
    v_CloseForSet();
    CT_File::vv_Set(pcco_Name, n_BufferSize);
}

void CT_WinFile::vv_Set()
{
    v_CloseForSet();
    CT_File::vv_Set();
}

void CT_WinFile::vv_Open(et_Access eo_Access, et_Open eo_Open, et_Share eo_Share,
                         unsigned n_Attributes, unsigned n_Flags)
{
    if (b_IsOpen() && !b_Close())
    {
        CT_Failure::sv_AddLocation(sqccz_File, sn_LineOpen);
        return;
    }
    HANDLE h = CT_PathText::sx_Call(
        pcco_GetFullName(), [&](auto pct)
        { return CT_System::sh_Open(pct, eo_Access, eo_Open, eo_Share, n_Attributes, n_Flags); });
    if (h == CT_System::sh_Invalid())
    {
        v_Report(pcco_GetFullName(), sn_LineOpen);
        return;
    }
    std::uint64_t n_End = 0;
    if (eo_Open == eo_OpenAppend)
    {
        bool b = CT_System::sb_SeekEnd(h, &n_End);
        if (b && n_End > sn_MaxOffset)
        {
            CT_System::sv_SetLastError(CT_System::eo_ErrorTooLarge);
            b = false;
        }
        if (!b)
        {
            v_Report(pcco_GetFullName(), sn_LineOpen);
            CT_System::sb_Close(h);
            return;
        }
    }
    // An open that finds its file, or creates it, may leave a note as the last error.
    if (CT_PlatformSystemText::sn_GetLastError() != 0)
        CT_PlatformSystemText::sv_SetLastError(0);
    h_File = h;
    n_Offset = static_cast<unsigned>(n_End);
    n_Pointer = n_End;
    b_ReadAhead = CT_System::sb_IsDisk(h) && !(n_Flags & sn_FlagNoBuffering);
    v_DropWindow();
    v_SetOpen(1);
    v_SetOpenParameters(eo_Access, eo_Open, eo_Share, n_Attributes, n_Flags);
}

// The handle goes in any case: the platform lets it go even when it reports a failure.
bool CT_WinFile::b_Close()
{
    bool b_Unmapped = b_CloseMap(0);
    bool b_Closed = CT_System::sb_Close(h_File);
    if (!b_Closed)
        v_Report(pcco_GetFullName(), sn_LineClose);
    v_Null();
    v_SetOpen(0);
    v_SetOpenParameters(eo_AccessNone, eo_OpenNone, eo_ShareExclusive, 0, 0);
    return b_Unmapped && b_Closed;
}

void CT_WinFile::vv_Close()
{
    if (b_IsOpen())
        b_Close();
}

void CT_WinFile::vv_Flush()
{
    if (!CT_System::sb_Flush(h_File))
        v_Report(pcco_GetFullName(), sn_LineFlush);
}

void CT_WinFile::vv_Remove()
{
    if (!CT_PathText::sx_Call(pcco_GetFullName(),
                              [](auto pct) { return CT_System::sb_Delete(pct); }))
        v_Report(pcco_GetFullName(), sn_LineRemove);
}

void CT_WinFile::vv_Rename(const CT_String* pcco_NewName)
{
    if (!CT_PathText::sx_Call(pcco_GetFullName(), pcco_NewName,
                              [](auto pct_From, auto pct_To)
                              { return CT_System::sb_Move(pct_From, pct_To); }))
    {
        v_Report(pcco_GetFullName(), sn_LineRename, pcco_NewName);
        return;
    }
    CT_UString co_NewName(pcco_NewName);
    vv_Set(&co_NewName, sn_RenamedBufferSize);
}

unsigned CT_WinFile::vn_Read(void* pv_Data, unsigned n_Count)
{
    if (n_Count == 0)
        return 0;
    v_SetAccess(eo_TransferRead);
    unsigned n = pv_Mapping ? n_ReadMap(n_Offset, pv_Data, n_Count) : n_ReadFile(pv_Data, n_Count);
    n_Offset += n;
    return n;
}

bool CT_WinFile::b_Place(std::uint64_t n_Position, unsigned n_Line)
{
    if (n_Pointer == n_Position)
        return true;
    if (!CT_System::sb_Seek(h_File, n_Position))
    {
        v_Report(pcco_GetFullName(), n_Line);
        n_Pointer = sn_Unknown;
        return false;
    }
    n_Pointer = n_Position;
    return true;
}

bool CT_WinFile::b_ReadSystem(std::uint64_t n_Position, void* pv_Data, unsigned n_Count,
                              unsigned* pn_Read)
{
    if (!b_Place(n_Position, sn_LineRead))
        return false;
    if (!CT_System::sb_Read(h_File, pv_Data, n_Count, pn_Read))
    {
        v_Report(pcco_GetFullName(), sn_LineRead);
        n_Pointer = sn_Unknown;
        return false;
    }
    n_Pointer += *pn_Read;
    return true;
}

bool CT_WinFile::b_FillWindow(unsigned n_Position)
{
    co_Window.v_SetMinSize(sn_WindowSize, 0);
    unsigned n_Read = 0;
    bool b = b_ReadSystem(n_Position, co_Window.qv_Get(), sn_WindowSize, &n_Read);
    co_Window.v_SetUsedSize(n_Read);
    n_WindowStart = n_Position;
    return b;
}

// Offsets stop at 4 GB - 1: a read there is the end of the file, or "too large" when the file
// goes on.
unsigned CT_WinFile::n_ReadFile(void* pv_Data, unsigned n_Count)
{
    unsigned n_Room = static_cast<unsigned>(sn_MaxOffset - n_Offset);
    std::uint64_t n_Size = 0;
    if (n_Room == 0 && CT_System::sb_GetSize(h_File, &n_Size) && n_Size > sn_MaxOffset)
        v_Report(CT_System::eo_ErrorTooLarge, pcco_GetFullName(), sn_LineRead);
    n_Count = std::min(n_Count, n_Room);
    unsigned char* pc = static_cast<unsigned char*>(pv_Data);
    unsigned n_Done = 0;
    while (n_Done < n_Count)
    {
        std::uint64_t n_Position = std::uint64_t(n_Offset) + n_Done;
        std::uint64_t n_WindowEnd = std::uint64_t(n_WindowStart) + co_Window.n_GetUsedSize();
        if (n_Position >= n_WindowStart && n_Position < n_WindowEnd)
        {
            unsigned n = static_cast<unsigned>(
                std::min<std::uint64_t>(n_Count - n_Done, n_WindowEnd - n_Position));
            std::memcpy(pc + n_Done,
                        static_cast<const unsigned char*>(co_Window.qcv_Get()) +
                            (n_Position - n_WindowStart),
                        n);
            n_Done += n;
            continue;
        }
        if (!b_ReadAhead || n_Count - n_Done >= sn_WindowSize)
        {
            unsigned n_Read = 0;
            if (!b_ReadSystem(n_Position, pc + n_Done, n_Count - n_Done, &n_Read))
                return 0;
            return n_Done + n_Read;
        }
        if (!b_FillWindow(static_cast<unsigned>(n_Position)))
            return 0;
        if (co_Window.n_GetUsedSize() == 0)
            break;
    }
    return n_Done;
}

unsigned CT_WinFile::vn_Write(const void* pcv_Data, unsigned n_Count)
{
    v_SetAccess(eo_TransferWrite);
    if (n_Count == 0)
        return 0;
    if (std::uint64_t(n_Offset) + n_Count > sn_MaxOffset)
    {
        v_Report(CT_System::eo_ErrorTooLarge, pcco_GetFullName(), sn_LineWrite);
        return 0;
    }
    unsigned n =
        pv_Mapping ? n_WriteMap(n_Offset, pcv_Data, n_Count) : n_WriteFile(pcv_Data, n_Count);
    n_Offset += n;
    return n;
}

unsigned CT_WinFile::n_WriteFile(const void* pcv_Data, unsigned n_Count)
{
    v_DropWindow();
    if (!b_Place(n_Offset, sn_LineWrite))
        return 0;
    unsigned n = 0;
    bool b = CT_System::sb_Write(h_File, pcv_Data, n_Count, &n);
    n_Pointer += n;
    if (b)
        return n;
    v_Report(pcco_GetFullName(), sn_LineWrite);
    n_Pointer = sn_Unknown;
    return 0;
}

std::uint64_t CT_WinFile::n_RealSize() const
{
    std::uint64_t n = 0;
    if (b_IsOpen() && CT_System::sb_GetSize(h_File, &n))
        return n;
    return CT_FileSystem::sn4_GetSize(pcco_GetFullName());
}

unsigned CT_WinFile::vn_GetSize() const
{
    return n_Clamped(n_RealSize());
}

void CT_WinFile::vv_SetOffset(et_Origin eo_Origin, int i_Distance)
{
    if (!b_IsOpen())
    {
        v_Report(CT_System::eo_ErrorInvalidHandle, pcco_GetFullName(), sn_LineSeek);
        return;
    }
    std::int64_t i_Target =
        eo_Origin == eo_OriginBegin
            ? std::int64_t(static_cast<unsigned>(i_Distance))
            : std::int64_t(eo_Origin == eo_OriginCurrent ? n_Offset : n_RealSize()) + i_Distance;
    if (i_Target < 0 || std::uint64_t(i_Target) > sn_MaxOffset)
    {
        v_Report(i_Target < 0 ? CT_System::eo_ErrorNegativeSeek : CT_System::eo_ErrorTooLarge,
                 pcco_GetFullName(), sn_LineSeek);
        return;
    }
    n_Offset = static_cast<unsigned>(i_Target);
}

void CT_WinFile::v_SetAttributes(unsigned n_Attributes)
{
    if (!CT_PathText::sx_Call(pcco_GetFullName(), [&](auto pct)
                              { return CT_System::sb_SetAttributes(pct, n_Attributes); }))
        v_Report(pcco_GetFullName(), sn_LineAttributes);
}

unsigned CT_WinFile::n_GetAttributes() const
{
    unsigned n = CT_PathText::sx_Call(pcco_GetFullName(),
                                      [](auto pct) { return CT_System::sn_GetAttributes(pct); });
    if (n == CT_System::sn_InvalidAttributes)
        v_Report(pcco_GetFullName(), sn_LineAttributes);
    return n;
}

void CT_WinFile::v_CopyFile(const CT_String* pcco_Target) const
{
    if (!CT_PathText::sx_Call(pcco_GetFullName(), pcco_Target,
                              [](auto pct_From, auto pct_To)
                              { return CT_System::sb_Copy(pct_From, pct_To); }))
        v_Report(pcco_GetFullName(), sn_LineCopy, pcco_Target);
}

void CT_WinFile::v_GetFileInfo(BY_HANDLE_FILE_INFORMATION* pso_Info) const
{
    if (!CT_System::sb_GetInfo(h_File, pso_Info))
        v_Report(pcco_GetFullName(), sn_LineInfo);
}

void CT_WinFile::v_LockFile(unsigned n_Offset, unsigned n_Length)
{
    if (!CT_System::sb_Lock(h_File, n_Offset, n_Length))
        v_Report(pcco_GetFullName(), sn_LineLock);
}

void CT_WinFile::v_UnlockFile(unsigned n_Offset, unsigned n_Length)
{
    if (!CT_System::sb_Unlock(h_File, n_Offset, n_Length))
        v_Report(pcco_GetFullName(), sn_LineUnlock);
}

void CT_WinFile::v_SetEndOfFile()
{
    if (pv_Mapping)
    {
        v_Report(CT_System::eo_ErrorMapped, pcco_GetFullName(), sn_LineEndOfFile);
        return;
    }
    b_Truncate(n_Offset, sn_LineEndOfFile);
}

bool CT_WinFile::b_Truncate(std::uint64_t n_End, unsigned n_Line)
{
    v_DropWindow();
    if (!b_Place(n_End, n_Line))
        return false;
    if (CT_System::sb_SetEnd(h_File))
        return true;
    v_Report(pcco_GetFullName(), n_Line);
    return false;
}

void CT_WinFile::v_CreateMap(unsigned n_End)
{
    std::uint64_t n_FileSize = 0;
    if (!b_IsOpen())
        CT_System::sv_SetLastError(CT_System::eo_ErrorInvalidHandle);
    if (!b_IsOpen() || !CT_System::sb_GetSize(h_File, &n_FileSize))
    {
        v_Report(pcco_GetFullName(), sn_LineCreateMap);
        return;
    }
    bool b_Writable = !b_IsReadOnly();
    std::uint64_t n_Size = n_FileSize;
    if (b_Writable && n_End != sn_All)
        for (n_Size = n_MapSize; n_Size < std::max<std::uint64_t>(n_End, n_FileSize);)
            n_Size += sn_MapStep;
    if (n_Size > sn_MaxOffset)
    {
        v_Report(CT_System::eo_ErrorTooLarge, pcco_GetFullName(), sn_LineCreateMap);
        return;
    }
    // A present view gives way to the new one; the data end carries over.
    unsigned n_Data = pv_Mapping ? n_MapDataEnd() : n_Clamped(n_FileSize);
    if (pv_Mapping && !b_Unmap(sn_LineCreateMap))
        return;
    v_DropWindow();
    HANDLE h_New = nullptr;
    void* pv = nullptr;
    if (CT_System::sb_CreateMapping(h_File, static_cast<unsigned>(n_Size), b_Writable, &h_New))
        pv = CT_System::spv_MapView(h_New, static_cast<unsigned>(n_Size), b_Writable);
    if (!pv)
    {
        v_Report(pcco_GetFullName(), sn_LineCreateMap);
        if (h_New)
            CT_System::sb_CloseMapping(h_New);
        // Creating the mapping may have made the file longer already.
        if (b_Writable)
            b_Truncate(n_Data, sn_LineCreateMap);
        return;
    }
    h_Mapping = h_New;
    pv_Mapping = pv;
    n_MapSize = static_cast<unsigned>(n_Size);
    b_MapWritable = b_Writable;
    n_MapData = n_Data;
}

unsigned CT_WinFile::n_MapDataEnd() const
{
    if (!pv_Mapping || !b_MapWritable)
        return n_MapData;
    const unsigned char* pcc = static_cast<const unsigned char*>(pv_Mapping);
    unsigned n = n_MapSize;
    while (n > n_MapData && pcc[n - 1] == 0)
        --n;
    return std::max(n, n_MapData);
}

bool CT_WinFile::b_Unmap(unsigned n_Line)
{
    bool b_Unmapped = CT_System::sb_UnmapView(pv_Mapping, n_MapSize);
    if (!b_Unmapped)
        v_Report(pcco_GetFullName(), n_Line);
    bool b_Closed = CT_System::sb_CloseMapping(h_Mapping);
    if (!b_Closed)
        v_Report(pcco_GetFullName(), n_Line);
    h_Mapping = nullptr;
    pv_Mapping = nullptr;
    n_MapSize = 0;
    return b_Unmapped && b_Closed;
}

bool CT_WinFile::b_CloseMap(unsigned n_End)
{
    bool b_Written = pv_Mapping && b_MapWritable;
    unsigned n_Data = n_MapDataEnd();
    if (pv_Mapping && !b_Unmap(sn_LineCloseMap))
        return false;
    if (!b_IsOpen() || b_IsReadOnly() || (n_End == 0 && !b_Written))
        return true;
    return b_Truncate(n_End ? n_End : n_Data, sn_LineCloseMap);
}

void CT_WinFile::v_CloseMap(unsigned n_End)
{
    b_CloseMap(n_End);
}

void CT_WinFile::v_FlushMap()
{
    if (pv_Mapping)
        CT_System::sv_FlushView(pv_Mapping, n_MapSize);
}

unsigned CT_WinFile::n_ReadMap(unsigned n_Position, void* pv_Data, unsigned n_Count) const
{
    if (!pv_Mapping || n_Position >= n_MapSize)
        return 0;
    unsigned n = std::min(n_Count, n_MapSize - n_Position);
    std::memcpy(pv_Data, static_cast<const unsigned char*>(pv_Mapping) + n_Position, n);
    return n;
}

unsigned CT_WinFile::n_WriteMap(unsigned n_Position, const void* pcv_Data, unsigned n_Count)
{
    if (n_Count == 0)
        return 0;
    std::uint64_t n_End = std::uint64_t(n_Position) + n_Count;
    if (b_IsReadOnly() || n_End > sn_MaxOffset)
    {
        v_Report(b_IsReadOnly() ? CT_System::eo_ErrorReadOnly : CT_System::eo_ErrorTooLarge,
                 pcco_GetFullName(), sn_LineWriteMap);
        return 0;
    }
    if (n_End > n_MapSize)
    {
        if (b_CloseMap(0))
            v_CreateMap(static_cast<unsigned>(n_End));
        if (!pv_Mapping)
        {
            CT_Failure::sv_AddLocation(sqccz_File, sn_LineWriteMap);
            return 0;
        }
    }
    std::memcpy(static_cast<unsigned char*>(pv_Mapping) + n_Position, pcv_Data, n_Count);
    n_MapData = std::max(n_MapData, static_cast<unsigned>(n_End));
    return n_Count;
}

void CT_WinFile::sv_SetHandleCount(unsigned n_Count)
{
    CT_System::sv_SetHandleCount(n_Count);
}
