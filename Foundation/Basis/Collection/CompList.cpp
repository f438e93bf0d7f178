#include "Basis/Collection/CompList.h"

#include "Basis/Platform/Heap.h"

#include <cassert>
#include <cstdint>
#include <cstring>

namespace
{
constexpr unsigned sn_Magic = 0x0130B835u;
constexpr unsigned sn_NoHandle = 0xFFFFFFFFu;

// Header fields.
constexpr unsigned sn_EndAt = 4;
constexpr unsigned sn_CodePageAt = 8;
constexpr unsigned sn_EmptyHandleAt = 12;
constexpr unsigned sn_JumpAt = 16;
constexpr unsigned sn_Letters = 26;
constexpr unsigned sn_EntriesAt = 120;
constexpr unsigned sn_ByteOrderAt = 124;
constexpr unsigned sn_ElementSizeAt = 125;
constexpr unsigned sn_HandleSizeAt = 126;
constexpr unsigned sn_FlagsAt = 127;
constexpr unsigned sn_OneAt = 128;
constexpr unsigned sn_EmptyStringFlag = 1;
constexpr unsigned sn_LongOffsetFlag = 2;

// Stream markers.
constexpr unsigned sn_InnerEnd = 10;
constexpr unsigned sn_Alternative = 13;
constexpr unsigned sn_Terminator = 25;
constexpr unsigned sn_FinalEnd = 26;

// With 2-byte offsets the image stays this small, so that no offset can outgrow them.
constexpr std::uint64_t sn_ShortOffsetEnd = CT_CompList::sn_HeaderSize + 0x10000u;
constexpr std::uint64_t sn_LongOffsetEnd = 0xFFFFFFFFu;

int sb_IsSize(unsigned n_Size)
{
    return n_Size == 1 || n_Size == 2 || n_Size == 4;
}

int sb_IsEnd(unsigned n_Element)
{
    return n_Element == sn_InnerEnd || n_Element == sn_FinalEnd;
}

int sb_IsMarker(unsigned n_Element)
{
    return sb_IsEnd(n_Element) || n_Element == sn_Alternative || n_Element == sn_Terminator;
}

// The jump table slot of a first element, or sn_Letters when it is no lower-case letter.
unsigned sn_Letter(unsigned n_Element)
{
    return n_Element >= 'a' && n_Element <= 'z' ? n_Element - 'a' : sn_Letters;
}

// Numbers in the image: little-endian, whatever the machine.
unsigned sn_Read(const unsigned char* pc, unsigned n_Size)
{
    unsigned n_Value = 0;
    for (unsigned n = n_Size; n-- > 0;)
        n_Value = n_Value << 8 | pc[n];
    return n_Value;
}

void sv_Write(unsigned char* pc, unsigned n_Size, unsigned n_Value)
{
    for (unsigned n = 0; n < n_Size; ++n, n_Value >>= 8)
        pc[n] = static_cast<unsigned char>(n_Value);
}

// An element of the caller's string, in the machine's own order.
unsigned sn_StringElement(const char* pc, unsigned n_Size)
{
    switch (n_Size)
    {
    case 1:
        return static_cast<unsigned char>(*pc);
    case 2:
    {
        std::uint16_t n;
        std::memcpy(&n, pc, 2);
        return n;
    }
    default:
    {
        std::uint32_t n;
        std::memcpy(&n, pc, 4);
        return n;
    }
    }
}

// The bytes of a string before its zero, or sn_Unaddable when it holds a marker value, which
// the stream would read as a marker.
constexpr std::uint64_t sn_Unaddable = ~std::uint64_t(0);

std::uint64_t sn_AddableBytes(const char* pc, unsigned n_Size)
{
    std::uint64_t n = 0;
    for (unsigned c; (c = sn_StringElement(pc + n, n_Size)) != 0; n += n_Size)
        if (sb_IsMarker(c))
            return sn_Unaddable;
    return n;
}

// The run table of an unpacked image. Run r's start is the stream start plus the sizes of the
// runs before it; the sizes are kept in a Fenwick tree (node k, from 1, stored at a[k - 1],
// holds the sizes of runs k - low(k) to k - 1), so that a gap and a start both cost O(log runs).
// While an image is being unpacked or packed the same array holds the run starts instead.
unsigned sn_Low(unsigned k)
{
    return k & (0u - k);
}

unsigned sn_SizesBefore(const unsigned* pa, unsigned n_Run)
{
    unsigned n_Sum = 0;
    for (unsigned k = n_Run; k > 0; k -= sn_Low(k))
        n_Sum += pa[k - 1];
    return n_Sum;
}

void sv_GrowRun(unsigned* pa, unsigned n_Runs, unsigned n_Run, unsigned n_Count)
{
    for (unsigned k = n_Run + 1; k <= n_Runs; k += sn_Low(k))
        pa[k - 1] += n_Count;
}

void sv_StartsToTree(unsigned* pa, unsigned n_Runs, unsigned n_StreamEnd)
{
    for (unsigned n = 0; n < n_Runs; ++n)
        pa[n] = (n + 1 < n_Runs ? pa[n + 1] : n_StreamEnd) - pa[n];
    for (unsigned k = 1; k <= n_Runs; ++k)
        if (k + sn_Low(k) <= n_Runs)
            pa[k + sn_Low(k) - 1] += pa[k - 1];
}

void sv_TreeToStarts(unsigned* pa, unsigned n_Runs)
{
    for (unsigned k = n_Runs; k > 0; --k)
        if (k + sn_Low(k) <= n_Runs)
            pa[k + sn_Low(k) - 1] -= pa[k - 1];
    unsigned n_Start = CT_CompList::sn_HeaderSize;
    for (unsigned n = 0; n < n_Runs; ++n)
    {
        unsigned n_Size = pa[n];
        pa[n] = n_Start;
        n_Start += n_Size;
    }
}
} // namespace

