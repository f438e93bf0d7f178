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
    constexpr unsigned sn_Markers =
        1u << sn_InnerEnd | 1u << sn_Alternative | 1u << sn_Terminator | 1u << sn_FinalEnd;
    return n_Element < 32 && (sn_Markers >> n_Element & 1);
}

// The jump table slot of a first element, or sn_Letters when it is no lower-case letter.
unsigned sn_Letter(unsigned n_Element)
{
    return n_Element >= 'a' && n_Element <= 'z' ? n_Element - 'a' : sn_Letters;
}

// Numbers in the image: little-endian, whatever the machine.
unsigned sn_Read(const unsigned char* pc, unsigned n_Size)
{
    switch (n_Size)
    {
    case 1:
        return pc[0];
    case 2:
        return pc[0] | pc[1] << 8;
    case 4:
        return pc[0] | pc[1] << 8 | pc[2] << 16 | unsigned(pc[3]) << 24;
    default:
        return 0;
    }
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

// A run's slot in the arena of an unpacked image leaves room for a few more insertions, so
// that a run moves to a larger slot only now and then.
unsigned sn_RunCapacity(unsigned n_Size)
{
    return (n_Size + n_Size / 2 + 7) & ~3u;
}
} // namespace

// The bytes of an image as one operation reads them.
struct CT_CompList::st_View
{
    st_View(const unsigned char* pcc_NewImage, unsigned n_NewLimit, unsigned n_Element,
            unsigned n_Handle, unsigned n_Offset)
        : pcc_Image(pcc_NewImage), n_Limit(n_NewLimit), n_ElementSize(n_Element),
          n_HandleSize(n_Handle), n_OffsetSize(n_Offset),
          n_Safe(n_NewLimit > n_Element + 4 ? n_NewLimit - n_Element - 4 : 0)
    {
    }

