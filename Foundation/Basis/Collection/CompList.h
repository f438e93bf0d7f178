// CT_CompList: a set of zero-terminated strings, each with a small unsigned number (its handle),
// kept in one self-describing byte image in a CT_Buffer, and the iterators that enumerate it.
//
// The image is a character tree written as a flat stream: strings that share a beginning store
// it once, and a branch point costs one marker and one offset. It has fixed widths and
// little-endian numbers on every build, so an image can be stored, handed around and loaded
// again as it is.
//
//   offset width field
//   0      4     magic 0x0130B835
//   4      4     end: size of the whole image, header and terminator included
//   8      4     code page of the strings, for the owner's information
//   12     4     handle of the empty string; 0xFFFFFFFF while none is stored
//   16     26x4  jump table: for the letters a to z, the offset of their first-level node, or 0
//   120    4     number of entries
//   124    1     network byte order flag: 0 (an image with it set is not read)
//   125    1     element size in bytes: 1, 2 or 4
//   126    1     handle size in bytes: 1, 2 or 4
//   127    1     flags: bit 0 empty-string support, bit 1 long (4-byte, not 2-byte) offsets
//   128    1     1
//   129    3     reserved
//   132    ...   the element stream
//
// Elements of the stream (values 10, 13, 25 and 26 are markers, any other a character):
//   c          the next character of the strings on this branch
//   13 offset  after a character: its next sibling lies this many bytes from the 13
//   10 handle  the characters so far are a stored string, and the branch goes on
//   26 handle  the characters so far are a stored string, and the branch ends
//   25         the terminator; reading past the end of the image reads as one too
// A new sibling is appended before the terminator, so the stream is a sequence of runs, each
// ending with its one 26, and every alternative points forward to the start of a later run.
//
// Two forms. Adding in place would move the rest of the image at every gap and repair the
// offsets of all alternatives that span it, which makes building a large list quadratic.
// Instead, while adding, the image is unpacked: each run has a slot of its own in an arena (the
// list's buffer, header first), alternatives and the jump table hold run numbers, and a table
// gives each run's place. A gap then moves only the rest of its run, and a run that outgrows its
// slot moves to a larger one at the end. Reading the image as a whole (pcco_GetBuffer) packs it
// back into exactly the bytes above. Unpacking checks the structure, so an image loaded from
// outside that adding could not have made is searched and iterated but never added to; reads of
// a loaded image stay within its bytes whatever they are.
//
// Copies share the image and the run table, and a change makes both private first. Searching
// and iterating only read, in either form, so threads may search a list that none of them
// changes; adding and pcco_GetBuffer are for one thread at a time. Nothing is reported to the
// error manager: results say it all.
#pragma once

#include "Basis/Collection/VoidArray.h"
#include "Basis/Platform/Export.h"
#include "System/String/Buffer.h"
#include "System/String/CString.h"
#include "System/String/UString.h"

#include <cstddef>
#include <cstdint>

class CT_EXPORT CT_CompList
{
public:
    enum et_ElementSize
    {
        eo_8Bit = 1,
        eo_16Bit = 2,
        eo_32Bit = 4
    };

    static constexpr unsigned sn_NotFound = 0xFFFFFFFFu;
    static constexpr unsigned sn_HeaderSize = 132; // where the stream starts
    static constexpr unsigned sn_MinGrowth = 128;

    CT_CompList(et_ElementSize eo_ElementSize, unsigned n_HandleSize, int b_EmptyStringSupport,
                int b_LongOffsetSupport, unsigned n_Growth, unsigned n_CodePage);
    explicit CT_CompList(const CT_CompList* pcco_Other);
    // Shares the stored image as it is; see the class comment for images it cannot use.
    explicit CT_CompList(const CT_Buffer* pcco_Buffer);
    CT_CompList(const CT_CompList& co_Other) : CT_CompList(&co_Other) {}
    CT_CompList& operator=(const CT_CompList& co_Other);
    ~CT_CompList() = default;

    void v_Set(et_ElementSize eo_ElementSize, unsigned n_HandleSize, int b_EmptyStringSupport,
               int b_LongOffsetSupport, unsigned n_Growth, unsigned n_CodePage);
    void v_Set(const CT_CompList* pcco_Other);
    void v_Set(const CT_Buffer* pcco_Buffer);

    // 1 when added; 0 when already stored (its handle stays), when empty without empty-string
    // support, or when the list cannot take it: a string holding a marker value (10, 13, 25,
    // 26), a string object of another width than the elements, an image that adding cannot
    // extend, or one that would outgrow its offsets (with 2-byte offsets, past 132 + 64 KiB).
    int b_Add(const CT_CString* pcco_String, unsigned n_Handle);
    int b_Add(const CT_UString* pcco_String, unsigned n_Handle);
    // Raw zero-terminated elements of the list's element size.
    int b_Add(const char* pc_Elements, unsigned n_Handle);
    int b_Add(const char16_t* pu_Elements, unsigned n_Handle);