// The bytes of an image as one operation reads them.
struct CT_CompList::st_View
{
    const unsigned char* pcc_Image;
    unsigned n_Limit;
    unsigned n_ElementSize, n_HandleSize, n_OffsetSize;

    unsigned n_Number(unsigned n_Position, unsigned n_Size) const
    {
        return sn_Read(pcc_Image + n_Position, n_Size);
    }
    unsigned n_Step(unsigned n_Element) const
    {
        return n_ElementSize + (sb_IsEnd(n_Element)           ? n_HandleSize
                                : n_Element == sn_Alternative ? n_OffsetSize
                                                              : 0);
    }
    // The terminator at or past the limit, and for a marker whose number is cut off by it.
    unsigned n_Get(unsigned n_Position) const
    {
        if (n_Position >= n_Limit || n_Limit - n_Position < n_ElementSize)
            return sn_Terminator;
        unsigned n_Element = n_Number(n_Position, n_ElementSize);
        return n_Limit - n_Position < n_Step(n_Element) ? sn_Terminator : n_Element;
    }
};

// ---- construction and loading ----

CT_CompList::CT_CompList(et_ElementSize eo_ElementSize, unsigned n_HandleSize,
                         int b_EmptyStringSupport, int b_LongOffsetSupport, unsigned n_Growth,
                         unsigned n_CodePage)
{
    v_Init(eo_ElementSize, n_HandleSize, b_EmptyStringSupport, b_LongOffsetSupport, n_Growth,
           n_CodePage);
}

CT_CompList::CT_CompList(const CT_CompList* pcco_Other)
{
    v_Load(pcco_Other);
}

CT_CompList::CT_CompList(const CT_Buffer* pcco_Buffer)
{
    v_Load(pcco_Buffer);
}

CT_CompList& CT_CompList::operator=(const CT_CompList& co_Other)
{
    v_Set(&co_Other);
    return *this;
}

void CT_CompList::v_Set(et_ElementSize eo_ElementSize, unsigned n_HandleSize,
                        int b_EmptyStringSupport, int b_LongOffsetSupport, unsigned n_Growth,
                        unsigned n_CodePage)
{
    v_Init(eo_ElementSize, n_HandleSize, b_EmptyStringSupport, b_LongOffsetSupport, n_Growth,
           n_CodePage);
}

void CT_CompList::v_Set(const CT_CompList* pcco_Other)
{
    if (pcco_Other == this)
        return;
    v_Load(pcco_Other);
    if (b_Exposed)
        v_Pack();
}

void CT_CompList::v_Set(const CT_Buffer* pcco_Buffer)
{
    v_Load(pcco_Buffer);
}

void* CT_CompList::operator new(std::size_t n_Size)
{
    return CT_Heap::spv_Alloc(n_Size);
}

void CT_CompList::operator delete(void* pv_Object)
{
    CT_Heap::sv_Free(pv_Object);
}