    const unsigned char* pcc_Image;
    unsigned n_Limit;
    unsigned n_ElementSize, n_HandleSize, n_OffsetSize;
    // An element before this position has room for its number before the limit.
    unsigned n_Safe;

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
    // E, when not 0, is the element size known where the call is compiled.
    template <unsigned E = 0>
    unsigned n_Get(unsigned n_Position) const
    {
        const unsigned e = E ? E : n_ElementSize;
        if (n_Position < n_Safe)
            return n_Number(n_Position, e);
        if (n_Position >= n_Limit || n_Limit - n_Position < e)
            return sn_Terminator;
        unsigned n_Element = n_Number(n_Position, e);
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
    co_Starts.v_Set(&pcco_Other->co_Starts);
    co_Runs.v_Set(&pcco_Other->co_Runs);
    n_Runs = pcco_Other->n_Runs;
    b_Unpacked = pcco_Other->b_Unpacked;
}

void CT_CompList::v_Load(const CT_Buffer* pcco_Buffer)
{
    co_Buffer.v_Set(pcco_Buffer);
    b_Changed = 0;
    n_OffsetSize = b_HasLongOffsetSupport() ? 4 : 2;
    v_DropRuns();
}

void CT_CompList::v_DropRuns()
{
    co_Starts.v_Set(0u, CT_Buffer::sn_DefaultGrowth, 0);
    co_Runs.v_Set(0u, CT_Buffer::sn_DefaultGrowth, 0);
    n_Runs = 0;
    b_Unpacked = 0;
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

unsigned CT_CompList::n_GetElementSize() const
{
    return n_HeaderByte(sn_ElementSizeAt);
}

unsigned CT_CompList::n_GetHandleSize() const
{
    return n_HeaderByte(sn_HandleSizeAt);
}

int CT_CompList::b_HasEmptyStringSupport() const
{
    return (n_HeaderByte(sn_FlagsAt) & sn_EmptyStringFlag) != 0;
}

int CT_CompList::b_HasLongOffsetSupport() const
{
    return (n_HeaderByte(sn_FlagsAt) & sn_LongOffsetFlag) != 0;
}

int CT_CompList::b_IsInNetworkByteOrder() const
{
    return n_HeaderByte(sn_ByteOrderAt) != 0;
}

unsigned CT_CompList::n_GetEnd() const
{
    return n_HeaderNumber(sn_EndAt);
}

unsigned CT_CompList::n_GetCodePage() const
{
    return n_HeaderNumber(sn_CodePageAt);
}

unsigned CT_CompList::n_GetNrOfEntries() const
{
    return n_HeaderNumber(sn_EntriesAt);
}

int CT_CompList::b_IsUsable() const
{
    if (co_Buffer.n_GetUsedSize() < sn_HeaderSize)
        return 0;
    const unsigned char* pc = pcc_Image();
    return sn_Read(pc, 4) == sn_Magic && pc[sn_ByteOrderAt] == 0 &&
           sb_IsSize(pc[sn_ElementSizeAt]) && sb_IsSize(pc[sn_HandleSizeAt]);
}

// The stream is read up to the end field, within the bytes there are; unpacked, the arena is
// read as a whole.
CT_CompList::st_View CT_CompList::so_View() const
{
    unsigned n_Used = co_Buffer.n_GetUsedSize();
    unsigned n_End = n_GetEnd();
    return st_View(pcc_Image(), n_End < n_Used && !b_Unpacked ? n_End : n_Used, n_GetElementSize(),
                   n_GetHandleSize(), n_OffsetSize);
}

// Where the first-level chain starts: unpacked, run 0 may have moved.
unsigned CT_CompList::n_StreamStart() const
{
    return b_Unpacked && n_Runs > 0 ? pca_Starts()[0] : sn_HeaderSize;
}

template <unsigned O>
unsigned CT_CompList::n_Follow(const st_View& so, unsigned n_Marker, unsigned* pn_Run) const
{
    unsigned n = so.n_Number(n_Marker + so.n_ElementSize, O ? O : so.n_OffsetSize);
    if (b_Unpacked)
    {
        *pn_Run = n;
        return pca_Starts()[n];
    }
    return n < so.n_Limit - n_Marker ? n_Marker + n : so.n_Limit;
}

unsigned CT_CompList::n_StartOf(const st_View& so, unsigned n_FirstElement, unsigned* pn_Run) const
{
    *pn_Run = 0;
    unsigned n_Letter = sn_Letter(n_FirstElement);
    unsigned n = n_Letter < sn_Letters ? so.n_Number(sn_JumpAt + 4 * n_Letter, 4) : 0;
    if (n == 0)
        return n_StreamStart();
    if (b_Unpacked)
    {
        *pn_Run = n - 1;
        return pca_Starts()[n - 1];
    }
    return n >= sn_HeaderSize && n < so.n_Limit ? n : so.n_Limit;
}

CT_CompList::st_Stop CT_CompList::so_Descend(const st_View& so, const char* pc_String) const
{
    const bool b_Long = so.n_OffsetSize == 4;
    switch (so.n_ElementSize)
    {
    case 1:
        return b_Long ? so_DescendAs<1, 4>(so, pc_String) : so_DescendAs<1, 2>(so, pc_String);
    case 2:
        return b_Long ? so_DescendAs<2, 4>(so, pc_String) : so_DescendAs<2, 2>(so, pc_String);
    default:
        return b_Long ? so_DescendAs<4, 4>(so, pc_String) : so_DescendAs<4, 2>(so, pc_String);
    }
}

// Follows the string down the tree as far as it matches. Every step goes forward, to the next
// element or along an alternative, so the walk ends within the image whatever its bytes.
template <unsigned E, unsigned O>
CT_CompList::st_Stop CT_CompList::so_DescendAs(const st_View& so, const char* pc_String) const
{
    constexpr unsigned e = E;
    unsigned n_Run;
    unsigned n_Position = n_StartOf(so, sn_StringElement(pc_String, e), &n_Run);
    for (unsigned m = 0;;)
    {
        const unsigned x = so.n_Get<e>(n_Position);
        const unsigned s = sn_StringElement(pc_String + m, e);
        // The common case first: a character matched (one above every marker needs no more).
        if (x == s && (s > sn_FinalEnd || (s != 0 && !sb_IsMarker(s))))
        {
            n_Position += e;
            m += e;
        }
        else if (!sb_IsMarker(x))
        {
            if (s == 0)
                return {eo_Beginning, n_Position, m, n_Run};
            if (so.n_Get<e>(n_Position + e) != sn_Alternative)
                return {eo_Mismatch, n_Position, m, n_Run};
            n_Position = n_Follow<O>(so, n_Position + e, &n_Run);
        }
        else if (s == 0)
        {
            if (x == sn_Alternative)
                n_Position += so.n_Step(x);
            const unsigned n_End = x == sn_Alternative ? so.n_Get<e>(n_Position) : x;
            return {sb_IsEnd(n_End) ? eo_Found : eo_Beginning, n_Position, m, n_Run};
        }
        else if (x == sn_InnerEnd || x == sn_Alternative)
            n_Position += so.n_Step(x);
        else
            return {eo_BranchEnd, n_Position, m, n_Run};
    }
}

// ---- searching ----

unsigned CT_CompList::n_Search(const CT_CString* pcco_String, unsigned* pn_Length) const
{
    if (n_GetElementSize() == 1)
        return n_Search(pcco_String->qccz_Get(), pn_Length);
    sv_SetLength(pn_Length, 0);
    return sn_NotFound;
}

unsigned CT_CompList::n_Search(const CT_UString* pcco_String, unsigned* pn_Length) const
{
    if (n_GetElementSize() == 2)
        return n_Search(pcco_String->qcuz_Get(), pn_Length);
    sv_SetLength(pn_Length, 0);
    return sn_NotFound;
}

unsigned CT_CompList::n_Search(const char16_t* pu_Elements, unsigned* pn_Length) const
{
    return n_Search(reinterpret_cast<const char*>(pu_Elements), pn_Length);
}

unsigned CT_CompList::n_Search(const char* pc_Elements, unsigned* pn_Length) const
{
    sv_SetLength(pn_Length, 0);
    if (!b_IsUsable())
        return sn_NotFound;
    const unsigned e = n_GetElementSize();
    if (sn_StringElement(pc_Elements, e) == 0)
        return b_HasEmptyStringSupport() ? n_HeaderNumber(sn_EmptyHandleAt) : sn_NotFound;
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
    if (b_Exposed)
        v_Pack();
    return 1;
}

// The whole string is a beginning of stored strings: an inner end where the walk stopped.
void CT_CompList::v_InsertInnerEnd(const st_Stop& so_Stop, unsigned n_Handle)
{
    const unsigned e = n_GetElementSize();
    unsigned char* pc = pc_OpenInRun(so_Stop.n_Run, so_Stop.n_Position, e + n_GetHandleSize());
    sv_Write(pc, e, sn_InnerEnd);
    sv_Write(pc + e, n_GetHandleSize(), n_Handle);
}

// The string goes on where a branch ends: past a stored string's final end, which becomes an
// inner end, in the same run; at the terminator, as a new run. Returns the new run + 1, or 0.
unsigned CT_CompList::n_ContinueBranch(const st_Stop& so_Stop, const st_Tail& so_Tail)
{
    const unsigned e = n_GetElementSize();
    const unsigned n_At = so_Stop.n_Position;
    if (so_View().n_Get(n_At) != sn_FinalEnd)
    {
        v_WriteTail(pc_AppendRun(n_TailBytes(so_Tail)), so_Tail);
        return n_Runs;
    }
    sv_Write(pc_Image() + n_At, e, sn_InnerEnd);
    v_WriteTail(pc_OpenInRun(so_Stop.n_Run, n_At + e + n_GetHandleSize(), n_TailBytes(so_Tail)),
                so_Tail);
    return 0;
}

// A new sibling of the character where the walk stopped: an alternative after it, leading to a
// new run before the terminator. Returns the new run + 1.
unsigned CT_CompList::n_AddSibling(const st_Stop& so_Stop, const st_Tail& so_Tail)
{
    const unsigned e = n_GetElementSize();
    unsigned char* pc = pc_OpenInRun(so_Stop.n_Run, so_Stop.n_Position + e, e + n_OffsetSize);
    sv_Write(pc, e, sn_Alternative);
    sv_Write(pc + e, n_OffsetSize, n_Runs);
    v_WriteTail(pc_AppendRun(n_TailBytes(so_Tail)), so_Tail);
    return n_Runs;
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

// A gap of n_Count bytes at n_At inside a run of the arena; a run without room for it moves
// to a larger slot at the end of the arena first. Returns the gap's address.
unsigned char* CT_CompList::pc_OpenInRun(unsigned n_Run, unsigned n_At, unsigned n_Count)
{
    st_Run so = pca_Runs()[n_Run];
    unsigned n_Start = pca_Starts()[n_Run];
    const unsigned n_Offset = n_At - n_Start;
    if (so.n_Size + n_Count > so.n_Capacity)
    {
        const unsigned n_Old = n_Start;
        so.n_Capacity = sn_RunCapacity(so.n_Size + n_Count);
        n_Start = n_NewSlot(so.n_Capacity);
        std::memcpy(pc_Image() + n_Start, pcc_Image() + n_Old, so.n_Size);
        pa_Starts()[n_Run] = n_Start;
    }
    unsigned char* pc = pc_Image() + n_Start;
    std::memmove(pc + n_Offset + n_Count, pc + n_Offset, so.n_Size - n_Offset);
    so.n_Size += n_Count;
    pa_Runs()[n_Run] = so;
    v_Grow(n_Count);
    return pc + n_Offset;
}

// A new run of n_Size bytes at the end of the arena; returns its address.
unsigned char* CT_CompList::pc_AppendRun(unsigned n_Size)
{
    const unsigned n_Capacity = sn_RunCapacity(n_Size);
    const unsigned n_Start = n_NewSlot(n_Capacity);
    v_AddRun(n_Start, n_Size, n_Capacity);
    v_Grow(n_Size);
    return pc_Image() + n_Start;
}

void CT_CompList::v_AddRun(unsigned n_Start, unsigned n_Size, unsigned n_Capacity)
{
    const st_Run so = {n_Size, n_Capacity};
    co_Starts.v_Append(&n_Start, sizeof n_Start);
    co_Runs.v_Append(&so, sizeof so);
    ++n_Runs;
}

unsigned CT_CompList::n_NewSlot(unsigned n_Capacity)
{
    const unsigned n_Start = co_Buffer.n_GetUsedSize();
    co_Buffer.v_Insert(static_cast<unsigned char>(0), n_Capacity, n_Start);
    return n_Start;
}

// The stream grew by n_Count bytes.
void CT_CompList::v_Grow(unsigned n_Count)
{
    unsigned char* pc = pc_Image();
    sv_Write(pc + sn_EndAt, 4, sn_Read(pc + sn_EndAt, 4) + n_Count);
    b_Changed = 1;
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
    b_Unpacked = 1;
    return 1;
}

// Lays the runs out in order after the header, the terminator after them, and turns run numbers
// back into offsets.
void CT_CompList::v_Pack()
{
    if (!b_Unpacked)
        return;
    const unsigned e = n_GetElementSize();
    {
        CT_Buffer co_Packed(n_GetEnd(), co_Buffer.n_GetGrowth());
        co_Packed.v_Replace(pcc_Image(), sn_HeaderSize, 0);
        unsigned* pa = pa_Starts();
        const st_Run* pca = pca_Runs();
        unsigned n_At = sn_HeaderSize;
        for (unsigned n = 0; n < n_Runs; n_At += pca[n++].n_Size)
        {
            co_Packed.v_Replace(pcc_Image() + pa[n], pca[n].n_Size, n_At);
            pa[n] = n_At;
        }
        unsigned char ac_Terminator[4];
        sv_Write(ac_Terminator, e, sn_Terminator);
        co_Packed.v_Replace(ac_Terminator, e, n_At);
        co_Buffer.v_Set(&co_Packed);
    }
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
            v_AddRun(n_RunStart, n_Position - n_RunStart, n_Position - n_RunStart);
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
    const unsigned* pca = pca_Starts();
    unsigned char* pc = pc_Image();
    v_ForEachAlternative(
        [&](unsigned n_Marker, unsigned, unsigned n_Number)
        {
            unsigned n_New = b_ToRuns ? n_RunAt(n_Marker + n_Number) : pca[n_Number] - n_Marker;
            sv_Write(pc + n_Marker + n_GetElementSize(), n_OffsetSize, n_New);
        });
    for (unsigned n = 0; n < sn_Letters; ++n)
    {
        unsigned char* pc_Jump = pc + sn_JumpAt + 4 * n;
        unsigned n_Jump = sn_Read(pc_Jump, 4);
        if (n_Jump != 0)
            sv_Write(pc_Jump, 4, b_ToRuns ? n_RunAt(n_Jump) + 1 : pca[n_Jump - 1]);
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
    const unsigned* pca = pca_Starts();
    unsigned n_Low = 0;
    unsigned n_High = n_Runs;
    while (n_Low < n_High)
    {
        unsigned n_Middle = n_Low + (n_High - n_Low) / 2;
        if (pca[n_Middle] < n_Position)
            n_Low = n_Middle + 1;
        else
            n_High = n_Middle;
    }
    return n_Low < n_Runs && pca[n_Low] == n_Position ? n_Low : n_Runs;
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
    n_Position = pcco_List->n_StreamStart();
    co_Stack.v_Set(8, 0, 1);
    const CT_CompList::st_View so = pcco_List->so_View();
    const unsigned n_Stream = CT_CompList::sn_HeaderSize + so.n_ElementSize;
    n_Budget = pcco_List->b_IsUsable() && so.n_Limit > n_Stream ? so.n_Limit - n_Stream : 0;
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
            n_Position = pcco_List->n_Follow<0>(so, n_Position, &n_Run);
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
