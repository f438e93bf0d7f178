#include "Basis/File/File.h"

#include "Basis/File/FileSystem.h"
#include "Basis/Runtime/ErrorManager.h"
#include "Basis/Runtime/Failure.h"
#include "System/Charset/CharProperties.h"
#include "System/String/CString.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

static_assert(std::endian::native == std::endian::little,
              "16-bit text is little-endian on disk, as in memory");

namespace
{
constexpr const char* sqccz_File = "Foundation\\Basis\\File\\File";
constexpr unsigned sn_LineAccess = 164;
constexpr unsigned sn_LineRead = 297;
constexpr unsigned sn_LineWrite = 316;
constexpr unsigned sn_LineAppendSource = 341;
constexpr unsigned sn_LineAppendTarget = 350;
constexpr unsigned sn_LineAppendCopy = 366;
constexpr unsigned sn_LineUnicode = 392;
constexpr unsigned sn_LineReadLine = 437;
constexpr unsigned sn_LineWriteLine = 518;

constexpr unsigned sn_LargestBufferSize = 0xFFFFFC00u;
constexpr unsigned sn_DefaultChunk = 65536;
constexpr unsigned sn_UnicodeSample = 100;
constexpr unsigned sn_NameGrowth = 32;
constexpr unsigned sn_PlainChunkUnits = 256;
constexpr char16_t su_Replacement = 0xFFFD; // a final odd byte of 16-bit text

bool b_ErrorSet()
{
    const CT_ErrorManager* pco = CT_ErrorManager::spco_Get();
    return pco && pco->b_IsSetError();
}

// The line takes the text in its own class; its block is kept for the next line.
void v_SetLine(CT_String* pco_Line, const char* pcc, std::size_t n)
{
    pco_Line->v_Replace(pcc, static_cast<unsigned>(n), 0);
}

void v_SetLine(CT_String* pco_Line, const char16_t* pcu, std::size_t n)
{
    pco_Line->v_Replace(pcu, static_cast<unsigned>(n), 0);
}

// The first line feed among n units, or n.
std::size_t n_FindFeed(const char* pcc, std::size_t n)
{
    const void* pcv = n ? std::memchr(pcc, '\n', n) : nullptr;
    return pcv ? static_cast<std::size_t>(static_cast<const char*>(pcv) - pcc) : n;
}

std::size_t n_FindFeed(const char16_t* pcu, std::size_t n)
{
    return static_cast<std::size_t>(std::find(pcu, pcu + n, u'\n') - pcu);
}

// The line found: a carriage return right before its line feed dropped, stripped when asked.
// The count is of the line before stripping, with its line feed.
template <typename T>
unsigned n_Finish(CT_String* pco_Line, const CT_String* pcco_Strip, const T* pct, std::size_t n,
                  bool b_Fed)
{
    if (b_Fed && n && pct[n - 1] == T('\r'))
        --n;
    v_SetLine(pco_Line, pct, n);
    if (pcco_Strip)
        pco_Line->vv_Strip(pcco_Strip);
    return static_cast<unsigned>((n + (b_Fed ? 1 : 0)) * sizeof(T));
}

template <typename T>
void v_Empty(CT_String* pco_Line)
{
    static constexpr T st_Nothing = 0;
    v_SetLine(pco_Line, &st_Nothing, 0);
}
} // namespace

CT_File::CT_File()
    : n_LinePosition(0), n_BufferSize(0), eo_LastAccess(eo_TransferNone), b_Open(0),
      ec_OpenAccess(eo_AccessNone), ec_OpenModi(eo_OpenNone), ec_OpenShare(eo_ShareExclusive),
      n_OpenAttribut(0), n_OpenFlag(0)
{
    for (CT_UString* pco : {&co_FullName, &co_Drive, &co_Directory, &co_Name, &co_Extension})
        pco->vv_SetGrowth(sn_NameGrowth);
}

CT_File::CT_File(const CT_String* pcco_Name, unsigned n_BufferSize) : CT_File()
{
    v_Init(pcco_Name, n_BufferSize);
}

CT_File::CT_File(const CT_File* pcco_Other) : CT_File()
{
    v_Init(&pcco_Other->co_FullName, pcco_Other->n_BufferSize);
}

CT_File::~CT_File() = default;

void CT_File::vv_Set(const CT_File* pcco_Other)
{
    // The other file may be this one: its name is taken before anything is emptied.
    CT_UString co_Name(&pcco_Other->co_FullName);
    v_Init(&co_Name, pcco_Other->n_BufferSize);
}

void CT_File::vv_Set(const CT_String* pcco_Name, unsigned n_BufferSize)
{
    v_Init(pcco_Name, n_BufferSize);
}

void CT_File::vv_Set()
{
    v_Init(nullptr, 0);
}