void CT_CompList::v_Init(unsigned n_ElementSize, unsigned n_HandleSize, int b_EmptyStringSupport,
                         int b_LongOffsetSupport, unsigned n_Growth, unsigned n_CodePage)
{
    assert(sb_IsSize(n_ElementSize) && sb_IsSize(n_HandleSize) && "sizes are 1, 2 or 4 bytes");
    const unsigned n_End = sn_HeaderSize + n_ElementSize;
    co_Buffer.v_Set(n_End, n_Growth < sn_MinGrowth ? sn_MinGrowth : n_Growth, 0);
    co_Buffer.v_Replace(static_cast<unsigned char>(0), n_End, 0);
    unsigned char* pc = pc_Image();
    sv_Write(pc, 4, sn_Magic);
    sv_Write(pc + sn_EndAt, 4, n_End);
    sv_Write(pc + sn_CodePageAt, 4, n_CodePage);
    sv_Write(pc + sn_EmptyHandleAt, 4, sn_NoHandle);
    pc[sn_ElementSizeAt] = static_cast<unsigned char>(n_ElementSize);
    pc[sn_HandleSizeAt] = static_cast<unsigned char>(n_HandleSize);
    pc[sn_FlagsAt] = static_cast<unsigned char>((b_EmptyStringSupport ? sn_EmptyStringFlag : 0) |
                                                (b_LongOffsetSupport ? sn_LongOffsetFlag : 0));
    pc[sn_OneAt] = 1;
    sv_Write(pc + sn_HeaderSize, n_ElementSize, sn_Terminator);
    b_Changed = 0;
    n_OffsetSize = b_LongOffsetSupport ? 4 : 2;
    v_DropRuns();
}

void CT_CompList::v_Load(const CT_CompList* pcco_Other)
{
    co_Buffer.v_Set(&pcco_Other->co_Buffer);
    b_Changed = pcco_Other->b_Changed;
    n_OffsetSize = pcco_Other->n_OffsetSize;
    co_Runs.v_Set(&pcco_Other->co_Runs);
    n_Runs = pcco_Other->n_Runs;
    b_Unpacked = pcco_Other->b_Unpacked;
    n_Searches = pcco_Other->n_Searches;
}

void CT_CompList::v_Load(const CT_Buffer* pcco_Buffer)
{
    co_Buffer.v_Set(pcco_Buffer);
    b_Changed = 0;
    n_OffsetSize = n_HeaderByte(sn_FlagsAt) & sn_LongOffsetFlag ? 4 : 2;
    v_DropRuns();
}

void CT_CompList::v_DropRuns()
{
    co_Runs.v_Set(0u, CT_Buffer::sn_DefaultGrowth, 0);
    n_Runs = 0;
    b_Unpacked = 0;
    n_Searches = 0;
}

// ---- reading the image ----

unsigned CT_CompList::n_HeaderByte(unsigned n_Offset) const
{
    return co_Buffer.n_GetUsedSize() >= sn_HeaderSize ? pcc_Image()[n_Offset] : 0;
}

unsigned CT_CompList::n_HeaderNumber(unsigned n_Offset) const
{
    return co_Buffer.n_GetUsedSize() >= sn_HeaderSize ? sn_Read(pcc_Image() + n_Offset, 4) : 0;
}

int CT_CompList::b_IsUsable() const
{
    return co_Buffer.n_GetUsedSize() >= sn_HeaderSize && n_HeaderNumber(0) == sn_Magic &&
           !b_IsInNetworkByteOrder() && sb_IsSize(n_GetElementSize()) &&
           sb_IsSize(n_GetHandleSize());
}

CT_CompList::st_View CT_CompList::so_View() const
{
    unsigned n_Used = co_Buffer.n_GetUsedSize();
    unsigned n_End = n_GetEnd();
    return {pcc_Image(), n_End < n_Used ? n_End : n_Used, n_GetElementSize(), n_GetHandleSize(),
            n_OffsetSize};
}

unsigned CT_CompList::n_RunStart(unsigned n_Run) const
{
    return sn_HeaderSize + sn_SizesBefore(pca_Runs(), n_Run);
}

unsigned CT_CompList::n_Follow(const st_View& so, unsigned n_Marker, unsigned* pn_Run) const
{
    unsigned n = so.n_Number(n_Marker + so.n_ElementSize, so.n_OffsetSize);
    if (b_Unpacked)
    {
        *pn_Run = n;
        return n_RunStart(n);
    }
    return n < so.n_Limit - n_Marker ? n_Marker + n : so.n_Limit;
}