    // The handle, or sn_NotFound. pn_Length, when not null, receives the number of elements
    // matched: the whole string when it is stored or is only the beginning of stored strings,
    // the string's part up to a branch that ends before it, else 0.
    unsigned n_Search(const CT_CString* pcco_String, unsigned* pn_Length = nullptr) const;
    unsigned n_Search(const CT_UString* pcco_String, unsigned* pn_Length = nullptr) const;
    unsigned n_Search(const char* pc_Elements, unsigned* pn_Length = nullptr) const;
    unsigned n_Search(const char16_t* pu_Elements, unsigned* pn_Length = nullptr) const;
    int b_Search(const CT_CString* pcco_String) const
    {
        return n_Search(pcco_String) != sn_NotFound;
    }
    int b_Search(const CT_UString* pcco_String) const
    {
        return n_Search(pcco_String) != sn_NotFound;
    }
    int b_Search(const char* pc_Elements) const { return n_Search(pc_Elements) != sn_NotFound; }
    int b_Search(const char16_t* pu_Elements) const { return n_Search(pu_Elements) != sn_NotFound; }

    // The header's fields; 0 for an image too short to hold them.
    unsigned n_GetElementSize() const;
    unsigned n_GetHandleSize() const;
    int b_HasEmptyStringSupport() const;
    int b_HasLongOffsetSupport() const;
    int b_IsInNetworkByteOrder() const;
    unsigned n_GetEnd() const;
    unsigned n_GetCodePage() const;
    unsigned n_GetNrOfEntries() const;
    int b_IsEmpty() const { return n_GetEnd() == sn_HeaderSize + n_GetElementSize(); }
    int b_IsChanged() const { return b_Changed; }

    // The packed image, for storing it; null when there is none. A list whose image has been
    // handed out keeps it packed after every later change, so the buffer stays a true image.
    const CT_Buffer* pcco_GetBuffer();

    static void* operator new(std::size_t n_Size);
    static void operator delete(void* pv_Object);

private:
    friend class CT_CompListIterator;

    // Where following a string through the stream stopped.
    enum et_Stop
    {
        eo_Found,     // n_Position: the end marker of the whole string
        eo_Beginning, // the whole string matched, no end marker at n_Position
        eo_BranchEnd, // a final end or the terminator at n_Position, with the string going on
        eo_Mismatch   // the character at n_Position differs and has no alternative
    };
    struct st_Stop
    {
        et_Stop eo_Stop;
        unsigned n_Position;
        unsigned n_Matched; // bytes of the string matched
        unsigned n_Run;     // unpacked: the run holding n_Position
    };
    struct st_View;

    void v_Init(unsigned n_ElementSize, unsigned n_HandleSize, int b_EmptyStringSupport,
                int b_LongOffsetSupport, unsigned n_Growth, unsigned n_CodePage);
    void v_Load(const CT_CompList* pcco_Other);
    void v_Load(const CT_Buffer* pcco_Buffer);
    void v_DropRuns();

    unsigned n_HeaderByte(unsigned n_Offset) const;
    unsigned n_HeaderNumber(unsigned n_Offset) const;
    // A whole header with the magic, native byte order and valid sizes.
    int b_IsUsable() const;
    st_View so_View() const;
    const unsigned char* pcc_Image() const
    {
        return static_cast<const unsigned char*>(co_Buffer.qcv_Get());
    }
    unsigned char* pc_Image() { return static_cast<unsigned char*>(co_Buffer.qv_Get()); }
    // A run of an unpacked image: its size and its slot's size in the arena.
    struct st_Run
    {
        unsigned n_Size, n_Capacity;
    };
    const unsigned* pca_Starts() const { return static_cast<const unsigned*>(co_Starts.qcv_Get()); }
    unsigned* pa_Starts() { return static_cast<unsigned*>(co_Starts.qv_Get()); }
    const st_Run* pca_Runs() const { return static_cast<const st_Run*>(co_Runs.qcv_Get()); }
    st_Run* pa_Runs() { return static_cast<st_Run*>(co_Runs.qv_Get()); }

    unsigned n_StreamStart() const;
    // Where the alternative marker at n_Marker leads (at most the end of the image), and when
    // unpacked which run starts there.
    // O, when not 0, is the offset size known where the call is compiled.
    template <unsigned O>
    unsigned n_Follow(const st_View& so, unsigned n_Marker, unsigned* pn_Run) const;
    unsigned n_StartOf(const st_View& so, unsigned n_FirstElement, unsigned* pn_Run) const;
    st_Stop so_Descend(const st_View& so, const char* pc_String) const;
    // E, O: the element and offset sizes, fixed where the walk is compiled.
    template <unsigned E, unsigned O>
    st_Stop so_DescendAs(const st_View& so, const char* pc_String) const;
    static void sv_SetLength(unsigned* pn_Length, unsigned n_Length);

    // What follows the matched part of a new string: its rest, a final end and the handle.
    struct st_Tail
    {
        const char* pc_Rest;
        unsigned n_RestBytes;
        unsigned n_Handle;
    };