void CT_File::v_Init(const CT_String* pcco_Name, unsigned n_Size)
{
    v_SetFullName(pcco_Name);
    n_BufferSize = static_cast<unsigned>(
        std::min<std::uint64_t>((n_Size + 1023ull) / 1024 * 1024, sn_LargestBufferSize));
    v_SetOpen(0);
    v_SetOpenParameters(eo_AccessNone, eo_OpenNone, eo_ShareExclusive, 0, 0);
}

void CT_File::v_SetFullName(const CT_String* pcco_Name)
{
    if (pcco_Name)
        co_FullName.v_Set(pcco_Name);
    else
        co_FullName.v_Set(u"", 0);
    CT_FileSystem::sv_SplitPath(&co_FullName, &co_Drive, &co_Directory, &co_Name, &co_Extension);
}

void CT_File::v_SetPart(CT_UString* pco_Part, const CT_String* pcco_Value)
{
    pco_Part->v_Set(pcco_Value);
    CT_FileSystem::sv_MakePath(&co_FullName, &co_Drive, &co_Directory, &co_Name, &co_Extension);
}

void CT_File::v_SetDrive(const CT_String* pcco_Drive)
{
    v_SetPart(&co_Drive, pcco_Drive);
}

void CT_File::v_SetDirectory(const CT_String* pcco_Directory)
{
    v_SetPart(&co_Directory, pcco_Directory);
}

void CT_File::v_SetName(const CT_String* pcco_Name)
{
    v_SetPart(&co_Name, pcco_Name);
}

void CT_File::v_SetExtension(const CT_String* pcco_Extension)
{
    v_SetPart(&co_Extension, pcco_Extension);
}

void CT_File::v_FullPath()
{
    CT_FileSystem::sv_FullPath(&co_FullName);
    v_SetFullName(&co_FullName);
}

int CT_File::b_IsExistent() const
{
    return CT_FileSystem::sb_IsExistent(&co_FullName);
}

void CT_File::v_SetOpen(int b)
{
    b_Open = b;
    eo_LastAccess = eo_TransferNone;
    co_LineBuffer.v_SetSize(0, 0);
    n_LinePosition = 0;
}

void CT_File::v_SetOpenParameters(et_Access eo_Access, et_Open eo_Open, et_Share eo_Share,
                                  unsigned n_Attributes, unsigned n_Flags)
{
    ec_OpenAccess = eo_Access;
    ec_OpenModi = eo_Open;
    ec_OpenShare = eo_Share;
    n_OpenAttribut = n_Attributes;
    n_OpenFlag = n_Flags;
}

void CT_File::v_SetAccess(et_FileAccess eo_Access)
{
    if (eo_Access == eo_LastAccess)
        return;
    vv_SetOffset(eo_OriginBegin, static_cast<int>(vn_GetOffset()));
    if (b_ErrorSet())
    {
        CT_Failure::sv_AddLocation(sqccz_File, sn_LineAccess);
        return;
    }
    eo_LastAccess = eo_Access;
}

unsigned CT_File::n_Read(CT_Buffer* pco_Buffer, unsigned n_Count)
{
    if (n_Count == 0)
        return 0;
    pco_Buffer->v_SetSize(n_Count, 0);
    unsigned n = vn_Read(pco_Buffer->qv_Get(), n_Count);
    pco_Buffer->v_SetUsedSize(n);
    if (n == 0 && b_ErrorSet())
        CT_Failure::sv_AddLocation(sqccz_File, sn_LineRead);
    return n;
}

unsigned CT_File::n_Write(const CT_Buffer* pco_Buffer, unsigned n_Count)
{
    unsigned n_Used = pco_Buffer->n_GetUsedSize();
    if (n_Count == 0 || n_Used == 0)
        return 0;
    unsigned n = vn_Write(pco_Buffer->qcv_Get(), std::min(n_Count, n_Used));
    if (n == 0)
        CT_Failure::sv_AddLocation(sqccz_File, sn_LineWrite);
    return n;
}

void CT_File::v_Append(const CT_File* pcco_Source, unsigned n_Chunk)
{
    // Opening and closing the source changes only its state, which it has again afterwards.
    CT_File* pco_Source = const_cast<CT_File*>(pcco_Source);
    pco_Source->vv_Open(eo_AccessRead, eo_OpenExisting, eo_ShareExclusive, sn_AttributeNormal, 0);
    if (!pco_Source->b_IsOpen())
    {
        CT_Failure::sv_AddLocation(sqccz_File, sn_LineAppendSource);
        return;
    }
    vv_Open(eo_AccessWrite, eo_OpenAppend, eo_ShareExclusive, sn_AttributeNormal, 0);
    if (!b_IsOpen())
    {
        CT_Failure::sv_AddLocation(sqccz_File, sn_LineAppendTarget);
        pco_Source->vv_Close();
        return;
    }
    CT_Buffer co_Chunk;
    unsigned n_Read;
    while ((n_Read = pco_Source->n_Read(&co_Chunk, n_Chunk ? n_Chunk : sn_DefaultChunk)) != 0)
        if (n_Write(&co_Chunk, n_Read) != n_Read)
            break;
    if (b_ErrorSet())
        CT_Failure::sv_AddLocation(sqccz_File, sn_LineAppendCopy);
    pco_Source->vv_Close();
    vv_Close();
}