unsigned CT_CompList::n_StartOf(const st_View& so, unsigned n_FirstElement, unsigned* pn_Run) const
{
    *pn_Run = 0;
    unsigned n_Letter = sn_Letter(n_FirstElement);
    unsigned n = n_Letter < sn_Letters ? so.n_Number(sn_JumpAt + 4 * n_Letter, 4) : 0;
    if (n == 0)
        return sn_HeaderSize;
    if (b_Unpacked)
    {
        *pn_Run = n - 1;
        return n_RunStart(n - 1);
    }
    return n >= sn_HeaderSize && n < so.n_Limit ? n : so.n_Limit;
}

// Follows the string down the tree as far as it matches. Every step goes forward, to the next
// element or along an alternative, so the walk ends within the image whatever its bytes.
CT_CompList::st_Stop CT_CompList::so_Descend(const st_View& so, const char* pc_String) const
{
    const unsigned e = so.n_ElementSize;
    unsigned n_Run;
    unsigned n_Position = n_StartOf(so, sn_StringElement(pc_String, e), &n_Run);
    for (unsigned m = 0;;)
    {
        unsigned x = so.n_Get(n_Position);
        unsigned s = sn_StringElement(pc_String + m, e);
        if (s == 0)
        {
            if (x == sn_Alternative)
            {
                n_Position += so.n_Step(x);
                x = so.n_Get(n_Position);
            }
            return {sb_IsEnd(x) ? eo_Found : eo_Beginning, n_Position, m, n_Run};
        }
        if (x == s && !sb_IsMarker(x))
        {
            n_Position += e;
            m += e;
            continue;
        }
        if (x == sn_InnerEnd || x == sn_Alternative)
        {
            n_Position += so.n_Step(x);
            continue;
        }
        if (x == sn_Terminator || x == sn_FinalEnd)
            return {eo_BranchEnd, n_Position, m, n_Run};
        unsigned n_Marker = n_Position + e;
        if (so.n_Get(n_Marker) != sn_Alternative)
            return {eo_Mismatch, n_Position, m, n_Run};
        n_Position = n_Follow(so, n_Marker, &n_Run);
    }
}

// ---- searching ----

unsigned CT_CompList::n_Search(const CT_CString* pcco_String, unsigned* pn_Length)
{
    if (n_GetElementSize() == 1)
        return n_Search(pcco_String->qccz_Get(), pn_Length);
    sv_SetLength(pn_Length, 0);
    return sn_NotFound;
}

unsigned CT_CompList::n_Search(const CT_UString* pcco_String, unsigned* pn_Length)
{
    if (n_GetElementSize() == 2)
        return n_Search(pcco_String->qcuz_Get(), pn_Length);
    sv_SetLength(pn_Length, 0);
    return sn_NotFound;
}

unsigned CT_CompList::n_Search(const char16_t* pu_Elements, unsigned* pn_Length)
{
    return n_Search(reinterpret_cast<const char*>(pu_Elements), pn_Length);
}

unsigned CT_CompList::n_Search(const char* pc_Elements, unsigned* pn_Length)
{
    sv_SetLength(pn_Length, 0);
    if (!b_IsUsable())
        return sn_NotFound;
    const unsigned e = n_GetElementSize();
    if (sn_StringElement(pc_Elements, e) == 0)
        return b_HasEmptyStringSupport() ? n_HeaderNumber(sn_EmptyHandleAt) : sn_NotFound;
    // Searching an unpacked image costs a run-table lookup at every alternative; once that
    // has added up to about what packing costs, pack.
    if (b_Unpacked && ++n_Searches > n_Runs / 8)
        v_Pack();
    const st_View so = so_View();
    const st_Stop so_Stop = so_Descend(so, pc_Elements);
    switch (so_Stop.eo_Stop)
    {
    case eo_Found:
        sv_SetLength(pn_Length, so_Stop.n_Matched / e);
        return so.n_Number(so_Stop.n_Position + e, so.n_HandleSize);
    case eo_Beginning:
        sv_SetLength(pn_Length, so_Stop.n_Matched / e);
        return sn_NotFound;
    case eo_BranchEnd:
        if (so.n_Get(so_Stop.n_Position) == sn_FinalEnd)
            sv_SetLength(pn_Length, so_Stop.n_Matched / e);
        return sn_NotFound;
    default:
        return sn_NotFound;
    }
}

void CT_CompList::sv_SetLength(unsigned* pn_Length, unsigned n_Length)
{
    if (pn_Length)
        *pn_Length = n_Length;
}

// ---- adding ----