    int b_AddEmpty(unsigned n_Handle);
    int b_Insert(const char* pc_String, std::uint64_t n_Bytes, unsigned n_Handle);
    void v_InsertInnerEnd(const st_Stop& so_Stop, unsigned n_Handle);
    unsigned n_ContinueBranch(const st_Stop& so_Stop, const st_Tail& so_Tail);
    unsigned n_AddSibling(const st_Stop& so_Stop, const st_Tail& so_Tail);
    unsigned n_TailBytes(const st_Tail& so_Tail) const;
    void v_WriteTail(unsigned char* pc, const st_Tail& so_Tail) const;
    unsigned char* pc_OpenInRun(unsigned n_Run, unsigned n_At, unsigned n_Count);
    unsigned char* pc_AppendRun(unsigned n_Size);
    unsigned n_NewSlot(unsigned n_Capacity);
    void v_AddRun(unsigned n_Start, unsigned n_Size, unsigned n_Capacity);
    void v_Grow(unsigned n_Count);

    int b_Unpack();
    void v_Pack();
    int b_CheckStream();
    int b_CheckAlternatives() const;
    void v_ConvertAlternatives(int b_ToRuns);
    template <typename F>
    void v_ForEachAlternative(F f) const;
    unsigned n_RunAt(unsigned n_Position) const;

    // The image: packed, or the arena of an unpacked one.
    CT_Buffer co_Buffer;
    int b_Changed = 0;
    unsigned n_OffsetSize = 2;
    // Unpacked only, in stream order: where each run starts in the arena (apart, since following
    // an alternative reads it), and the runs' sizes (st_Run).
    CT_Buffer co_Starts;
    CT_Buffer co_Runs;
    unsigned n_Runs = 0;
    int b_Unpacked = 0;
    int b_Exposed = 0;
};

// Enumerates the strings of a list. A string comes before the longer strings that begin with
// it, and at every branch the siblings added later before the earlier ones; the empty string
// never comes. The list is not owned: it must outlive the iterator and must not change while it
// is walked (pcco_GetBuffer counts as a change: it may lay the image out anew). A malformed
// image ends the walk early, never reading outside it.
class CT_EXPORT CT_CompListIterator
{
public:
    virtual ~CT_CompListIterator() = default;
    // Restarts on the given list, keeping the storage of the stack.
    virtual void vv_Set(const CT_CompList* pcco_List);

    // The next stored string into pco_Text (converted as the string classes do) and its
    // handle into pn_Handle when that is not null; 0 when the list is exhausted.
    int b_GetNext(CT_String* pco_Text, unsigned* pn_Handle = nullptr);

protected:
    explicit CT_CompListIterator(const CT_CompList* pcco_List);
    CT_CompListIterator(const CT_CompListIterator& co_Other) = default;
    CT_CompListIterator& operator=(const CT_CompListIterator& co_Other) = default;

    virtual const CT_String* vpcco_GetCollectedString() const = 0;
    virtual unsigned vn_PopCharacter() = 0;
    virtual void vv_AppendCharacter(unsigned n_Character) = 0;

private:
    // A branch point still to come back to: the alternative marker, the length of the
    // collected string without the character before it, and that character.
    struct st_Branch
    {
        unsigned n_Marker;
        unsigned n_Length;
        unsigned n_Character;
    };

    void v_Restore(const CT_CompList::st_View& so);

    const CT_CompList* pcco_List;
    unsigned n_Position;
    CT_VoidArray co_Stack; // of st_Branch
    // Stream bytes still to read: a well-formed image is read exactly once, so a malformed one
    // that leads back into itself runs out.
    unsigned n_Budget;
};

// Collects 8-bit strings in the list's code page; a wider element keeps its low byte.
class CT_EXPORT CT_CCompListIterator : public CT_CompListIterator
{
public:
    explicit CT_CCompListIterator(const CT_CompList* pcco_List);
    CT_CCompListIterator(const CT_CCompListIterator& co_Other) = default;
    CT_CCompListIterator& operator=(const CT_CCompListIterator& co_Other) = default;
    void vv_Set(const CT_CompList* pcco_List) override;

private:
    const CT_String* vpcco_GetCollectedString() const override { return &co_Collected; }
    unsigned vn_PopCharacter() override;
    void vv_AppendCharacter(unsigned n_Character) override;

    CT_CString co_Collected;
};

// Collects 16-bit strings; a wider element keeps its low 16 bits.
class CT_EXPORT CT_UCompListIterator : public CT_CompListIterator
{
public:
    explicit CT_UCompListIterator(const CT_CompList* pcco_List);
    CT_UCompListIterator(const CT_UCompListIterator& co_Other) = default;
    CT_UCompListIterator& operator=(const CT_UCompListIterator& co_Other) = default;
    void vv_Set(const CT_CompList* pcco_List) override;

private:
    const CT_String* vpcco_GetCollectedString() const override { return &co_Collected; }
    unsigned vn_PopCharacter() override;
    void vv_AppendCharacter(unsigned n_Character) override;

    CT_UString co_Collected;
};