// Read from the start, wherever the file stood.
int CT_File::b_IsUnicode()
{
    v_SetAccess(eo_TransferRead);
    unsigned n_Size = vn_GetSize();
    if (n_Size < 2 || n_Size % 2)
        return 0;
    vv_SetOffset(eo_OriginBegin, 0);
    unsigned char ac[sn_UnicodeSample];
    unsigned n = vn_Read(ac, sizeof ac);
    int b = n >= 2 && ac[0] == 0xFF && ac[1] == 0xFE
                ? 1
                : CT_CharProperties::sb_IsTextUnicode(ac, n, 0);
    if (n == 0 && b_ErrorSet())
        CT_Failure::sv_AddLocation(sqccz_File, sn_LineUnicode);
    vv_SetOffset(eo_OriginBegin, 0);
    return b;
}

template <typename T>
void CT_File::v_StartReading()
{
    v_SetAccess(eo_TransferRead);
    if constexpr (sizeof(T) == 1)
        return;
    if (vn_GetOffset() != 0)
        return;
    unsigned char ac[2] = {};
    if (vn_Read(ac, 2) == 2 && ac[0] == 0xFF && ac[1] == 0xFE)
        return;
    vv_SetOffset(eo_OriginBegin, 0);
}

template <typename T>
unsigned CT_File::n_ReadLine(CT_String* pco_Line, const CT_String* pcco_Strip, unsigned n_Chunk)
{
    v_StartReading<T>();
    T at_Chunk[sn_PlainChunkUnits];
    std::basic_string<T> co_Text;
    unsigned n_Bytes;
    while ((n_Bytes = vn_Read(at_Chunk, n_Chunk)) != 0)
    {
        std::size_t n_Units = n_Bytes / sizeof(T);
        std::size_t n_Feed = n_FindFeed(at_Chunk, n_Units);
        if (n_Feed == n_Units)
        {
            co_Text.append(at_Chunk, n_Units);
            if (n_Bytes % sizeof(T))
                co_Text += T(su_Replacement);
            continue;
        }
        // Back to just after the line feed.
        unsigned n_Back = n_Bytes - static_cast<unsigned>((n_Feed + 1) * sizeof(T));
        unsigned n_There = vn_GetOffset() - n_Back;
        vv_SetOffset(eo_OriginCurrent, -static_cast<int>(n_Back));
        if (vn_GetOffset() != n_There)
        {
            CT_Failure::sv_AddLocation(sqccz_File, sn_LineReadLine);
            v_Empty<T>(pco_Line);
            return 0;
        }
        if (co_Text.empty())
            return n_Finish(pco_Line, pcco_Strip, at_Chunk, n_Feed, true);
        co_Text.append(at_Chunk, n_Feed);
        return n_Finish(pco_Line, pcco_Strip, co_Text.data(), co_Text.size(), true);
    }
    if (b_ErrorSet())
        CT_Failure::sv_AddLocation(sqccz_File, sn_LineReadLine);
    return n_Finish(pco_Line, pcco_Strip, co_Text.data(), co_Text.size(), false);
}

void CT_File::v_CompactLines()
{
    unsigned n_Left = co_LineBuffer.n_GetUsedSize() - n_LinePosition;
    if (n_LinePosition == 0 || n_Left == 0)
    {
        co_LineBuffer.v_SetUsedSize(n_Left);
        n_LinePosition = 0;
        return;
    }
    unsigned char* pc = static_cast<unsigned char*>(co_LineBuffer.qv_Get());
    std::memmove(pc, pc + n_LinePosition, n_Left);
    co_LineBuffer.v_SetUsedSize(n_Left);
    n_LinePosition = 0;
}

bool CT_File::b_FillLines(unsigned n_Chunk)
{
    v_CompactLines();
    unsigned n_Left = co_LineBuffer.n_GetUsedSize();
    co_LineBuffer.v_SetMinSize(n_Left + n_Chunk, 1);
    unsigned char* pc = static_cast<unsigned char*>(co_LineBuffer.qv_Get());
    unsigned n = vn_Read(pc + n_Left, n_Chunk);
    co_LineBuffer.v_SetUsedSize(n_Left + n);
    return n != 0;
}