int CT_CompList::b_Add(const CT_CString* pcco_String, unsigned n_Handle)
{
    return n_GetElementSize() == 1 && b_Add(pcco_String->qccz_Get(), n_Handle);
}

int CT_CompList::b_Add(const CT_UString* pcco_String, unsigned n_Handle)
{
    return n_GetElementSize() == 2 && b_Add(pcco_String->qcuz_Get(), n_Handle);
}

int CT_CompList::b_Add(const char16_t* pu_Elements, unsigned n_Handle)
{
    return b_Add(reinterpret_cast<const char*>(pu_Elements), n_Handle);
}

int CT_CompList::b_Add(const char* pc_Elements, unsigned n_Handle)
{
    if (!b_IsUsable())
        return 0;
    const std::uint64_t n_Bytes = sn_AddableBytes(pc_Elements, n_GetElementSize());
    int b_Added = n_Bytes == 0 ? b_AddEmpty(n_Handle)
                               : n_Bytes != sn_Unaddable && b_Unpack() &&
                                     b_Insert(pc_Elements, n_Bytes, n_Handle);
    if (!b_Added)
        return 0;
    unsigned char* pc = pc_Image();
    sv_Write(pc + sn_EntriesAt, 4, sn_Read(pc + sn_EntriesAt, 4) + 1);
    return 1;
}

int CT_CompList::b_AddEmpty(unsigned n_Handle)
{
    if (!b_HasEmptyStringSupport())
        return 0;
    sv_Write(pc_Image() + sn_EmptyHandleAt, 4, n_Handle);
    return 1;
}

int CT_CompList::b_Insert(const char* pc_String, std::uint64_t n_Bytes, unsigned n_Handle)
{
    const st_Stop so_Stop = so_Descend(so_View(), pc_String);
    if (so_Stop.eo_Stop == eo_Found)
        return 0;
    const unsigned e = n_GetElementSize();
    const unsigned n_Tail = e + n_GetHandleSize();
    const std::uint64_t n_Rest = n_Bytes - so_Stop.n_Matched;
    const std::uint64_t n_Needed = so_Stop.eo_Stop == eo_Beginning ? n_Tail
                                   : so_Stop.eo_Stop == eo_Mismatch
                                       ? e + n_OffsetSize + n_Rest + n_Tail
                                       : n_Rest + n_Tail;
    if (n_GetEnd() + n_Needed > (n_OffsetSize == 2 ? sn_ShortOffsetEnd : sn_LongOffsetEnd))
        return 0;
    const st_Tail so_Tail = {pc_String + so_Stop.n_Matched, static_cast<unsigned>(n_Rest),
                             n_Handle};
    unsigned n_NewRun = 0; // the new run + 1, as the jump table holds it
    switch (so_Stop.eo_Stop)
    {
    case eo_Beginning:
        v_InsertInnerEnd(so_Stop, n_Handle);
        break;
    case eo_BranchEnd:
        n_NewRun = n_ContinueBranch(so_Stop, so_Tail);
        break;
    default:
        n_NewRun = n_AddSibling(so_Stop, so_Tail);
        break;
    }
    unsigned n_Letter = sn_Letter(sn_StringElement(pc_String, e));
    if (n_NewRun != 0 && so_Stop.n_Matched == 0 && n_Letter < sn_Letters)
        sv_Write(pc_Image() + sn_JumpAt + 4 * n_Letter, 4, n_NewRun);
    n_Searches = 0;
    if (b_Exposed)
        v_Pack();
    return 1;
}

// The whole string is a beginning of stored strings: an inner end where the walk stopped.
void CT_CompList::v_InsertInnerEnd(const st_Stop& so_Stop, unsigned n_Handle)
{
    const unsigned e = n_GetElementSize();
    unsigned char* pc = pc_InsertBytes(so_Stop.n_Position, e + n_GetHandleSize(), so_Stop.n_Run);
    sv_Write(pc, e, sn_InnerEnd);
    sv_Write(pc + e, n_GetHandleSize(), n_Handle);
}

// The string goes on where a branch ends: past a stored string's final end, which becomes an
// inner end, in the same run; at the terminator, as a new run. Returns the new run + 1, or 0.
unsigned CT_CompList::n_ContinueBranch(const st_Stop& so_Stop, const st_Tail& so_Tail)
{
    const unsigned e = n_GetElementSize();
    unsigned n_At = so_Stop.n_Position;
    unsigned n_NewRun = 0;
    unsigned n_Run = n_Runs;
    if (so_View().n_Get(n_At) == sn_FinalEnd)
    {
        sv_Write(pc_Image() + n_At, e, sn_InnerEnd);
        n_At += e + n_GetHandleSize();
        n_Run = so_Stop.n_Run;
    }
    else
        n_NewRun = n_Run + 1;
    v_WriteTail(pc_InsertBytes(n_At, n_TailBytes(so_Tail), n_Run), so_Tail);
    return n_NewRun;
}

// A new sibling of the character where the walk stopped: an alternative after it, leading to a
// new run before the terminator. Returns the new run + 1.
unsigned CT_CompList::n_AddSibling(const st_Stop& so_Stop, const st_Tail& so_Tail)
{
    const unsigned e = n_GetElementSize();
    const unsigned n_NewRun = n_Runs;
    unsigned char* pc = pc_InsertBytes(so_Stop.n_Position + e, e + n_OffsetSize, so_Stop.n_Run);
    sv_Write(pc, e, sn_Alternative);
    sv_Write(pc + e, n_OffsetSize, n_NewRun);
    v_WriteTail(pc_InsertBytes(n_GetEnd() - e, n_TailBytes(so_Tail), n_NewRun), so_Tail);
    return n_NewRun + 1;
}

unsigned CT_CompList::n_TailBytes(const st_Tail& so_Tail) const
{
    return so_Tail.n_RestBytes + n_GetElementSize() + n_GetHandleSize();
}

// The rest of a string, a final end and the handle, into a gap.
void CT_CompList::v_WriteTail(unsigned char* pc, const st_Tail& so_Tail) const
{
    const unsigned e = n_GetElementSize();
    for (unsigned n = 0; n < so_Tail.n_RestBytes; n += e)
        sv_Write(pc + n, e, sn_StringElement(so_Tail.pc_Rest + n, e));
    sv_Write(pc + so_Tail.n_RestBytes, e, sn_FinalEnd);
    sv_Write(pc + so_Tail.n_RestBytes + e, n_GetHandleSize(), so_Tail.n_Handle);
}

unsigned char* CT_CompList::pc_InsertBytes(unsigned n_At, unsigned n_Count, unsigned n_Run)
{
    co_Buffer.v_Insert(static_cast<unsigned char>(0), n_Count, n_At);
    unsigned char* pc = pc_Image();
    sv_Write(pc + sn_EndAt, 4, sn_Read(pc + sn_EndAt, 4) + n_Count);
    if (n_Run == n_Runs)
        v_AppendRun(n_Count);
    else
        sv_GrowRun(pa_Runs(), n_Runs, n_Run, n_Count);
    b_Changed = 1;
    return pc + n_At;
}

void CT_CompList::v_AppendRun(unsigned n_Size)
{
    // Node k covers runs k - low(k) to k - 1: the new size and those before it down there.
    unsigned k = n_Runs + 1;
    unsigned n_Node =
        n_Size + sn_SizesBefore(pca_Runs(), k - 1) - sn_SizesBefore(pca_Runs(), k - sn_Low(k));
    co_Runs.v_Append(&n_Node, sizeof n_Node);
    ++n_Runs;
}

// ---- the two forms ----

int CT_CompList::b_Unpack()
{
    if (b_Unpacked)
        return 1;
    if (!b_CheckStream() || !b_CheckAlternatives())
    {
        v_DropRuns();
        return 0;
    }
    v_ConvertAlternatives(1);
    sv_StartsToTree(pa_Runs(), n_Runs, n_GetEnd() - n_GetElementSize());
    b_Unpacked = 1;
    return 1;
}

void CT_CompList::v_Pack()
{
    if (!b_Unpacked)
        return;
    sv_TreeToStarts(pa_Runs(), n_Runs);
    v_ConvertAlternatives(0);
    v_DropRuns();
}

// The stream must be a sequence of whole runs, each ending with its one final end, followed by
// the terminator at the very end of the image; the run starts go into the run table.
int CT_CompList::b_CheckStream()
{
    v_DropRuns();
    const st_View so = so_View();
    const unsigned e = so.n_ElementSize;
    if (n_GetEnd() != co_Buffer.n_GetUsedSize() || so.n_Limit < sn_HeaderSize + e)
        return 0;
    const unsigned n_Last = so.n_Limit - e;
    unsigned n_Position = sn_HeaderSize;
    unsigned n_RunStart = n_Position;
    while (n_Position < n_Last)
    {
        unsigned x = so.n_Get(n_Position);
        if (x == sn_Terminator)
            return 0;
        n_Position += so.n_Step(x);
        if (x == sn_FinalEnd && n_Position <= n_Last)
        {
            co_Runs.v_Append(&n_RunStart, sizeof n_RunStart);
            ++n_Runs;
            n_RunStart = n_Position;
        }
    }
    return n_Position == n_Last && n_RunStart == n_Last && so.n_Get(n_Last) == sn_Terminator;
}