template <typename T>
const T* CT_File::pct_LineUnits(std::size_t* pn_Units)
{
    // Units are read in place, so they must stand on their own alignment.
    if (n_LinePosition % sizeof(T))
        v_CompactLines();
    const unsigned char* pcc = static_cast<const unsigned char*>(co_LineBuffer.qcv_Get());
    *pn_Units = (co_LineBuffer.n_GetUsedSize() - n_LinePosition) / sizeof(T);
    return reinterpret_cast<const T*>(pcc ? pcc + n_LinePosition : pcc);
}

// The common case first: the whole line in the chunk at hand, handed over from there.
template <typename T>
unsigned CT_File::n_ReadLineSequential(CT_String* pco_Line, const CT_String* pcco_Strip,
                                       unsigned n_Chunk)
{
    v_StartReading<T>();
    std::size_t n_Units;
    const T* pct = pct_LineUnits<T>(&n_Units);
    std::size_t n_Feed = n_FindFeed(pct, n_Units);
    if (n_Feed == n_Units)
        return n_ReadLineAcross<T>(pco_Line, pcco_Strip, n_Chunk);
    n_LinePosition += static_cast<unsigned>((n_Feed + 1) * sizeof(T));
    return n_Finish(pco_Line, pcco_Strip, pct, n_Feed, true);
}

template <typename T>
unsigned CT_File::n_ReadLineAcross(CT_String* pco_Line, const CT_String* pcco_Strip,
                                   unsigned n_Chunk)
{
    std::basic_string<T> co_Text;
    for (;;)
    {
        std::size_t n_Units;
        const T* pct = pct_LineUnits<T>(&n_Units);
        std::size_t n_Feed = n_FindFeed(pct, n_Units);
        if (n_Feed < n_Units)
        {
            n_LinePosition += static_cast<unsigned>((n_Feed + 1) * sizeof(T));
            co_Text.append(pct, n_Feed);
            return n_Finish(pco_Line, pcco_Strip, co_Text.data(), co_Text.size(), true);
        }
        if (n_Units)
            co_Text.append(pct, n_Units);
        n_LinePosition += static_cast<unsigned>(n_Units * sizeof(T));
        if (b_FillLines(n_Chunk))
            continue;
        if (co_LineBuffer.n_GetUsedSize() > n_LinePosition)
        {
            co_Text += T(su_Replacement);
            n_LinePosition = co_LineBuffer.n_GetUsedSize();
        }
        if (b_ErrorSet())
            CT_Failure::sv_AddLocation(sqccz_File, sn_LineReadLine);
        n_Finish(pco_Line, pcco_Strip, co_Text.data(), co_Text.size(), false);
        return 0;
    }
}

unsigned CT_File::n_ReadLineC(CT_String* pco_Line, const CT_String* pcco_Strip)
{
    return n_ReadLine<char>(pco_Line, pcco_Strip, 256);
}

unsigned CT_File::n_ReadLineU(CT_String* pco_Line, const CT_String* pcco_Strip)
{
    return n_ReadLine<char16_t>(pco_Line, pcco_Strip, 512);
}

unsigned CT_File::n_ReadLineCSequential(CT_String* pco_Line, const CT_String* pcco_Strip)
{
    return n_ReadLineSequential<char>(pco_Line, pcco_Strip, 4096);
}

unsigned CT_File::n_ReadLineUSequential(CT_String* pco_Line, const CT_String* pcco_Strip)
{
    return n_ReadLineSequential<char16_t>(pco_Line, pcco_Strip, 8192);
}

namespace
{
// Everything written, or the failure passed on.
bool b_WriteAll(CT_File* pco_File, const void* pcv, unsigned n)
{
    if (pco_File->vn_Write(pcv, n) == n)
        return true;
    CT_Failure::sv_AddLocation(sqccz_File, sn_LineWriteLine);
    return false;
}
} // namespace

void CT_File::v_WriteLineC(const CT_String* pcco_Line, int b_LineEnd)
{
    if (pcco_Line && pcco_Line->vn_GetLength())
    {
        CT_CString co_Text(pcco_Line, 0);
        if (!b_WriteAll(this, co_Text.qccz_Get(), co_Text.n_GetLength()))
            return;
    }
    if (b_LineEnd)
        b_WriteAll(this, "\r\n", 2);
}

void CT_File::v_WriteLineU(const CT_String* pcco_Line, int b_LineEnd)
{
    if (pcco_Line && pcco_Line->vn_GetLength())
    {
        CT_UString co_Text(pcco_Line);
        if (!b_WriteAll(this, co_Text.qcuz_Get(), co_Text.n_GetLength() * 2))
            return;
    }
    if (b_LineEnd)
        b_WriteAll(this, u"\r\n", 4);
}