// Every alternative must lead to the start of a later run, every jump to the start of a run.
int CT_CompList::b_CheckAlternatives() const
{
    int b_Valid = 1;
    v_ForEachAlternative(
        [&](unsigned n_Marker, unsigned n_Run, unsigned n_Offset)
        {
            std::uint64_t n_Target = std::uint64_t(n_Marker) + n_Offset;
            unsigned n_To = n_Target < sn_LongOffsetEnd ? n_RunAt(unsigned(n_Target)) : n_Runs;
            b_Valid &= n_To < n_Runs && n_To > n_Run;
        });
    for (unsigned n = 0; n < sn_Letters; ++n)
    {
        unsigned n_Jump = n_HeaderNumber(sn_JumpAt + 4 * n);
        b_Valid &= n_Jump == 0 || n_RunAt(n_Jump) < n_Runs;
    }
    return b_Valid;
}

// Turns offsets into run numbers (jumps: run number + 1) or back, with the run table holding
// the run starts.
void CT_CompList::v_ConvertAlternatives(int b_ToRuns)
{
    const unsigned* pca_Starts = pca_Runs();
    unsigned char* pc = pc_Image();
    v_ForEachAlternative(
        [&](unsigned n_Marker, unsigned, unsigned n_Number)
        {
            unsigned n_New =
                b_ToRuns ? n_RunAt(n_Marker + n_Number) : pca_Starts[n_Number] - n_Marker;
            sv_Write(pc + n_Marker + n_GetElementSize(), n_OffsetSize, n_New);
        });
    for (unsigned n = 0; n < sn_Letters; ++n)
    {
        unsigned char* pc_Jump = pc + sn_JumpAt + 4 * n;
        unsigned n_Jump = sn_Read(pc_Jump, 4);
        if (n_Jump != 0)
            sv_Write(pc_Jump, 4, b_ToRuns ? n_RunAt(n_Jump) + 1 : pca_Starts[n_Jump - 1]);
    }
}

// Calls f (marker position, run, number after the marker) for every alternative of a stream
// that b_CheckStream has accepted.
template <typename F>
void CT_CompList::v_ForEachAlternative(F f) const
{
    const st_View so = so_View();
    const unsigned n_Last = so.n_Limit - so.n_ElementSize;
    unsigned n_Run = 0;
    for (unsigned n_Position = sn_HeaderSize; n_Position < n_Last;)
    {
        unsigned x = so.n_Get(n_Position);
        if (x == sn_Alternative)
            f(n_Position, n_Run, so.n_Number(n_Position + so.n_ElementSize, so.n_OffsetSize));
        n_Run += x == sn_FinalEnd;
        n_Position += so.n_Step(x);
    }
}

// The run that starts at a position, from the run starts; the run count when none does.
unsigned CT_CompList::n_RunAt(unsigned n_Position) const
{
    const unsigned* pca_Starts = pca_Runs();
    unsigned n_Low = 0;
    unsigned n_High = n_Runs;
    while (n_Low < n_High)
    {
        unsigned n_Middle = n_Low + (n_High - n_Low) / 2;
        if (pca_Starts[n_Middle] < n_Position)
            n_Low = n_Middle + 1;
        else
            n_High = n_Middle;
    }
    return n_Low < n_Runs && pca_Starts[n_Low] == n_Position ? n_Low : n_Runs;
}

const CT_Buffer* CT_CompList::pcco_GetBuffer()
{
    if (!co_Buffer.qcv_Get())
        return nullptr;
    v_Pack();
    b_Exposed = 1;
    return &co_Buffer;
}

// ---- iterators ----

CT_CompListIterator::CT_CompListIterator(const CT_CompList* pcco_NewList)
    : co_Stack(sizeof(st_Branch), 8, 0)
{
    CT_CompListIterator::vv_Set(pcco_NewList);
}

void CT_CompListIterator::vv_Set(const CT_CompList* pcco_NewList)
{
    pcco_List = pcco_NewList;
    n_Position = CT_CompList::sn_HeaderSize;
    co_Stack.v_Set(8, 0, 1);
    const CT_CompList::st_View so = pcco_List->so_View();
    n_Budget = pcco_List->b_IsUsable() && so.n_Limit > n_Position + so.n_ElementSize
                   ? so.n_Limit - n_Position - so.n_ElementSize
                   : 0;
}

int CT_CompListIterator::b_GetNext(CT_String* pco_Text, unsigned* pn_Handle)
{
    assert(pco_Text && "the text is never null");
    if (!pcco_List->b_IsUsable())
        return 0;
    const CT_CompList::st_View so = pcco_List->so_View();
    while (n_Position < so.n_Limit)
    {
        unsigned x = so.n_Get(n_Position);
        unsigned n_Step = so.n_Step(x);
        if (x == sn_Terminator || n_Step > n_Budget)
            return 0;
        n_Budget -= n_Step;
        if (x == sn_Alternative)
        {
            // The later siblings first: remember where this branch goes on.
            st_Branch so_Branch;
            so_Branch.n_Character = vn_PopCharacter();
            so_Branch.n_Length = vpcco_GetCollectedString()->vn_GetLength();
            so_Branch.n_Marker = n_Position;
            co_Stack.v_Insert(&so_Branch);
            unsigned n_Run;
            n_Position = pcco_List->n_Follow(so, n_Position, &n_Run);
        }
        else if (sb_IsEnd(x))
        {
            if (pn_Handle)
                *pn_Handle = so.n_Number(n_Position + so.n_ElementSize, so.n_HandleSize);
            pco_Text->v_Set(vpcco_GetCollectedString());
            n_Position += n_Step;
            if (x == sn_FinalEnd)
                v_Restore(so);
            return 1;
        }
        else
        {
            vv_AppendCharacter(x);
            n_Position += n_Step;
        }
    }
    return 0;
}

// After a final end: back to the last branch point, or to the end of the image.
void CT_CompListIterator::v_Restore(const CT_CompList::st_View& so)
{
    unsigned n_Count = co_Stack.n_GetCount();
    if (n_Count == 0)
    {
        n_Position = so.n_Limit;
        return;
    }
    st_Branch so_Branch;
    co_Stack.v_GetAt(&so_Branch, static_cast<int>(n_Count));
    co_Stack.v_RemoveAt(n_Count);
    while (vpcco_GetCollectedString()->vn_GetLength() > so_Branch.n_Length)
        vn_PopCharacter();
    vv_AppendCharacter(so_Branch.n_Character);
    n_Position = so_Branch.n_Marker + so.n_Step(sn_Alternative);
}

CT_CCompListIterator::CT_CCompListIterator(const CT_CompList* pcco_NewList)
    : CT_CompListIterator(pcco_NewList), co_Collected(pcco_NewList->n_GetCodePage())
{
    co_Collected.vv_SetGrowth(32);
}

void CT_CCompListIterator::vv_Set(const CT_CompList* pcco_NewList)
{
    CT_CompListIterator::vv_Set(pcco_NewList);
    co_Collected.v_Set("", 0, pcco_NewList->n_GetCodePage());
}

unsigned CT_CCompListIterator::vn_PopCharacter()
{
    unsigned n_Length = co_Collected.n_GetLength();
    if (n_Length == 0)
        return 0;
    unsigned n_Character = static_cast<unsigned char>(co_Collected.c_GetAt(n_Length - 1));
    co_Collected.vv_SetLength(n_Length - 1);
    return n_Character;
}

void CT_CCompListIterator::vv_AppendCharacter(unsigned n_Character)
{
    co_Collected.v_Append(static_cast<char>(n_Character));
}

CT_UCompListIterator::CT_UCompListIterator(const CT_CompList* pcco_NewList)
    : CT_CompListIterator(pcco_NewList)
{
    co_Collected.vv_SetGrowth(32);
}

void CT_UCompListIterator::vv_Set(const CT_CompList* pcco_NewList)
{
    CT_CompListIterator::vv_Set(pcco_NewList);
    co_Collected.vv_SetLength(0);
}

unsigned CT_UCompListIterator::vn_PopCharacter()
{
    unsigned n_Length = co_Collected.n_GetLength();
    if (n_Length == 0)
        return 0;
    unsigned n_Character = co_Collected.u_GetAt(n_Length - 1);
    co_Collected.vv_SetLength(n_Length - 1);
    return n_Character;
}

void CT_UCompListIterator::vv_AppendCharacter(unsigned n_Character)
{
    co_Collected.v_Append(static_cast<char16_t>(n_Character));
}
